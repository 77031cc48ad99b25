#include "app/win32/later_windows.h"

#include "app/win32/not_yet.h"

namespace app {

// Stand-ins until the tray icon, its menu, the autostart rule and the date-time opener are built.
void ShowAutostartPromptIfDue(HWND, const StartOptions&) { NotYet(u"the autostart prompt rule"); }
void AddTrayIcon(HWND) { NotYet(u"the tray icon"); }
void RemoveTrayIcon() {}
void ShowTrayMenu(HWND) { NotYet(u"the tray menu"); }

}  // namespace app
