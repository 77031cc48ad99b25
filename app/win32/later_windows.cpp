#include "app/win32/later_windows.h"

#include <mutex>
#include <set>
#include <string>

#include "platform/log.h"

namespace app {

namespace {
// One log line per entry point and run.
void NotYet(const char16_t* what) {
  static std::mutex lock;
  static std::set<std::u16string> said;
  std::lock_guard<std::mutex> guard(lock);
  if (!said.insert(what).second) return;
  LogError(std::u16string(u"app: ") + what + u" is not available in this build");
}
}  // namespace

void ShowWeatherPopup(HWND, bool show) {
  if (show) NotYet(u"the seven-day weather pop-up");
}
bool IsWeatherPopupOpen() { return false; }
void OpenCityPicker(HWND) { NotYet(u"the city picker"); }
bool IsCityPickerVisible() { return false; }
void OpenSettings(HWND) { NotYet(u"the settings window"); }
void OpenSkinChooser(HWND) { NotYet(u"the skin chooser"); }
void OpenAbout(HWND) { NotYet(u"the about window"); }
void ShowAutostartPrompt(HWND, bool) { NotYet(u"the autostart prompt"); }
void ShowAutostartPromptIfDue(HWND, const StartOptions&) { NotYet(u"the autostart prompt rule"); }
void HideDialogs() {}
void HideAllPopups() {}
void ApplySavedSkin(HWND) { NotYet(u"skin switching"); }
void PreviewSkin(HWND, int) { NotYet(u"skin preview"); }
void ApplyAndStoreSkin(HWND, int) { NotYet(u"skin switching"); }
void AddTrayIcon(HWND) { NotYet(u"the tray icon"); }
void RemoveTrayIcon() {}
void ShowTrayMenu(HWND) { NotYet(u"the tray menu"); }
void StartClockHook() { NotYet(u"the taskbar clock hook"); }
void StopClockHook() {}
void StartStatisticsWorker(HWND) { NotYet(u"the statistics worker"); }
void OpenDateTimeSettings() { NotYet(u"the date and time settings"); }

}  // namespace app
