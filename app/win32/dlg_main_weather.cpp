// The calendar window's weather panel fed from the weather worker's shared reports, and its
// refresh button's turning while a refresh runs (weather_panel.h).
#include "app/logic/window_messages.h"
#include "app/win32/dlg_main.h"
#include "app/win32/popup_host.h"
#include "platform/clock.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

void CDlgMain::UpdateWeatherPanel() {
  popups_.RefillWeatherPopup();
  panel_.Show(CurrentWeatherReport(), CurrentAirQualityReport(), Now().wHour);
  if (GetHWND()) ::InvalidateRect(GetHWND(), nullptr, FALSE);
}

void CDlgMain::OnWeatherUpdated() {
  ++weatherUpdates_;
  // An open pop-up is made anew so that it shows the new report.
  bool popupOpen = popups_.IsWeatherPopupOpen();
  ShowWeatherPopup(false);
  if (popupOpen) ShowWeatherPopup(true);
  StopRefreshAnimation();
  UpdateWeatherPanel();
}

void CDlgMain::StartRefreshAnimation() {
  if (panel_.StartRefresh()) SetTimer(app::kTimerRefreshAnim, 40);
}

void CDlgMain::RefreshAnimationStep() {
  RefreshAnimation::Step step = panel_.NextRefreshStep();
  if (step.image.empty()) {  // a step left over after the stop
    KillTimer(app::kTimerRefreshAnim);
    return;
  }
  if (step.fetch) {
    CurrentCity city = GetCurrentCity();
    SwitchCity(city.city, city.province);
  }
}

void CDlgMain::StopRefreshAnimation() {
  KillTimer(app::kTimerRefreshAnim);
  panel_.StopRefresh();
}
