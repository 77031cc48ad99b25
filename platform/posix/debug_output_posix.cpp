#include <cstdio>

#include "platform/debug_output.h"

void DebugOutput(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}
