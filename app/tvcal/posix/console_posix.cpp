#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/tvcal/console.h"

namespace {
FILE* FileOf(Stream stream) { return stream == Stream::kOut ? stdout : stderr; }
}  // namespace

void PrepareConsole() {}

bool IsColorTerminal(Stream stream) {
  const char* term = std::getenv("TERM");
  return isatty(fileno(FileOf(stream))) && !(term && std::string_view(term) == "dumb");
}

void WriteText(Stream stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), FileOf(stream));
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
