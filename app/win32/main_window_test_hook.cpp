#include "app/win32/main_window_test_hook.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "app/logic/day_cell.h"
#include "app/win32/dlg_city.h"
#include "app/win32/dlg_main.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/popup_host.h"
#include "app/win32/start_metrics.h"
#include "app/win32/tooltip_dlg.h"
#include "app/win32/tray_icon.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/http_client.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/worker.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/option.h"
#include "weather/current_city.h"
#include "weather/ip_location.h"
#include "weather/weather_worker.h"

namespace app {

namespace {

UINT HookMessage() {
  static const UINT message = RegisterWindowMessageW(kTestHookMessageName);
  return message;
}

// The last month-change benchmark's median and slowest click, in microseconds (-1 before one ran).
// The slowest is a change between five and six rows: the window is resized and drawn whole.
int64_t g_benchMedianUs = -1;
int64_t g_benchSlowestUs = -1;

// The IP lookups the hook started (window thread only).
std::vector<Worker> g_lookups;

// The clock the test moves: the system clock plus this many seconds.
std::atomic<long long> g_clockOffsetSeconds{0};

SystemTime MovedClock() {
  SystemTime t = SystemLocalNow();
  long long seconds = (t.wHour * 60LL + t.wMinute) * 60 + t.wSecond + g_clockOffsetSeconds.load();
  long long days = seconds / 86400;
  seconds %= 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  AddDays(t, static_cast<int>(days));
  t.wHour = static_cast<uint16_t>(seconds / 3600);
  t.wMinute = static_cast<uint16_t>(seconds / 60 % 60);
  t.wSecond = static_cast<uint16_t>(seconds % 60);
  return t;
}

std::u16string TextOf(tvui::WindowImplBase& w, std::u16string_view name) {
  tvui::Control* c = w.FindControl(name);
  return c ? c->GetText() : std::u16string();
}

// An air-quality badge: text|background|text colour|l,t,r,b (its place in 96-DPI units).
std::u16string BadgeText(const tvui::Control& badge) {
  const tvui::Rect& a = badge.GetFloatPos();
  return badge.GetText() + u"|" + IntToText(badge.GetBkColor()) + u"|" + IntToText(badge.GetTextColor()) + u"|" +
         IntToText(a.left) + u"," + IntToText(a.top) + u"," + IntToText(a.right) + u"," + IntToText(a.bottom);
}

}  // namespace

std::u16string StateLine(std::u16string_view key, const std::u16string& value) {
  return std::u16string(key) + u"=" + value + u"\n";
}

std::u16string StateRect(const RECT& r) {
  return IntToText(r.left) + u"," + IntToText(r.top) + u"," + IntToText(r.right - r.left) + u"," +
         IntToText(r.bottom - r.top);
}

std::u16string StateRect(const tvui::Rect& r) { return StateRect(RECT{r.left, r.top, r.right, r.bottom}); }

std::u16string StateRect(HWND window) {
  RECT rc{};
  GetWindowRect(window, &rc);
  return StateRect(rc);
}

namespace {

// The weather pop-up's lines ("wxpop…").
std::u16string DescribeWeatherPopup(const PopupHost& popups) {
  const auto& line = StateLine;
  std::u16string s = line(u"wxpop", IntToText(popups.IsWeatherPopupOpen() ? 1 : 0));
  s += line(u"wxpop.populated", IntToText(WeatherPopupFills()));
  s += line(u"wxpop.url", LastForecastUrl());
  CDlgWeather* popup = popups.WeatherPopup();
  if (!popup) return s;
  CDlgWeather& w = *popup;
  s += line(u"wxpop.rect", StateRect(w.GetHWND()));
  BYTE alpha = 255;
  DWORD flags = 0;
  if (GetLayeredWindowAttributes(w.GetHWND(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
    s += line(u"wxpop.alpha", IntToText(alpha));
  }
  s += line(u"wxpop.city", TextOf(w, u"city"));
  s += line(u"wxpop.temperature", TextOf(w, u"temperature"));
  s += line(u"wxpop.wind", TextOf(w, u"wind"));
  s += line(u"wxpop.report_city", w.Report().city);
  if (tvui::Control* air = w.FindControl(u"air")) s += line(u"wxpop.air", BadgeText(*air));
  if (tvui::Control* bk = w.FindControl(u"weather")) s += line(u"wxpop.background", bk->GetBkImage());
  if (tvui::Control* more = w.FindControl(u"moreweather")) {
    s += line(u"wxpop.moreweather", StateRect(more->GetPos()));
  }
  tvui::Control* strip = w.FindControl(u"sevenweather");
  tvui::Container* items = strip ? strip->AsContainer() : nullptr;
  std::u16string list;
  for (int i = 0; items && i < items->GetCount(); ++i) {
    tvui::Container* box = items->GetItemAt(i)->AsContainer();
    if (!box) continue;
    auto part = [&](const char16_t* name, bool image) {
      tvui::Control* c = box->FindSubControl(name);
      return c ? (image ? c->GetBkImage() : c->GetText()) : std::u16string();
    };
    tvui::Control* weather = box->FindSubControl(u"LabWeather");
    list += part(u"LabDay", false) + u"|" + part(u"LabWeather", true) + u"|" + part(u"LabTemperature", false) +
            u"|" + (weather ? weather->GetToolTip() : u"") + u";";
  }
  s += line(u"wxpop.items", list);
  return s;
}

// The city picker's lines ("picker…") with the current and located cities.
std::u16string DescribeCityPicker(const PopupHost& popups) {
  const auto& line = StateLine;
  IpLocation here = GetIpLocation();
  std::u16string s = line(u"ip_location", here.province + u"," + here.city);
  CurrentCity current = GetCurrentCity();
  s += line(u"current_city", current.province + u"," + current.city + u"," + current.code);
  s += line(u"report_city", CurrentWeatherReport().city);
  s += line(u"picker", IntToText(popups.IsCityPickerVisible() ? 1 : 0));
  CDlgCity* picker = popups.CityPicker();
  if (!picker) return s;
  CDlgCity& w = *picker;
  s += line(u"picker.rect", StateRect(w.GetHWND()));
  if (tvui::Control* title = w.FindControl(u"title")) s += line(u"picker.title", title->GetBkImage());
  // index/count|selected text|every item's text, separated by ";"
  auto combo = [](tvui::Combo* c) {
    if (!c) return std::u16string();
    std::u16string s = IntToText(c->GetCurSel()) + u"/" + IntToText(c->GetCount()) + u"|" + c->GetSelectedText() + u"|";
    for (int i = 0; i < c->GetCount(); ++i) s += c->GetItemAt(i)->GetText() + u";";
    return s;
  };
  s += line(u"picker.provinces", combo(w.Provinces()));
  s += line(u"picker.cities", combo(w.Cities()));
  for (const char16_t* name : {u"BtnSure", u"currentposbtn", u"closebtn", u"addcity"}) {
    tvui::Control* c = w.FindControl(name);
    if (!c) continue;
    s += line(u"picker." + std::u16string(name), StateRect(c->GetPos()) + u"|" + IntToText(c->IsEnabled() ? 1 : 0) +
                                                     u"|" + IntToText(c->IsVisible() ? 1 : 0));
  }
  return s;
}

}  // namespace

}  // namespace app

std::u16string CDlgMain::DescribeState() {
  const auto& Line = app::StateLine;
  HWND hwnd = GetHWND();
  std::u16string s;
  // Start-up has finished (the handle is published last): the window may answer earlier, while
  // its creation waits on the shell (adding the tray icon lets other processes' messages in).
  s += Line(u"started", IntToText(app::MainWindowHandle() == hwnd ? 1 : 0));
  s += Line(u"visible", IntToText(IsWindowVisible(hwnd) ? 1 : 0));
  s += Line(u"show_count", IntToText(showCount_));
  s += Line(u"rect", app::StateRect(hwnd));
  s += Line(u"dpi", IntToText(GetScale().Dpi()));  // cell places below are 96-DPI units
  s += Line(u"anchor", IntToText(anchor_.x) + u"," + IntToText(anchor_.y) + u"," +
                           IntToText(static_cast<int>(anchor_.edge)));
  s += Line(u"top", IntToText(currentTop_));
  s += Line(u"rows", IntToText(shownRows_));
  const ShownMonth& m = navigator_.Shown();
  s += Line(u"shown", IntToText(m.year) + u"," + IntToText(m.month) + u"," + IntToText(m.todayDay) + u"," +
                          IntToText(m.selectedDay));
  s += Line(u"selectors", IntToText(cmbYear_ ? cmbYear_->GetCurSel() : -1) + u"," +
                              IntToText(cmbMonth_ ? cmbMonth_->GetCurSel() : -1) + u"," +
                              IntToText(cmbHoliday_ ? cmbHoliday_->GetCurSel() : -1));
  s += Line(u"selector_texts", (cmbYear_ ? cmbYear_->GetSelectedText() : u"") + u"," +
                                   (cmbMonth_ ? cmbMonth_->GetSelectedText() : u"") + u"," +
                                   (cmbHoliday_ ? cmbHoliday_->GetSelectedText() : u""));
  s += Line(u"background", [&] {
    tvui::Control* card = FindControl(u"tv_mouth_info");
    return card ? card->GetBkImage() : std::u16string();
  }());
  s += Line(u"worldday", app::TextOf(*this, u"worldday"));
  s += Line(u"chineseday", app::TextOf(*this, u"chineseday"));
  s += Line(u"clock", app::TextOf(*this, u"hour") + u":" + app::TextOf(*this, u"minute") + u":" +
                          app::TextOf(*this, u"sec"));
  std::u16string cities;
  for (const CityListItem& item : cityItems_) cities += item.text + u";";
  s += Line(u"xcity", cities);
  // The cells on show (those past the month's rows stay, hidden, for the next month).
  int cells = 0;
  while (menology_ && cells < menology_->GetCount() && menology_->GetItemAt(cells)->IsVisible()) ++cells;
  s += Line(u"cells", IntToText(cells));
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    if (!box) continue;
    auto* option = dynamic_cast<tvui::Option*>(box->FindSubControl(u"isSelect"));
    tvui::Control* day = box->FindSubControl(u"day");
    tvui::Control* lunar = box->FindSubControl(u"ChineseDay");
    tvui::Control* badge = box->FindSubControl(u"img");
    tvui::Rect r = option ? option->GetPos() : tvui::Rect{};
    // normal image|day|lunar line|x,y,w,h|data string (what the tooltip shows)|badge image
    s += Line(u"cell." + IntToText(i),
              (option ? option->GetNormalImage() : u"") + u"|" + (day ? day->GetText() : u"") + u"|" +
                  (lunar ? lunar->GetText() : u"") + u"|" + IntToText(r.left) + u"," + IntToText(r.top) +
                  u"," + IntToText(r.right - r.left) + u"," + IntToText(r.bottom - r.top) + u"|" +
                  DayDataString(shownDays_.days[i]) + TooltipRemindersPart(ReminderLinesOf(i)) + u"|" +
                  (badge ? badge->GetBkImage() : u""));
  }
  // The cells that carry a reminder's mark.
  std::u16string marks;
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    tvui::Control* mark = box ? box->FindSubControl(u"remindmark") : nullptr;
    if (mark && mark->IsVisible()) marks += IntToText(i) + u";";
  }
  s += Line(u"marks", marks);
  bool tipShown = tooltip_ && tooltip_->GetHWND() && IsWindowVisible(tooltip_->GetHWND());
  s += Line(u"tooltip", IntToText(tipShown ? 1 : 0));
  if (tooltip_ && tooltip_->GetHWND()) {
    s += Line(u"tooltip.rect", app::StateRect(tooltip_->GetHWND()));
    s += Line(u"tooltip.data", DayDataString(tooltip_->GetDay()) + TooltipRemindersPart(tooltip_->GetReminders()));
    for (const char16_t* name : {u"day", u"chinsesday", u"tip", u"sword", u"svoid", u"remind"}) {
      s += Line(std::u16string(u"tooltip.") + name, app::TextOf(*tooltip_, name));
    }
  }
  // The weather panel: icon|tool tip, temperature, badge text|background|text colour|l,t,r,b.
  if (weather_) {
    s += Line(u"weather.pos", app::StateRect(weather_->GetPos()));
  }
  s += Line(u"weather", (weather_ ? weather_->GetBkImage() : u"") + u"|" + (weather_ ? weather_->GetToolTip() : u""));
  s += Line(u"temperature", temperature_ ? temperature_->GetText() : u"");
  if (airQuality_) s += Line(u"air", app::BadgeText(*airQuality_));
  s += Line(u"refresh", (refresh_ ? refresh_->GetBkImage() : u"") + u"|" + IntToText(refreshAnim_.Running() ? 1 : 0));
  s += Line(u"weather_updates", IntToText(weatherUpdates_));
  const IpLocation ipLocation = GetIpLocation();
  s += Line(u"iplocation", ipLocation.province + u"," + ipLocation.city);
  s += Line(u"rebuild_us", IntToText(lastRebuildUs_));
  s += Line(u"month_days_us", IntToText(lastDaysUs_));
  s += Line(u"working_set_kib", IntToText(app::WorkingSetKiB()));
  s += Line(u"bench_median_us", IntToText(app::g_benchMedianUs));
  s += Line(u"bench_slowest_us", IntToText(app::g_benchSlowestUs));
  s += app::StartMetricsText();
  s += popups_.Describe();
  s += Line(u"about_requests", IntToText(aboutRequests_));
  s += Line(u"autostart_prompts", IntToText(app::AutostartPromptsShown()));
  s += app::TrayStateText(trayIcon_.get()) + popups_.TrayMenuStateText();
  s += app::DescribeWeatherPopup(popups_);
  s += app::DescribeCityPicker(popups_);
  s += popups_.DescribeReminders();
  return s;
}

