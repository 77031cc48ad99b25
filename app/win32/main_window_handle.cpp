#include "app/win32/main_window_handle.h"

#include <atomic>

namespace app {

namespace {
std::atomic<HWND> g_mainWindow{nullptr};
}

void SetMainWindowHandle(HWND hwnd) { g_mainWindow.store(hwnd); }
HWND MainWindowHandle() { return g_mainWindow.load(); }

}  // namespace app
