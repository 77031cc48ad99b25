#pragma once
// The "note" button: starts the note program beside this one, handing it the main window.
#include <windows.h>

namespace app {

// Whether "TVNote.exe" stands in the program's directory.
bool NoteProgramInstalled();
// Starts "TVNote.exe" from the program's directory with the window handle as 8 lower-case
// hexadecimal digits; nothing when the file is absent. False when it was not started.
bool LaunchNote(HWND mainWindow);

}  // namespace app
