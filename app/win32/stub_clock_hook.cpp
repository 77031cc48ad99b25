#include "app/win32/later_windows.h"

#include "app/win32/not_yet.h"

namespace app {

// Stand-ins until the taskbar clock hook is built.
void StartClockHook() { NotYet(u"the taskbar clock hook"); }
void StopClockHook() {}

}  // namespace app
