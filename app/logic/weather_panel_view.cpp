#include "app/logic/weather_panel_view.h"

#include "app/logic/weather_icons.h"
#include "platform/text_utils.h"
#include "weather/panel_logic.h"

AirBadge MakeAirBadge(const AirQualityReport& air) {
  AirBadge badge;
  const std::u16string& level = air.level;
  if (level.empty()) return badge;
  if (level.size() == 1) {
    badge.text = u" 空气质量 " + level;
  } else {
    badge.text = u" " + level + u" " + air.index;
  }
  AirBadge place;
  place.left = 122;
  place.top = 93;
  place.right = 192;
  place.bottom = 111;
  StyleAirBadge(badge, level, place, 202);
  return badge;
}

const AirLevelStyle* FindAirLevelStyle(std::u16string_view level) {
  static constexpr AirLevelStyle kStyles[] = {
      {u"优", 0xff81ba2f, false, false},      {u"良", 0xffffbb17, false, false},
      {u"轻度污染", 0xffc67901, true, false}, {u"中度污染", 0xffeb111b, true, false},
      {u"重度污染", 0xffb3065b, true, false}, {u"严重污染", 0xff600202, true, true},
  };
  for (const AirLevelStyle& s : kStyles) {
    if (s.level == level) return &s;
  }
  return nullptr;
}

void StyleAirBadge(AirBadge& badge, std::u16string_view level, const AirBadge& narrowPlace, int wideRight) {
  const AirLevelStyle* style = FindAirLevelStyle(level);
  if (!style) return;
  badge.styled = true;
  badge.background = style->background;
  badge.blackText = style->blackText;
  badge.left = narrowPlace.left;
  badge.top = narrowPlace.top;
  badge.right = style->wide ? wideRight : narrowPlace.right;
  badge.bottom = narrowPlace.bottom;
}

WeatherPanelView MakeWeatherPanelView(const WeatherReport& report, const AirQualityReport& air,
                                      int localHour, const AirLabelLook& skin) {
  WeatherPanelView view;
  WeatherPanelIcon icon = ChooseWeatherPanelIcon(report, localHour);
  view.icon = std::move(icon.icon);
  view.toolTip = std::move(icon.toolTip);
  std::u16string wind = CurrentWindText(report, localHour);
  if (!wind.empty()) view.toolTip += (view.toolTip.empty() ? u"" : u" ") + wind;
  view.temperature = ShownTemperature(CurrentTemperatureText(report, localHour));
  if (!WeatherAvailable(report)) {
    view.notice = std::u16string(kWeatherUnavailable);
    view.toolTip = view.notice;
  }
  std::u16string source = WeatherSourceText(report);
  if (!source.empty()) view.toolTip += (view.toolTip.empty() ? u"" : u" · ") + source;

  AirBadge badge = MakeAirBadge(air);
  view.airText = std::move(badge.text);
  view.airTextColor = skin.textColor;
  view.airLeft = skin.left;
  view.airTop = skin.top;
  view.airRight = skin.right;
  view.airBottom = skin.bottom;
  if (!view.notice.empty()) {
    view.airText = view.notice;
  } else if (badge.styled) {
    view.airBackground = badge.background;
    if (badge.blackText) view.airTextColor = 0;
    view.airLeft = badge.left;
    view.airTop = badge.top;
    view.airRight = badge.right;
    view.airBottom = badge.bottom;
  }
  return view;
}

bool RefreshAnimation::Start() {
  if (running_) return false;
  running_ = true;
  frame_ = 0;
  ticks_ = 0;
  return true;
}

RefreshAnimation::Step RefreshAnimation::Next() {
  Step step;
  if (!running_) return step;
  step.image = u"r" + IntToText(frame_) + u".png";
  if (ticks_ > kWrap) ticks_ = 0;
  ++ticks_;
  step.fetch = ticks_ == kFetchStep;
  frame_ = (frame_ + 1) % kFrames;
  return step;
}

std::u16string RefreshAnimation::Stop() {
  running_ = false;
  frame_ = 0;
  ticks_ = 0;
  return u"r0.png";
}
