#include "app/win32/later_windows.h"

#include "app/win32/not_yet.h"

namespace app {

// Stand-ins until the seven-day weather pop-up and the city picker are built.
void ShowWeatherPopup(HWND, bool show) {
  if (show) NotYet(u"the seven-day weather pop-up");
}
bool IsWeatherPopupOpen() { return false; }
void OpenCityPicker(HWND) { NotYet(u"the city picker"); }
bool IsCityPickerVisible() { return false; }

}  // namespace app
