#pragma once
// CDlgWeather: the seven-day weather pop-up beside the main window ("DlgWeather.xml", 196 x 205,
// forecast items from "sevendays.xml"). It shows today's condition, city, temperature and air
// quality, a strip for today, tomorrow and the day after, and a link to the forecast page of the
// current city. What it shows is decided by MakeWeatherPopupView (app/logic); the pop-up host
// (popup_host.h) makes, places and closes it.
#include <string>

#include "app/logic/placement.h"
#include "ui/win32/window_impl_base.h"
#include "weather/weather_report.h"

class CDlgWeather : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CDlgWeather"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"DlgWeather.xml"; }
  void InitWindow() override;
  void OnClick(tvui::Notification& msg) override;
  void OnTimer(tvui::Notification& msg) override;
  // The pointer leaving the pop-up hides it.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;

  // Fills every control from a copy of the report and the current air quality; each run rebuilds
  // the forecast strip.
  void Populate(const WeatherReport& report);
  // Shows the window and raises its opacity from 0 to full over a second without blocking.
  void FadeIn();
  // The "weather" background in the active skin's colour.
  void UseSkin(const std::u16string& image);

  const WeatherReport& Report() const { return report_; }
  // The window's "wxpop.…" lines of the state text, from its place on (dlg_weather_state.cpp).
  std::u16string DescribeForTest() const;

 private:
  void SetFadeAlpha(int alpha);

  WeatherReport report_;
  tvui::Rect airSkinPos_;
  uint32_t airSkinText_ = 0;
  int fadeStep_ = 0;
};

namespace app {

// How often a pop-up was filled, and the page "moreweather" last opened (read by the test hook).
int WeatherPopupFills();
const std::u16string& LastForecastUrl();

}  // namespace app
