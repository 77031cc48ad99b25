#include "app/win32/main_window_handle.h"

#include <atomic>
#include <cstdint>

#include "platform/launch.h"

namespace app {

namespace {
std::atomic<HWND> g_mainWindow{nullptr};
}

void SetMainWindowHandle(HWND hwnd) {
  g_mainWindow.store(hwnd);
  // Companion programs started by the platform layer (the updater) receive this window.
  SetCompanionWindow(reinterpret_cast<uintptr_t>(hwnd));
}
HWND MainWindowHandle() { return g_mainWindow.load(); }

}  // namespace app
