#pragma once
// Where the running program lives. Paths are UTF-16; directories end with the path separator
// ('\' on Windows, '/' elsewhere).
#include <string>
#include <string_view>

#ifdef _WIN32
constexpr char16_t kPathSeparator = u'\\';
constexpr std::u16string_view kPathSeparators = u"\\/";  // Windows takes either
#else
constexpr char16_t kPathSeparator = u'/';
constexpr std::u16string_view kPathSeparators = u"/";
#endif

// Full path of the running executable (edge-specific); empty when the system cannot say.
std::u16string ExecutablePath();
// Directory of the running executable with its trailing separator; created level by level
// when it does not exist.
std::u16string ProgramDirectory();
// File name of the running executable, with extension.
std::u16string ExecutableFileName();
// The computer's name (at most 15 characters; edge-specific).
std::u16string ComputerName();
