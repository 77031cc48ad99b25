#include "platform/file_utils.h"

#include "platform/text_codec.h"

std::vector<std::u16string> CommandLineTokens(std::u16string_view commandLine) {
  std::vector<std::u16string> tokens;
  std::u16string current;
  bool quoted = false;
  for (char16_t c : commandLine) {
    if (c == u'"') {
      quoted = !quoted;
    } else if (c == u' ' && !quoted) {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  return tokens;
}

std::string ReadTextFile(std::u16string_view path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return {};
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
    std::u16string wide((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i) {
      wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                      static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    }
    return ToNarrow(wide, kCodePageAnsi);
  }
  return bytes;
}
