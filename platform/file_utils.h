#pragma once
// Files, directories and the command line.
#include <string>
#include <string_view>
#include <vector>

// Splits a command line: blanks end a token outside double quotes, double quotes open and close
// quoted parts and belong to no token, empty tokens are dropped.
std::vector<std::u16string> CommandLineTokens(std::u16string_view commandLine);
// The running program's own command line, as one text.
std::u16string ProgramCommandLine();

// Creates every missing level of directory (either separator accepted); true when it exists after.
bool CreateDirectoryLevels(std::u16string_view directory);
bool FileExists(std::u16string_view path);
// The file's bytes as they are; false when it cannot be read.
bool ReadWholeFile(std::u16string_view path, std::string& bytes);
// Whole file as narrow text: a UTF-8 byte-order mark is dropped, a UTF-16LE one makes the file be
// converted to the ANSI code page; empty when the file is missing.
std::string ReadTextFile(std::u16string_view path);
// Creates or replaces the file with bytes; true on success.
bool WriteWholeFile(std::u16string_view path, std::string_view bytes);
// Appends bytes to the file, creating it (and writing prefixWhenNew first) when it is new.
bool AppendToFile(std::u16string_view path, std::string_view bytes, std::string_view prefixWhenNew = {});
// Each of these is true when it succeeded; otherwise, with reason given, it says why in the
// system's words.
// Deletes the file; true also when there was none.
bool RemoveFile(std::u16string_view path, std::u16string* reason = nullptr);
// Gives the file the name to, in one step, replacing a file of that name.
bool MoveFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason = nullptr);
// Copies the file to to, replacing a file of that name.
bool CopyFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason = nullptr);
// The file's size in bytes; -1 when it cannot be read.
long long FileSize(std::u16string_view path);
// "%d.%d.%d.%d" of the file's version information; "0.0.0.0" when it has none.
std::u16string FileVersionText(std::u16string_view path);
