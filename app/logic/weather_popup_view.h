#pragma once
// What the seven-day weather pop-up shows for one report, where it stands and which page its
// "moreweather" link opens, decided without windows.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/logic/placement.h"
#include "app/logic/weather_panel_view.h"
#include "weather/weather_report.h"

inline constexpr int kWeatherPopupWidth = 196;
inline constexpr int kWeatherPopupHeight = 205;

// One item of the forecast strip ("sevendays.xml"). The icon is never empty: an item without a
// picture (no data, or a condition without one such as 多云转晴) shows the 晴 picture with the
// text "晴".
struct ForecastItemView {
  std::u16string dayLabel;     // "LabDay": 今天, 明天, 后天, or empty
  std::u16string icon;         // "LabWeather"'s background, a small day picture
  std::u16string temperature;  // "LabTemperature": the night's low, "~", the day's high ("24~31℃")
  std::u16string toolTip;      // the condition text, on all three labels
};

struct WeatherPopupView {
  std::u16string wind;         // "wind" text and tool tip: today's condition, a blank, the wind
  std::u16string temperature;  // "temperature": the current temperature without its ℃ and after
  std::u16string city;         // "city"
  std::u16string source;       // "source": "来源 " and the name of the source that answered, or empty
  // The "air" badge: " 良 PM2.5 60" (" 良 AQI 60" for the index the default source's values give);
  // empty with no background when the report has no index value.
  // A level word without a look of its own keeps the label's look from the skin (styled false).
  // blackText (严重污染) asks for the window's own text colour: black would not read on dark red.
  AirBadge air;
  std::array<ForecastItemView, 4> items;  // today, tomorrow, the day after, and an empty fourth
};

// localHour 0..23 decides between today's daytime and night condition for the header (night is
// before 08:00 and from 20:00 on); the strip always shows the daytime conditions. A report without
// weather (no source answered) shows "天气暂不可用" as its wind text and a strip of day labels
// without pictures or temperatures: nothing made up.
WeatherPopupView MakeWeatherPopupView(const WeatherReport& report, const AirQualityReport& air,
                                      int localHour);

// The pop-up's screen rectangle (device pixels): right of the main window when the taskbar is at
// the left, else left of it; 5 units below the main window's top. The size and the distances are
// 96-DPI units scaled by the main window's display scale.
tvui::Rect PlaceWeatherPopup(const Anchor& anchor, int mainWindowTop, const tvui::Scale& scale = tvui::Scale());

// The forecast site's page of a station: base + "/weather/<code>.shtml"; empty when the site is
// not configured or the code is empty.
std::u16string ForecastPageUrl(std::u16string_view base, std::u16string_view code);
