#include "app/win32/dlg_weather.h"

#include "app/logic/weather_popup_view.h"
#include "platform/clock.h"
#include "platform/launch.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "ui/attribute_values.h"
#include "ui/container.h"
#include "weather/current_city.h"
#include "weather/service_hosts.h"
#include "weather/weather_worker.h"

namespace {

constexpr UINT kTimerFade = 1;
constexpr int kFadePeriodMs = 40;
constexpr int kFadeSteps = 25;  // a second

std::u16string g_lastForecastUrl;  // what "moreweather" last opened, for the test hook
int g_populated = 0;

}  // namespace

void CDlgWeather::InitWindow() {
  if (tvui::Control* air = FindControl(u"air")) {
    airSkinPos_ = air->GetFloatPos();
    airSkinText_ = air->GetTextColor();
  }
}

void CDlgWeather::OnClick(tvui::Notification& msg) {
  const std::u16string& name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (tvui::EqualsNoCase(name, u"closebtn")) {
    Close();
  } else if (tvui::EqualsNoCase(name, u"moreweather")) {
    RecordUsageEvent(kUsageMoreWeather, u"0");
    std::u16string url = ForecastPageUrl(ServiceBaseUrl(kSvcForecast), GetCurrentCity().code);
    if (url.empty()) {
      LogError(u"weather pop-up: no forecast site is configured (svc_forecast); the forecast page is not opened");
      return;
    }
    g_lastForecastUrl = url;
    OpenUrlInBrowser(url);
  }
}

std::optional<LRESULT> CDlgWeather::OnMessage(const tvui::Message& m) {
  if (m.message == WM_MOUSELEAVE && GetHWND()) {
    // The pointer left the pop-up. A press that opened a combo or a tool tip does not count:
    // only a pointer outside the window hides it.
    POINT pt;
    RECT rc;
    const bool inside = GetCursorPos(&pt) && GetWindowRect(GetHWND(), &rc) && PtInRect(&rc, pt);
    if (!inside) {
      KillTimer(kTimerFade);
      ShowWindow(false);
    }
  }
  return WindowImplBase::OnMessage(m);
}

void CDlgWeather::OnTimer(tvui::Notification& msg) {
  if (msg.wParam != kTimerFade) return;
  ++fadeStep_;
  if (fadeStep_ >= kFadeSteps) {
    KillTimer(kTimerFade);
    SetFadeAlpha(255);
    return;
  }
  SetFadeAlpha(fadeStep_ * 255 / kFadeSteps);
}

void CDlgWeather::SetFadeAlpha(int alpha) {
  if (GetHWND()) SetLayeredWindowAttributes(GetHWND(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CDlgWeather::UseSkin(const std::u16string& image) {
  if (tvui::Control* bk = FindControl(u"weather")) bk->SetBkImage(image);
}

void CDlgWeather::FadeIn() {
  HWND hwnd = GetHWND();
  if (!hwnd) return;
  fadeStep_ = 0;
  SetFadeAlpha(0);
  BringWindowToTop(hwnd);
  ShowWindow(true, true);
  SetTimer(kTimerFade, kFadePeriodMs);
}

void CDlgWeather::Populate(const WeatherReport& report) {
  report_ = report;
  ++g_populated;
  WeatherPopupView view = MakeWeatherPopupView(report_, CurrentAirQualityReport(), LocalNow().wHour);
  if (tvui::Control* wind = FindControl(u"wind")) {
    wind->SetText(view.wind);
    wind->SetToolTip(view.wind);
  }
  if (tvui::Control* t = FindControl(u"temperature")) t->SetText(view.temperature);
  if (tvui::Control* city = FindControl(u"city")) city->SetText(view.city);
  if (tvui::Control* source = FindControl(u"source")) source->SetText(view.source);
  if (tvui::Control* air = FindControl(u"air")) {
    const AirBadge& badge = view.air;
    air->SetText(badge.text);
    // A level without a colour keeps the skin's look; an empty badge has no colour at all.
    air->SetBkColor(badge.styled ? badge.background : 0);
    // The darkest badge takes the window's own text colour (the skin's label colour may be chosen
    // for the light badges); a colour of 0 would draw black on dark red.
    air->SetTextColor(badge.blackText ? GetManager().GetWindowInfo().textColor : airSkinText_);
    tvui::Rect pos = badge.styled ? tvui::Rect{badge.left, badge.top, badge.right, badge.bottom} : airSkinPos_;
    const tvui::Rect& now = air->GetFloatPos();
    if (now.left != pos.left || now.top != pos.top || now.right != pos.right || now.bottom != pos.bottom) {
      air->SetPos(pos);
    }
  }
  if (tvui::Control* more = FindControl(u"moreweather")) more->SetCursor(tvui::Cursor::kHand);

  tvui::Control* strip = FindControl(u"sevenweather");
  tvui::Container* items = strip ? strip->AsContainer() : nullptr;
  if (!items) {
    LogError(u"weather pop-up: the skin has no container \"sevenweather\"");
  } else {
    items->RemoveAll();
    for (const ForecastItemView& v : view.items) {
      std::unique_ptr<tvui::Control> item = CreateItem(u"sevendays.xml");
      tvui::Container* box = item ? item->AsContainer() : nullptr;
      if (!box) break;  // logged by CreateItem
      const std::pair<const char16_t*, const std::u16string*> texts[] = {
          {u"LabDay", &v.dayLabel}, {u"LabWeather", nullptr}, {u"LabTemperature", &v.temperature}};
      for (const auto& [name, text] : texts) {
        tvui::Control* label = box->FindSubControl(name);
        if (!label) continue;
        if (text) label->SetText(*text);
        else label->SetBkImage(v.icon);
        label->SetToolTip(v.toolTip);
      }
      items->Add(std::move(item));
    }
  }
  GetManager().NeedUpdate();
  if (GetHWND()) ::InvalidateRect(GetHWND(), nullptr, FALSE);
}

namespace app {

int WeatherPopupFills() { return g_populated; }

const std::u16string& LastForecastUrl() { return g_lastForecastUrl; }

}  // namespace app
