#pragma once
// Where the running program lives. Paths are UTF-16; directories end with the path separator
// ('\' on Windows, '/' elsewhere).
#include <string>
#include <string_view>

#ifdef _WIN32
constexpr char16_t kPathSeparator = u'\\';
#else
constexpr char16_t kPathSeparator = u'/';
#endif

// Full path of the running executable.
std::u16string ExecutablePath();
// Directory of the running executable with its trailing separator; created level by level
// when it does not exist.
std::u16string ProgramDirectory();
// File name of the running executable, with extension.
std::u16string ExecutableFileName();
// The computer's name (at most 15 characters).
std::u16string ComputerName();
