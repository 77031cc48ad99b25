#include "app/win32/later_windows.h"

#include "app/win32/not_yet.h"

namespace app {

// Stand-in until the statistics worker is built.
void StartStatisticsWorker(HWND) { NotYet(u"the statistics worker"); }

}  // namespace app
