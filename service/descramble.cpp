#include "service/descramble.h"

#include <cstdint>

#include "platform/crypto.h"

namespace {

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string DecodeBase64Prefix(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  uint32_t group = 0;
  int count = 0;
  for (char c : text) {
    const int value = Base64Value(c);
    if (value < 0) break;  // "=" and every foreign character end the data
    group = group << 6 | static_cast<uint32_t>(value);
    if (++count == 4) {
      out += static_cast<char>(group >> 16);
      out += static_cast<char>(group >> 8);
      out += static_cast<char>(group);
      group = 0;
      count = 0;
    }
  }
  if (count == 2) {
    out += static_cast<char>(group >> 4);
  } else if (count == 3) {
    out += static_cast<char>(group >> 10);
    out += static_cast<char>(group >> 2);
  }
  return out;
}

std::string DescrambleText(std::string_view text) {
  std::string bytes = DecodeBase64Prefix(text);
  if (bytes.empty()) return {};
  Sha256Digest key;
  if (!Sha256(kScrambleKeyText, key)) return {};
  if (!Rc4Apply(std::string_view(reinterpret_cast<const char*>(key.data()), key.size()), bytes)) return {};
  return bytes;
}
