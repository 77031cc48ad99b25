// The main window's weather panel and its refresh button: the icon, temperature and air-quality
// badge from the weather worker's shared reports, and the turning button while a refresh runs.
#include "app/logic/window_messages.h"
#include "app/win32/dlg_main.h"
#include "app/win32/popup_host.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

void CDlgMain::UpdateWeatherPanel() {
  popups_.RefillWeatherPopup();
  WeatherReport report = CurrentWeatherReport();
  AirQualityReport air = CurrentAirQualityReport();
  WeatherPanelView view = MakeWeatherPanelView(report, air, Now().wHour, airSkin_);
  if (weather_) {
    weather_->SetBkImage(view.icon);
    weather_->SetToolTip(view.toolTip);
  }
  if (temperature_) temperature_->SetText(view.temperature);
  if (airQuality_) {
    airQuality_->SetToolTip({});
    airQuality_->SetText(view.airText);
    // An empty badge has no colour: a bare coloured pill would read as a level.
    airQuality_->SetBkColor(view.airText.empty() ? 0 : view.airBackground);
    airQuality_->SetTextColor(view.airTextColor);
    tvui::Rect pos{view.airLeft, view.airTop, view.airRight, view.airBottom};
    const tvui::Rect& now = airQuality_->GetFloatPos();
    if (now.left != pos.left || now.top != pos.top || now.right != pos.right || now.bottom != pos.bottom) {
      airQuality_->SetPos(pos);
    }
  }
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
  if (refreshAnim_.Start()) SetTimer(app::kTimerRefreshAnim, 40);
}

void CDlgMain::RefreshAnimationStep() {
  RefreshAnimation::Step step = refreshAnim_.Next();
  if (step.image.empty()) {  // a step left over after the stop
    KillTimer(app::kTimerRefreshAnim);
    return;
  }
  if (refresh_) refresh_->SetBkImage(step.image);
  if (step.fetch) {
    CurrentCity city = GetCurrentCity();
    SwitchCity(city.city, city.province);
  }
}

void CDlgMain::StopRefreshAnimation() {
  KillTimer(app::kTimerRefreshAnim);
  std::u16string rest = refreshAnim_.Stop();
  if (refresh_) refresh_->SetBkImage(rest);
}
