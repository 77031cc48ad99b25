#include "app/win32/entry_points.h"

#include "app/win32/dlg_city.h"
#include "app/win32/dlg_weather.h"

namespace app {

// Hides every pop-up of the main window.
void HideAllPopups() {
  HideDialogs();
  HideSkinChooser();
  HideWeatherPopup();
  HideCityPicker();
  HideReminders();
}

}  // namespace app
