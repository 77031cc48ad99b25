// The autostart prompt at start-up: the installer's, or the periodic one when it is due.
#include <atomic>

#include "app/logic/tray_rules.h"
#include "app/win32/entry_points.h"
#include "app/win32/popup_host.h"
#include "platform/launch.h"

namespace app {

namespace {
std::atomic<int> g_promptsShown{0};
}

void ShowAutostartPromptIfDue(PopupHost& popups, const StartOptions& options) {
  if (!ShowAutostartPromptAtStart(IsAutostartRegistered(), options, [] { return IsAutostartPromptDue(); })) return;
  ++g_promptsShown;
  popups.ShowAutostartPrompt(true);
}

int AutostartPromptsShown() { return g_promptsShown.load(); }

}  // namespace app
