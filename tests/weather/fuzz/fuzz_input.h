#pragma once
// Fuzzer input as page text: the bytes decoded in the page's code page, and, so that characters
// no decoder would produce are tried too, read directly as UTF-16 code units.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text_codec.h"

inline std::u16string RawUtf16(const uint8_t* data, size_t size) {
  std::u16string out(size / 2, u'\0');
  if (!out.empty()) std::memcpy(out.data(), data, out.size() * 2);
  return out;
}

inline std::u16string Decoded(const uint8_t* data, size_t size, unsigned codePage) {
  return ToWide(std::string_view(reinterpret_cast<const char*>(data), size), codePage);
}
