#include "app/logic/companion_exchange.h"

#include <cstring>
#include <utility>

#include "platform/text_utils.h"

namespace {
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
void Append32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> CompanionBlock(uint32_t type, std::u16string_view text) {
  std::vector<uint8_t> out;
  Append32(out, type);
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

CompanionAction DecideCompanionAction(const uint8_t* data, size_t size, std::u16string_view version,
                                      std::u16string_view updateUrl) {
  CompanionAction a;
  if (updateUrl.empty() || !data || size < 4 || size > kLargestCompanionBlock) return a;
  uint32_t type = Read32(data);
  bool hasValue = size >= 8;
  uint32_t value = hasValue ? Read32(data + 4) : 0;
  std::u16string offer = std::u16string(version) + u"|" + std::u16string(updateUrl);
  switch (type) {
    case 1:
      if (!hasValue) return a;
      a.ignore = false;
      a.rememberPeer = true;
      a.peer = value;
      if (value != 0) {
        a.reply = true;
        a.replyBlock = CompanionBlock(2, offer);
      }
      return a;
    case 3:
      if (!hasValue) return a;
      a.ignore = false;
      a.reply = true;
      if (value != 0) {
        a.replyBlock = CompanionBlock(4, offer);
      } else {
        a.replyBlock = CompanionBlock(7, u"");
        a.replyBlock.resize(8, 0);  // the type and four zero bytes
      }
      return a;
    case 5:
      if (!hasValue) return a;
      a.ignore = false;
      a.cityChanged = value == 1;
      return a;
    default:
      return a;
  }
}

namespace {
std::u16string FolderKey(std::u16string_view path) {
  std::u16string key = LowerAsciiText(path);
  for (char16_t& c : key) {
    if (c == u'/') c = u'\\';
  }
  return key;
}
}  // namespace

bool MayBePeer(const PeerWindow& window, std::u16string_view programDirectory) {
  if (!window.exists || window.ownProcess) return false;
  if (window.startedByUs) return true;
  const std::u16string program = FolderKey(window.programPath);
  const size_t slash = program.rfind(u'\\');
  if (slash == std::u16string::npos || programDirectory.empty()) return false;
  std::u16string folder = FolderKey(programDirectory);
  if (folder.back() != u'\\') folder += u'\\';
  return program.substr(0, slash + 1) == folder;
}

CompanionPeers::CompanionPeers(std::u16string programDirectory, Inspect inspect)
    : programDirectory_(std::move(programDirectory)), inspect_(std::move(inspect)) {}

bool CompanionPeers::Allowed(uint64_t window) const {
  return window != 0 && inspect_ && MayBePeer(inspect_(window), programDirectory_);
}

uint64_t CompanionPeers::Take(const CompanionAction& action, uint64_t sender) {
  if (action.ignore) return 0;
  if (action.rememberPeer) {
    if (action.peer == 0) {
      peer_ = 0;
      return 0;
    }
    if (!Allowed(action.peer)) return 0;
    peer_ = action.peer;
    return action.reply ? peer_ : 0;
  }
  if (!action.reply) return 0;
  if (Allowed(sender)) return sender;
  if (peer_ != 0 && !Allowed(peer_)) peer_ = 0;
  return peer_;
}

void CompanionPeers::Forget(uint64_t window) {
  if (window == peer_) peer_ = 0;
}
