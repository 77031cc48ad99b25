#pragma once
// The program's contacts with the rest of the system that are not windows: the autostart entry,
// the date and time settings, the default web browser and starting other programs.
// All run on the calling thread; nothing here shows a window of its own. Every failure is logged
// once where it happens. The system calls behind them are in launch_system.h.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_time.h"

// --- Autostart ---

// The current user's Run value "tavrino" (under Software\Microsoft\Windows\CurrentVersion\Run).
inline constexpr const char16_t* kAutostartValueName = u"tavrino";
// True when the current user's autostart entry "tavrino" names this program's executable
// (letter case ignored); an entry naming another copy of the program does not count.
bool IsAutostartRegistered();
// Writes (on) or deletes (off) the autostart entry; the result is the success of the registry
// call (the Run key is never created; deleting an absent entry fails).
bool SetAutostart(bool on);
// True when the periodic autostart prompt is due (not registered and "lastconfirm" missing,
// malformed or more than two whole days old); stamps "lastconfirm" with the local time when true.
bool IsAutostartPromptDue();
// True when the program was started by its autostart entry: a token of its command line, trimmed,
// equals "-autostart".
bool StartedByAutostart();

// --- Date and time settings, browser, processes ---

// Opens the system's date and time settings; reports nothing.
void OpenDateTimeSettings();
// Path of the default web browser's executable, or empty. Asked in this order: the user's own
// choice for http, the classes' http, htmlfile and internet-shortcut open commands, then
// Internet Explorer on the system drive; the first whose program file exists wins.
std::u16string FindDefaultBrowser();
// Opens url in the default browser as one argument; does nothing (logged) when there is none.
void OpenUrlInBrowser(std::u16string_view url);
// Starts path with arguments (the command line is `"path" arguments`, UTF-16) on the interactive
// desktop; noWindow keeps a console program's window away. True when the process started.
bool LaunchProcess(std::u16string_view path, std::u16string_view arguments, bool noWindow);
// The window handle companion programs receive (the main window's); 0 until start-up sets it.
void SetCompanionWindow(uint64_t handle);
// Starts the updater "tvupdate.exe" beside the program with the companion window handle as its
// argument; nothing when either is missing. Callable from any thread.
void LaunchUpdater();

// --- The rules themselves (portable; used above and by tests) ---

// The Run value's data: a double quote, the path, `" -autostart`.
std::u16string AutostartCommand(std::u16string_view executablePath);
// True when the entry text names the executable path, letter case ignored; false for an empty text.
bool AutostartEntryNames(std::u16string_view entryText, std::u16string_view executablePath);
// True when the prompt is due for this "lastconfirm" text at local time now: the text does not
// parse as a date, or lies more than two whole days before today.
bool AutostartPromptDueAt(std::u16string_view lastConfirm, const SystemTime& now);
bool HasAutostartToken(const std::vector<std::u16string>& tokens);
// A window handle as companion programs receive it: 8 lower-case hexadecimal digits.
std::u16string WindowHandleText(uint64_t handle);
// One argument quoted so that a program's standard command-line parsing reads it back unchanged
// (blanks, double quotes and backslashes before them included).
std::u16string QuoteArgument(std::u16string_view argument);
// `"path" arguments`, cut to the system's 32767-character limit.
std::u16string ProcessCommandLine(std::u16string_view path, std::u16string_view arguments);
inline constexpr size_t kMaxCommandLine = 32767;
// The first token of a registered open command (blanks split, double quotes group).
std::u16string CommandProgram(std::u16string_view command);
// rundll32's parameters that open timedate.cpl of the Windows directory.
std::u16string DateTimeSettingsParameters(std::u16string_view windowsDirectory);
// Internet Explorer on the drive of the system directory.
std::u16string BrowserFallbackPath(std::u16string_view systemDirectory);
