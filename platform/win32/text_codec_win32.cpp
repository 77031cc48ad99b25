#include "platform/text_codec.h"

#include <windows.h>

std::u16string ToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string ToNarrow(std::u16string_view text, unsigned codePage) {
  if (text.empty()) return {};
  auto* src = reinterpret_cast<const wchar_t*>(text.data());
  int n = WideCharToMultiByte(codePage, 0, src, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, src, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}
