#include "app/win32/main_window_test_hook.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "app/win32/dlg_city.h"
#include "app/win32/dlg_main.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "app/win32/popup_host.h"
#include "app/win32/start_metrics.h"
#include "app/win32/state_text.h"
#include "app/win32/tray_icon.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/http_client.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/worker.h"
#include "ui/combo.h"
#include "weather/current_city.h"
#include "weather/ip_location.h"

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

// The state text: each window's own lines, in the order the tests read them, with the process's
// measurements among them.
std::u16string StateText(const CDlgMain& w) {
  const PopupHost& popups = w.Popups();
  std::u16string s = w.DescribeForTest();
  s += StateLine(u"working_set_kib", IntToText(WorkingSetKiB()));
  s += StateLine(u"bench_median_us", IntToText(g_benchMedianUs));
  s += StateLine(u"bench_slowest_us", IntToText(g_benchSlowestUs));
  s += StartMetricsText();
  s += popups.Describe();
  s += StateLine(u"about_requests", IntToText(w.AboutRequests()));
  s += StateLine(u"autostart_prompts", IntToText(AutostartPromptsShown()));
  s += TrayStateText(w.TrayIcon()) + popups.TrayMenuStateText();
  s += popups.DescribeWeatherPopup();
  s += popups.DescribeCityPicker();
  s += popups.DescribeReminders();
  return s;
}

}  // namespace

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
      std::u16string text = StateText(w);
      COPYDATASTRUCT cds{kTestHookStateTag, static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)),
                         const_cast<char16_t*>(text.c_str())};
      SendMessageW(peer, WM_COPYDATA, reinterpret_cast<WPARAM>(w.GetHWND()), reinterpret_cast<LPARAM>(&cds));
      result = 1;
      return true;
    }
    case kHookYear: combo = w.FindControlAs<tvui::Combo>(u"CmbYear"); break;
    case kHookMonth: combo = w.FindControlAs<tvui::Combo>(u"CmbMonth"); break;
    case kHookHoliday: combo = w.FindControlAs<tvui::Combo>(u"CmbHoliday"); break;
    case kHookCity: combo = w.FindControlAs<tvui::Combo>(u"xcity"); break;
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
        w.ShowNextMonth(now);
        clicks.push_back(MicrosecondsNow() - start);
        total += clicks.back();
      }
      std::sort(clicks.begin(), clicks.end());
      g_benchMedianUs = clicks[clicks.size() / 2];
      g_benchSlowestUs = clicks.back();
      w.ShowTodayMonth(now);
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
