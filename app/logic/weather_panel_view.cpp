#include "app/logic/weather_panel_view.h"

#include "platform/text_utils.h"

WeatherPanelView MakeWeatherPanelView(const WeatherReport& report, const AirQualityReport& air,
                                      int localHour, const AirLabelLook& skin) {
  WeatherPanelView view;
  WeatherPanelIcon icon = ChooseWeatherPanelIcon(report, localHour);
  view.icon = std::move(icon.icon);
  view.toolTip = std::move(icon.toolTip);
  std::u16string wind = CurrentWindText(report, localHour);
  if (!wind.empty()) view.toolTip += (view.toolTip.empty() ? u"" : u" ") + wind;
  view.temperature = ShownTemperature(CurrentTemperatureText(report, localHour));

  AirBadge badge = MakeAirBadge(air);
  view.airText = std::move(badge.text);
  view.airTextColor = skin.textColor;
  view.airLeft = skin.left;
  view.airTop = skin.top;
  view.airRight = skin.right;
  view.airBottom = skin.bottom;
  if (badge.styled) {
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
