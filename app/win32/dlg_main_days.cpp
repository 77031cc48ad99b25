// The calendar window across weeks of running: a new day at midnight or after a change of the
// clock or time zone, a wake-up from sleep, and displays or a work area that changed.
#include "app/logic/day_watch.h"
#include "app/logic/window_messages.h"
#include "app/win32/dlg_main.h"
#include "app/win32/popup_host.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "calendar/holiday_year.h"
#include "platform/log.h"
#include "weather/weather_worker.h"

namespace {

// A wake-up asks for the weather when the last report (or request) is older than this.
constexpr int kWeatherAgeAfterWakeSeconds = 30 * 60;

}  // namespace

void CDlgMain::RenewTodayShown() {
  const SystemTime now = Now();
  SetTimer(app::kTimerMidnight, MillisecondsToNextMidnight(now));
  UpdateClock();  // a changed clock shows at once, not at the next tick
  RenewReminders();  // a new day, a changed clock or a wake-up: what is due, and when next
  const DayRenewal renewal = RenewToday(shownToday_, now, navigator_);
  if (!renewal.newDay) return;
  // The holiday selector's jumps and the marks of the new year.
  if (renewal.newYear) RenewHolidayYear(now.wYear);
  ShowNavigated();      // the today frame, the cells' marks and the tooltip's data
  // Last: the tray tip waits on the shell, and messages sent to this window meanwhile (the test
  // hook's among them) must find the grid already on the new day.
  UpdateTodayHeader();  // and the tray tip
}

void CDlgMain::PlaceAgain() {
  HWND hwnd = GetHWND();
  if (!hwnd || !IsWindowVisible(hwnd)) return;  // placed anew when it is next shown
  ComputeAnchor();  // the taskbar's monitor as it is now (or the nearest that exists)
  ShowNavigated();
  popups_.PlaceAgain();
  if (popups_.IsWeatherPopupOpen()) {
    ShowWeatherPopup(false);
    ShowWeatherPopup(true);
  }
}

void CDlgMain::ObserveSystemChange(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_TIMECHANGE:
      RenewTodayShown();
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
        RenewTodayShown();
        // Both resume messages may come: the first asks, the second finds the request fresh.
        const SystemTime now = Now();
        if (WeatherIsStale(lastWeatherAt_, now, kWeatherAgeAfterWakeSeconds)) {
          lastWeatherAt_ = now;
          StartRefreshAnimation();  // the refresh button's path: one worker, requests merged
        }
      }
      break;
    case WM_DISPLAYCHANGE:
      PlaceAgain();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) PlaceAgain();
      break;
    case UM_WEATHER_UPDATED:
      lastWeatherAt_ = Now();
      break;
    default:
      break;
  }
}