namespace app {

void MainWindowTestHook::Install() { MeasureStartSteps(true); }

std::optional<LRESULT> MainWindowTestHook::Answer(CDlgMain& window, const tvui::Message& message) {
  LRESULT result = 0;
  if (!Handle(window, message.message, message.wParam, message.lParam, result)) return std::nullopt;
  return result;
}

bool MainWindowTestHook::Handle(CDlgMain& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != HookMessage() || message == 0) return false;
  result = 0;
  tvui::Combo* combo = nullptr;
  switch (wParam) {
    case kHookState: {
      HWND peer = reinterpret_cast<HWND>(lParam);
      if (!IsWindow(peer)) return true;
      std::u16string text = w.DescribeState();
      COPYDATASTRUCT cds{kTestHookStateTag, static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)),
                         const_cast<char16_t*>(text.c_str())};
      SendMessageW(peer, WM_COPYDATA, reinterpret_cast<WPARAM>(w.GetHWND()), reinterpret_cast<LPARAM>(&cds));
      result = 1;
      return true;
    }
    case kHookYear: combo = w.cmbYear_; break;
    case kHookMonth: combo = w.cmbMonth_; break;
    case kHookHoliday: combo = w.cmbHoliday_; break;
    case kHookCity: combo = w.xcity_; break;
    case kHookClick: {
      if (lParam < 0 || lParam >= static_cast<LPARAM>(std::size(kTestHookButtons))) return true;
      tvui::Control* c = w.FindControl(kTestHookButtons[lParam]);
      if (!c) return true;
      w.GetManager().SendNotify(c, tvui::NotifyType::kClick);
      result = 1;
      return true;
    }
    case kHookBench: {
      int n = static_cast<int>(lParam);
      if (n <= 0 || n > 1000) return true;
      int64_t total = 0;
      std::vector<int64_t> clicks;
      SystemTime now = w.Now();
      for (int i = 0; i < n; ++i) {
        int64_t start = MicrosecondsNow();
        w.navigator_.Next(now);
        w.ShowNavigated();
        w.UpdateNow();
        clicks.push_back(MicrosecondsNow() - start);
        total += clicks.back();
      }
      std::sort(clicks.begin(), clicks.end());
      g_benchMedianUs = clicks[clicks.size() / 2];
      g_benchSlowestUs = clicks.back();
      w.navigator_.ReturnToday(now);
      w.ShowNavigated();
      result = static_cast<LRESULT>(total / n);
      return true;
    }
    case kHookPaint: {
      int n = static_cast<int>(lParam);
      if (n <= 0 || n > 1000) return true;
      int64_t start = MicrosecondsNow();
      for (int i = 0; i < n; ++i) {
        ::InvalidateRect(w.GetHWND(), nullptr, FALSE);
        UpdateWindow(w.GetHWND());
      }
      result = static_cast<LRESULT>((MicrosecondsNow() - start) / n);
      return true;
    }
    case kHookPickerItem:
      result = w.Popups().ClickCityPickerItem(static_cast<int>(lParam >> 16), static_cast<int>(lParam & 0xffff)) ? 1 : 0;
      return true;
    case kHookLocate: {
      uint32_t a = static_cast<uint32_t>(lParam);
      std::string ip = std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." +
                       std::to_string((a >> 8) & 255) + "." + std::to_string(a & 255);
      // Off the window's thread; lookups that ended are joined, one still running at the exit is
      // abandoned at its stop.
      std::erase_if(g_lookups, [](Worker& lookup) {
        if (!lookup.WaitForEnd(0)) return false;
        lookup.Join();
        return true;
      });
      Worker lookup;
      auto abandon = std::make_shared<HttpAbandonFlag>(false);
      if (lookup.Start(
              [ip, abandon](std::stop_token) {
                HttpScope::Bounds bounds;
                bounds.abandon = abandon.get();
                const HttpScope scope(bounds);
                IpLocation here;
                LocateByIp(ip, here.province, here.city);
                if (!abandon->load()) SetIpLocation(here);
              },
              [abandon] { abandon->store(true); })) {
        g_lookups.push_back(std::move(lookup));
      }
      result = 1;
      return true;
    }
    case kHookShot: {
      tvui::WindowImplBase* window = nullptr;
      if (lParam == 0) window = w.Popups().WeatherPopup();
      else if (lParam == 1) window = w.Popups().CityPicker();
      else if (lParam == 2) window = &w;
      else if (lParam == 3) {
        result = w.Popups().SaveRemindersPng(ProgramDirectory() + u"shot-3.png") ? 1 : 0;
        return true;
      }
      if (!window) return true;
      result = window->SaveClientPng(ProgramDirectory() + u"shot-" + IntToText(lParam) + u".png") ? 1 : 0;
      return true;
    }
    case kHookClock:
      g_clockOffsetSeconds = static_cast<long long>(lParam);
      SetLocalClock(lParam ? &MovedClock : nullptr);
      SendMessageW(w.GetHWND(), WM_TIMECHANGE, 0, 0);
      result = 1;
      return true;
    default:
      return true;
  }
  if (!combo || lParam < 0 || lParam >= combo->GetCount()) return true;
  combo->ItemClicked(static_cast<int>(lParam));
  result = 1;
  return true;
}

}  // namespace app
