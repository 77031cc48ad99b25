#pragma once
// The console edge of tvcal: UTF-8 text to standard output and standard error.
// POSIX writes the bytes. Windows sets the console output code page to UTF-8, writes to a
// console with WriteConsoleW (so CJK text shows whatever the code page) and writes the bytes
// unchanged to a pipe or file.
#include <string>
#include <string_view>
#include <vector>

enum class Stream { kOut, kErr };

// Once at start-up.
void PrepareConsole();
// True when the stream is an interactive terminal that understands ANSI colour sequences.
bool IsColorTerminal(Stream stream);
// Writes UTF-8 text.
void WriteText(Stream stream, std::string_view utf8);

// The arguments after the program name as UTF-8. Windows reads them from the wide command line
// (argv holds the ANSI code page, which loses CJK text such as a solar-term name).
std::vector<std::string> Utf8Arguments(int argc, char** argv);
