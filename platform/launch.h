#pragma once
// The program's contacts with the rest of the system that are not windows: the autostart entry,
// the date and time settings, the default web browser and starting other programs.
// All run on the calling thread; nothing here shows a window of its own.
#include <cstdint>
#include <string>
#include <string_view>

// True when the current user's autostart entry "tavrino" names this program's executable.
bool IsAutostartRegistered();
// Writes (on) or deletes (off) the autostart entry; the result is the success of the registry call.
bool SetAutostart(bool on);
// True when the periodic autostart prompt is due (not registered and "lastconfirm" missing,
// malformed or more than two whole days old); stamps "lastconfirm" with the local time when true.
bool IsAutostartPromptDue();

// Opens the system's date and time settings; reports nothing.
void OpenDateTimeSettings();
// Path of the default web browser's executable, or empty.
std::u16string FindDefaultBrowser();
// Opens url in the default browser; does nothing when there is none.
void OpenUrlInBrowser(std::u16string_view url);
// Starts path with arguments on the interactive desktop; true when the process started.
bool LaunchProcess(std::u16string_view path, std::u16string_view arguments, bool noWindow);
// Starts the updater "tvupdate.exe" beside the program with the main window's handle.
void LaunchUpdater();
