#pragma once
// What the main window's weather panel shows for the shared reports, and the refresh button's
// animation, decided without windows.
#include <cstdint>
#include <string>
#include <string_view>

#include "weather/weather_report.h"

struct AirBadge {
  std::u16string text;          // empty when no air-quality data is known
  bool styled = false;          // false: keep the label's colour and position
  uint32_t background = 0;      // ARGB
  bool blackText = false;       // 严重污染 sets the text colour 0
  int left = 0, top = 0, right = 0, bottom = 0;
};
// The "airQuality" label: " 空气质量 L" for a one-character level, " L V" otherwise; each level's
// colour and place in the main window's skin.
AirBadge MakeAirBadge(const AirQualityReport& air);

// Badge look of an air-quality level word: its colour, whether the badge is the wide one (the
// four-character levels) and whether the text turns black (严重污染). nullptr for any other word.
struct AirLevelStyle {
  std::u16string_view level;
  uint32_t background;  // ARGB
  bool wide;
  bool blackText;
};
const AirLevelStyle* FindAirLevelStyle(std::u16string_view level);
// Gives a badge its level's colour and place (the right edge of the narrow or the wide badge);
// a word without a look leaves it unstyled.
void StyleAirBadge(AirBadge& badge, std::u16string_view level, const AirBadge& narrowPlace, int wideRight);

// The air-quality label's look in the skin; the badge returns to it whenever a level has no
// colour of its own, so that one report's look never outlives the report.
struct AirLabelLook {
  uint32_t textColor = 0xffffffff;
  int left = 122, top = 93, right = 192, bottom = 111;
};

struct WeatherPanelView {
  std::u16string icon;         // background image of "weather"; empty without any weather
  std::u16string toolTip;      // the condition, the wind after a blank when it is known, then the
                               // source after " · " ("多云 东风3级 · 来源 Open-Meteo")
  std::u16string temperature;  // "temperature"; empty when unknown or garbled
  // "天气暂不可用" when the report has no weather (no source answered), empty otherwise. The
  // "airQuality" label then shows it in the skin's look (an air badge gives way: the pop-up still
  // has it), and the icon's tool tip says it.
  std::u16string notice;
  std::u16string airText;      // "airQuality"; empty when no level is known
  uint32_t airBackground = 0;  // 0: none
  uint32_t airTextColor = 0;
  int airLeft = 0, airTop = 0, airRight = 0, airBottom = 0;
};

WeatherPanelView MakeWeatherPanelView(const WeatherReport& report, const AirQualityReport& air,
                                      int localHour, const AirLabelLook& skin);

// The refresh button's frames r0.png … r23.png, stepped every 40 ms from a start until the
// weather update arrives. The 48th step starts the fetch (the button's circle has turned twice
// by then); a worker that never answers gets the request again every 10001 steps after it.
class RefreshAnimation {
 public:
  static constexpr int kFrames = 24;
  static constexpr int kFetchStep = 48;
  static constexpr int kWrap = 10000;

  // True when the step timer has to be started (false while it already runs).
  bool Start();
  struct Step {
    std::u16string image;  // the frame to show
    bool fetch = false;    // start the weather fetch now
  };
  Step Next();
  // The update arrived: back to rest. Returns the resting frame.
  std::u16string Stop();
  bool Running() const { return running_; }
  int Frame() const { return frame_; }

 private:
  bool running_ = false;
  int frame_ = 0;  // the frame the next step shows
  int ticks_ = 0;  // steps since the start, wrapping after kWrap
};
