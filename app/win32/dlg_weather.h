#pragma once
// CDlgWeather: the seven-day weather pop-up beside the main window ("DlgWeather.xml", 196 x 205,
// forecast items from "sevendays.xml"). It shows today's condition, city, temperature and air
// quality, a strip for today, tomorrow and the day after, and a link to the forecast page of the
// current city. What it shows is decided by MakeWeatherPopupView (app/logic); the main window
// opens, places and closes it through the functions below.
#include <string>

#include "app/logic/placement.h"
#include "ui/win32/window_impl_base.h"
#include "weather/weather_report.h"

class CDlgWeather : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CDlgWeather"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"DlgWeather.xml"; }
  LRESULT ResponseDefaultKeyEvent(WPARAM) override { return 0; }
  void InitWindow() override;
  void OnClick(tvui::Notification& msg) override;
  void OnTimer(tvui::Notification& msg) override;
  tvui::MessageResult MessageHandler(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                      bool& handled) override;
  void OnFinalMessage(HWND hwnd) override;

  // Fills every control from a copy of the report and the current air quality; each run rebuilds
  // the forecast strip.
  void Populate(const WeatherReport& report);
  // Shows the window and raises its opacity from 0 to full over a second without blocking.
  void FadeIn();
  // The "weather" background in the active skin's colour.
  void UseActiveSkin();

  const WeatherReport& Report() const { return report_; }

 private:
  void SetFadeAlpha(int alpha);

  WeatherReport report_;
  tvui::Rect airSkinPos_;
  uint32_t airSkinText_ = 0;
  int fadeStep_ = 0;
};

namespace app {

// Opens the pop-up over the screen rectangle `at` (device pixels; creating and filling it), unless
// the autostart prompt or the city picker is up; an existing pop-up is moved there and shown again.
void OpenWeatherPopup(const tvui::Rect& at);
// Closes and releases the pop-up, if any.
void CloseWeatherPopup();
// Hands an existing pop-up the current report again.
void RefillWeatherPopup();
// Hides the pop-up without closing it.
void HideWeatherPopup();
// The pop-up exists and is on screen.
bool IsWeatherPopupOpen();
// How often a pop-up was filled, and the page "moreweather" last opened (read by the test hook).
int WeatherPopupFills();
const std::u16string& LastForecastUrl();
// The pop-up's window object while its window exists, else nullptr.
CDlgWeather* WeatherPopupWindow();

}  // namespace app
