#pragma once
// A line for the debugger (OutputDebugString on Windows, standard error elsewhere).
#include <string_view>

void DebugOutput(std::string_view text);
