#pragma once
// The copy-data exchange with companion programs (the note program, the updater): what an
// incoming block asks for and the block to answer with.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CompanionAction {
  bool ignore = true;
  bool rememberPeer = false;    // type 1: the peer's window handle
  uint32_t peer = 0;
  bool reply = false;           // answer the peer with `replyBlock`
  std::vector<uint8_t> replyBlock;
  bool cityChanged = false;     // type 5 with value 1
};

// The reply block: a 32-bit type code, then UTF-16 text and a terminating zero character.
std::vector<uint8_t> CompanionBlock(uint32_t type, std::u16string_view text);

// The largest block the exchange has any use for: the replies carry a version and an address
// (4 + 2 * 4000 bytes at the very most); what comes in is 8 bytes. Larger blocks are ignored.
inline constexpr size_t kLargestCompanionBlock = 8192;

// Decides on an incoming block. Nothing is done while the updater's URL list is empty
// (`updateUrl` empty); blocks shorter than 4 bytes, and types 1, 3 and 5 without their 32-bit
// value, are ignored, and so are blocks larger than kLargestCompanionBlock. `version` is the program's file version ("1.0.0.1").
CompanionAction DecideCompanionAction(const uint8_t* data, size_t size, std::u16string_view version,
                                      std::u16string_view updateUrl);

// What the system tells of a window that a block names as the peer or that sent a block.
struct PeerWindow {
  bool exists = false;         // it is (still) a window
  bool ownProcess = false;     // a window of this very program
  bool startedByUs = false;    // its process was started by this program
  std::u16string programPath;  // its process's program file; empty when that cannot be told
};

// Who may be a peer: an existing window of another process that this program started, or whose
// program file lies directly in the program's folder `programDirectory` (ending with a separator),
// as the note program and the updater do. Letter case and the kind of slash do not matter.
bool MayBePeer(const PeerWindow& window, std::u16string_view programDirectory);

// The peer remembered across blocks, and the window each reply goes to.
class CompanionPeers {
 public:
  using Inspect = std::function<PeerWindow(uint64_t window)>;
  CompanionPeers(std::u16string programDirectory, Inspect inspect);

  // Type 1 names the peer: it is remembered when it may be a peer (a handle of 0 forgets the peer)
  // and answered. Any other reply goes to the block's sender when it may be a peer, else to the
  // remembered peer while that still may be one; a remembered peer that no longer may (its window
  // is gone) is forgotten. Returns the window to answer, 0 for none (always 0 without a reply).
  uint64_t Take(const CompanionAction& action, uint64_t sender);
  // A window that did not take its reply in time: it is no longer the peer.
  void Forget(uint64_t window);
  uint64_t Remembered() const { return peer_; }

 private:
  bool Allowed(uint64_t window) const;

  std::u16string programDirectory_;
  Inspect inspect_;
  uint64_t peer_ = 0;
};
