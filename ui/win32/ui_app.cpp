#include "ui/win32/ui_app.h"

#include <commctrl.h>

#include "platform/win32/message_loop_waits.h"
#include "ui/win32/gdiplus_session.h"

namespace tvui {

namespace {
HINSTANCE g_instance = nullptr;
std::u16string g_resourcePath;
}  // namespace

void UiApp::SetInstance(HINSTANCE instance) {
  g_instance = instance;
  EnsureGdiplus();
}

void UiApp::EnsureCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
}

HINSTANCE UiApp::GetInstance() {
  if (!g_instance) g_instance = GetModuleHandleW(nullptr);
  return g_instance;
}

std::u16string UiApp::GetInstancePath() {
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD n = GetModuleFileNameW(GetInstance(), buffer, static_cast<DWORD>(std::size(buffer)));
  std::u16string path = FromWide(n ? buffer : L"");
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}

void UiApp::SetResourcePath(std::u16string path) {
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  g_resourcePath = std::move(path);
}

std::u16string UiApp::GetResourcePath() {
  return g_resourcePath.empty() ? GetInstancePath() : g_resourcePath;
}

// The loop serves the waits added on this thread (platform/win32/message_loop_waits.h), the
// clock's click events among them. The system's modal loops (a window being dragged, a message
// box) do not: an auto-reset event stays set meanwhile and is served right after.
int UiApp::MessageLoop() { return RunMessageLoop(); }

bool UiApp::PumpPending() { return PumpMessagesAndWaits(); }

}  // namespace tvui
