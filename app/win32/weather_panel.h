#pragma once
// WeatherPanel: the calendar window's weather panel: the icon ("weather", whose pop-up the window
// opens), the temperature, the air-quality badge ("airQuality") and the refresh button with its
// turning frames while a refresh runs. The window feeds it the shared reports and the timer.
#include <string>

#include "app/logic/weather_panel_view.h"

namespace tvui {
class Control;
class WindowImplBase;
}

class WeatherPanel {
 public:
  // Finds the panel's controls in the window's skin (any of them may be missing) and keeps the
  // badge's look as the skin has it.
  void Attach(const tvui::WindowImplBase& window);
  tvui::Control* Icon() const { return weather_; }
  tvui::Control* Temperature() const { return temperature_; }
  tvui::Control* AirQuality() const { return airQuality_; }

  // Today's weather and air quality at the local hour (the icon's day or night picture).
  void Show(const WeatherReport& report, const AirQualityReport& air, int hour);

  // The refresh button's animation: true when its step timer has to be started; each step shows
  // its frame (an empty image: a step left over after the stop); the stop shows the resting one.
  bool StartRefresh() { return refreshAnim_.Start(); }
  RefreshAnimation::Step NextRefreshStep();
  void StopRefresh();

  // The "weather.pos", "weather", "temperature", "air" and "refresh" lines of the state text.
  std::u16string DescribeForTest() const;

 private:
  tvui::Control* weather_ = nullptr;
  tvui::Control* temperature_ = nullptr;
  tvui::Control* airQuality_ = nullptr;
  tvui::Control* refresh_ = nullptr;
  RefreshAnimation refreshAnim_;
  AirLabelLook airSkin_;  // the air-quality label as the skin has it
};
