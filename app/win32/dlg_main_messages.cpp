// The calendar window's messages (dlg_main.h): the weather icon's pop-up, showing and hiding
// (from the clock and the tray), and the window's own and the system's messages.
#include "app/win32/dlg_main.h"

#include <windowsx.h>

#include <algorithm>

#include "app/logic/settings_switches.h"
#include "app/logic/tray_rules.h"
#include "app/logic/weather_popup_view.h"
#include "app/logic/window_messages.h"
#include "app/win32/dlg_city.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "app/win32/popup_host.h"
#include "app/win32/menu_tray.h"
#include "app/win32/monitor_area.h"
#include "app/win32/note_launcher.h"
#include "app/win32/start_metrics.h"
#include "app/win32/tooltip_dlg.h"
#include "app/win32/tray_icon.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/launch.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/ipc_events.h"
#include "service/usage_recorder.h"
#include "platform/user_config.h"
#include "platform/win32/clock_hook.h"
#include "ui/attribute_values.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

using tvui::EqualsNoCase;

namespace {

void Record(int code) { RecordUsageEvent(code, u"0"); }

}  // namespace

UINT CDlgMain::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

std::optional<LRESULT> CDlgMain::AnswerWeatherIcon(const tvui::Message& m) {
  switch (m.message) {
    case WM_MOUSEMOVE: {
      // The pointer comes onto the icon: open (the base moves the hover first).
      const tvui::Control* before = GetManager().GetHover();
      const LRESULT result = DefaultMessage(m);
      if (panel_.Icon() && before != panel_.Icon() && GetManager().GetHover() == panel_.Icon()) {
        Record(kUsageWeatherEnter);
        ShowWeatherPopup(true);
      }
      return result;
    }
    case WM_LBUTTONDOWN: {
      // A press on the icon opens the pop-up, or closes the open one; a press elsewhere closes it.
      const tvui::Control* control = FindControl(POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
      ShowWeatherPopup(control && EqualsNoCase(control->GetName(), u"weather") && !popups_.IsWeatherPopupOpen());
      return std::nullopt;  // the press goes on to the controls
    }
    case WM_KEYDOWN: {
      // Enter and Space on the focused icon, as a press (an open list takes the keys).
      tvui::Control* current = GetKeyboardFocus();
      if (GetDropDownWindow() || !current || current != panel_.Icon() ||
          (m.wParam != VK_RETURN && m.wParam != VK_SPACE)) {
        return std::nullopt;
      }
      SetKeyboardFocus(current, true);
      ShowWeatherPopup(!popups_.IsWeatherPopupOpen());
      return LRESULT{0};
    }
    default:
      return std::nullopt;
  }
}

void CDlgMain::ShowWeatherPopup(bool show) {
  if (show) popups_.OpenWeatherPopup(PlaceWeatherPopup(anchor_, currentTop_, GetScale()));
  else popups_.CloseWeatherPopup();
}

void CDlgMain::Toggle() {
  if (!toggleGuard_.Accept(GetTickCount())) return;
  HWND hwnd = GetHWND();
  if (!IsWindowVisible(hwnd)) {
    Record(kUsageToggleShow);
    RefreshAll();
    ShowWindow(true, true);
    SetForegroundWindow(hwnd);
  } else {
    HideTooltip();
    ShowWindow(false);
    popups_.HideAll();
  }
}

void CDlgMain::ReplaceTrayIcon() {
  // The old icon and its window go first, so that exactly one icon and one message window remain.
  trayIcon_.reset();
  trayIcon_ = app::MakeTrayIcon(*this);
}

void CDlgMain::ShowTrayMenuAt(std::optional<POINT> at) { popups_.ShowTrayMenu(GetHWND(), at); }

void CDlgMain::ToggleFromTray() {
  HWND hwnd = GetHWND();
  switch (DecideTrayLeftClick(IsWindowVisible(hwnd) != FALSE, toggleGuard_, GetTickCount())) {
    case TrayClick::kHide:
      popups_.HideAll();
      HideTooltip();
      ShowWindow(false);
      PostMessageW(app::UM_HIDE_DIALOGS);
      break;
    case TrayClick::kShow:
      clickedClock_.reset();  // by the taskbar that holds a clock
      RefreshAll();
      ShowWindow(true, true);
      SetForegroundWindow(hwnd);
      break;
    case TrayClick::kIgnore:
      break;
  }
}

std::optional<LRESULT> CDlgMain::OnMessage(const tvui::Message& m) {
  const auto [message, wParam, lParam] = m;
  if (tap_) {
    if (std::optional<LRESULT> answer = tap_(*this, m)) return answer;
  }
  // A pointer or a key on the window comes before the first change to the other row count.
  if (otherHeightDue_ && (message == WM_MOUSEMOVE || message == WM_KEYDOWN || message == WM_MOUSEWHEEL)) {
    otherHeightDue_ = false;
    PostMessageW(app::UM_PREPARE_OTHER_HEIGHT);
  }
  if (message == WM_PAINT && !painted_ && IsWindowVisible(GetHWND())) {
    // The start ends with the first painting of the visible window.
    painted_ = true;
    app::MarkFirstVisiblePaint();
    const LRESULT result = DefaultMessage(m);
    app::MarkFirstPaintDone();
    PostMessageW(app::UM_ADD_TRAY_ICON);
    otherHeightDue_ = true;
    return result;
  }
  if (message == WM_MOUSEMOVE) pointer_.Moved(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), GetTickCount());
  if (message == WM_LBUTTONDBLCLK) OpenRemindersAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (std::optional<LRESULT> answer = AnswerWeatherIcon(m)) return answer;
  if (message == WM_KEYDOWN) {
    if (std::optional<LRESULT> answer = AnswerKey(wParam)) return answer;
  }
  ObserveSystemChange(message, wParam, lParam);
  HWND hwnd = GetHWND();
  if (message == TaskbarCreatedMessage() && message != 0) {
    // The taskbar came back (the shell restarted): hook, placement, timers and tray icon anew.
    StartTimersAndHook();
    trayAdded_ = true;
    ReplaceTrayIcon();  // replaces the icon of the old taskbar
    return LRESULT{0};
  }
  switch (message) {
    case app::UM_SKIN_RESTORE:
      popups_.RestoreSkin();
      return LRESULT{0};
    case app::UM_SKIN_PREVIEW:
      popups_.PreviewSkin(static_cast<int>(wParam));
      return LRESULT{0};
    case app::UM_SKIN_APPLY:
      popups_.ApplyAndStoreSkin(static_cast<int>(wParam));
      otherHeightDue_ = true;  // the new skin's pictures, when the user comes back
      return LRESULT{0};
    case app::UM_PREPARE_OTHER_HEIGHT:
      otherHeightDue_ = false;
      PrepareOtherHeight();
      return LRESULT{0};
    case app::UM_CLOCK_SWITCH:
      ApplyClockSwitch();
      return LRESULT{0};
    case app::UM_TOGGLE_MAIN:
      // From the pointer hook, the clicked clock; from the hook library or the tray, none.
      clickedClock_.reset();
      if (wParam == ipc::kClockClickedAt) {
        clickedClock_ = tvui::Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      }
      Toggle();
      return LRESULT{0};
    case app::UM_SHOW_TRAY_MENU:
      Record(kUsageTrayMenu);
      popups_.ShowTrayMenu(hwnd);
      return LRESULT{0};
    case UM_WEATHER_UPDATED:
      OnWeatherUpdated();
      return LRESULT{0};
    case app::UM_SHOW_MAIN:
      if (!IsWindowVisible(hwnd)) Toggle();
      return LRESULT{0};
    case app::UM_CITY_CHANGED: {
      ShowWindow(true, true);
      ShowWeatherPopup(false);
      // The city list names the city whose weather is shown, first.
      CurrentCity city = GetCurrentCity();
      FillCityList({city.province, city.city});
      StartRefreshAnimation();
      return LRESULT{0};
    }
    case app::UM_RETURN_TO_MAIN:
      ShowWindow(true, true);
      ShowWeatherPopup(false);
      return LRESULT{0};
    case app::UM_SHOW_ABOUT:
      ++aboutRequests_;
      popups_.OpenAbout();
      return LRESULT{0};
    case app::UM_HIDE_DIALOGS:
      popups_.HideDialogs();
      return LRESULT{0};
    case app::UM_START_REFRESH:
      StartRefreshAnimation();
      return LRESULT{0};
    case app::UM_ADD_TRAY_ICON:
      if (!trayAdded_) {
        trayAdded_ = true;
        ReplaceTrayIcon();
        RenewReminders();  // those due at the start show now that the icon is there
      }
      return LRESULT{0};
    case app::UM_REMINDERS_CHANGED:
      RenewReminders();
      ShowNavigated();  // the marks and the tooltips' lines
      return LRESULT{0};
    case app::UM_USER_DATA_READY:
      // The stored city, the holidays and the recent cities are known only now.
      RefreshAll();
      StartRefreshAnimation();
      RenewReminders();
      ShowNavigated();
      return LRESULT{0};
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      StopClockHook();
      Close();
      return LRESULT{1};
    case WM_COPYDATA:
      return app::HandleCompanionCopyData(hwnd, wParam, lParam);
    // The window's own life.
    case WM_CLOSE:
      // Closing the main window ends the program: it and its pop-ups go at once (no hiding pass
      // that Wine would hold for a window manager).
      DestroyAtOnce();
      return LRESULT{0};
    case WM_DESTROY:
      PostQuitMessage(0);
      return std::nullopt;
    case WM_SHOWWINDOW:
      if (wParam) {
        ++showCount_;
        FocusGridOnShow();
      } else {
        if (!trayAdded_) PostMessageW(app::UM_ADD_TRAY_ICON);  // hidden before its first painting
        // Hidden most of the day: give the memory back.
        SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
      }
      return std::nullopt;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case app::kCommandQuit:
          Close();
          return LRESULT{0};
        case app::kCommandDateTime:
          ::OpenDateTimeSettings();
          return LRESULT{0};
        case app::kCommandSwallowed:
          return LRESULT{0};
        default:
          return std::nullopt;
      }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return LRESULT{0};
    default:
      return std::nullopt;
  }
}

