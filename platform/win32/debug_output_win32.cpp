#include <windows.h>

#include <string>

#include "platform/debug_output.h"

void DebugOutput(std::string_view text) {
  std::string line(text);
  line += "\n";
  OutputDebugStringA(line.c_str());
}
