#include "app/win32/weather_panel.h"

#include "app/win32/state_text.h"
#include "platform/text_utils.h"
#include "ui/control.h"
#include "ui/win32/window_impl_base.h"

void WeatherPanel::Attach(const tvui::WindowImplBase& window) {
  weather_ = window.FindControl(u"weather");
  temperature_ = window.FindControl(u"temperature");
  airQuality_ = window.FindControl(u"airQuality");
  refresh_ = window.FindControl(u"refresh");
  if (airQuality_) {
    const tvui::Rect& pos = airQuality_->GetFloatPos();
    airSkin_ = {airQuality_->GetTextColor(), pos.left, pos.top, pos.right, pos.bottom};
  }
}

void WeatherPanel::Show(const WeatherReport& report, const AirQualityReport& air, int hour) {
  WeatherPanelView view = MakeWeatherPanelView(report, air, hour, airSkin_);
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
}

RefreshAnimation::Step WeatherPanel::NextRefreshStep() {
  RefreshAnimation::Step step = refreshAnim_.Next();
  if (!step.image.empty() && refresh_) refresh_->SetBkImage(step.image);
  return step;
}

void WeatherPanel::StopRefresh() {
  std::u16string rest = refreshAnim_.Stop();
  if (refresh_) refresh_->SetBkImage(rest);
}

std::u16string WeatherPanel::DescribeForTest() const {
  using app::StateLine;
  // icon|tool tip, temperature, badge text|background|text colour|l,t,r,b, frame|turning
  std::u16string s;
  if (weather_) s += StateLine(u"weather.pos", app::StateRect(weather_->GetPos()));
  s += StateLine(u"weather",
                 (weather_ ? weather_->GetBkImage() : u"") + u"|" + (weather_ ? weather_->GetToolTip() : u""));
  s += StateLine(u"temperature", temperature_ ? temperature_->GetText() : u"");
  if (airQuality_) s += StateLine(u"air", app::BadgeText(*airQuality_));
  s += StateLine(u"refresh",
                 (refresh_ ? refresh_->GetBkImage() : u"") + u"|" + IntToText(refreshAnim_.Running() ? 1 : 0));
  return s;
}
