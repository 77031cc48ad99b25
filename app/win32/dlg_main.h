#pragma once
// CDlgMain: the calendar window. It owns its parts: the header's dates and the year, month and
// holiday selectors (MainHeader), the month grid of day cells (MonthGridView) and the weather
// panel (WeatherPanel); itself it shows the clock and the city list, places the window, navigates
// the months and shows the day tooltip. Placement, navigation and cell looks come from app/logic;
// this class reacts to input, timers and the program's messages.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/logic/city_list.h"
#include "app/logic/grid_keys.h"
#include "app/logic/input_guards.h"
#include "app/logic/month_layout.h"
#include "app/logic/month_navigator.h"
#include "app/logic/placement.h"
#include "app/logic/weather_panel_view.h"
#include "app/win32/main_header.h"
#include "app/win32/month_grid_view.h"
#include "app/win32/popup_owner.h"
#include "app/win32/tray_icon.h"
#include "app/win32/weather_panel.h"
#include "calendar/day_info.h"
#include "ui/combo.h"
#include "ui/win32/window_impl_base.h"

class CToolTipDlg;
struct ReminderState;
namespace app {
class PopupHost;
}

class CDlgMain : public tvui::WindowImplBase, public app::PopupOwner, public app::TrayIconOwner {
 public:
  // Answers a message before the window's own handling when it is its own (a value); only the
  // test build of the program gives one.
  using MessageTap = std::optional<LRESULT> (*)(CDlgMain& window, const tvui::Message& message);

  // The pop-ups it opens are the host's, which outlives the window.
  explicit CDlgMain(app::PopupHost& popups, MessageTap tap = nullptr);
  ~CDlgMain() override;

  const wchar_t* GetWindowClassName() const override { return L"TavrinoMain"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"DlgMain.xml"; }
  void InitWindow() override;
  void Notify(tvui::Notification& msg) override;
  void OnClick(tvui::Notification& msg) override;
  void OnTimer(tvui::Notification& msg) override;
  void OnSelectChanged(tvui::Notification&) override {}
  void OnItemSelect(tvui::Notification& msg) override;
  // The window's messages: the test tap's, the first painting, the pointer and keys (the weather
  // icon's, the grid's), the system's changes, the program's own (UM_…), closing and showing.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;

  // Everything the window shows, renewed before it is shown: placement, selectors and today's
  // month, skin, today header, clock, city list, weather panel.
  void RefreshAll();
  void ComputeAnchor();
  void OnDpiChanged() override;
  // The day cells' badges and frames in the system's colours, or back to the skin's pictures.
  void OnHighContrastChanged() override;
  void FillCalendarSelectors();
  void GoToMonth(int month, int year, int selectedDay);
  // Shows the month in the grid (every cell with its almanac lists) and sizes and places the
  // window for its row count; only what changed is laid out and repainted.
  void ShowMonth(int year, int month, int todayDay, int selectedDay);
  void UpdateTodayHeader();
  // --- Time passing and system changes (dlg_main_days.cpp) ---
  // When the date is no longer the one shown as today: today's header, the month on show (its
  // today frame and marks; it follows to the new month unless the user went elsewhere), the
  // holiday record's year and the tray tip. Arms the timer for the next midnight in every case.
  void RenewTodayShown();
  // Sees the clock, time-zone, sleep, display and work-area messages and the weather's updates
  // without answering them (the default handling goes on).
  void ObserveSystemChange(UINT message, WPARAM wParam, LPARAM lParam);
  // The shown window and its pop-ups placed by the clock again, on a monitor that exists.
  void PlaceAgain();
  void UpdateClock();
  void FillCityList(const CityPair& first);
  // Today's weather and air quality from the shared reports (dlg_main_weather.cpp).
  void UpdateWeatherPanel();

  // --- Reminders (dlg_main_reminders.cpp) ---
  // Reads the stored reminders again: shows what is due in a tray notification (once each), sets
  // the reminder timer for the next due moment, and has the grid's marks worked out anew.
  void RenewReminders();
  // The reminders dialog on a day, on the grid's focused day, or on the day cell at a client point
  // (false when there is none).
  void OpenRemindersOn(Day day);
  void OpenRemindersOnFocus();
  bool OpenRemindersAt(POINT client);
  // The last notification's day, shown in the window (its click).
  void ShowNoticeDay() override;

  // Where the window stands by the taskbar; the feedback window is placed beside it.
  const Anchor& GetAnchor() const { return anchor_; }
  int GetCurrentTop() const { return currentTop_; }
  app::PopupHost& Popups() const { return popups_; }

  // What the pop-ups see of the window (app::PopupOwner).
  HWND OwnerWindow() const override { return GetHWND(); }
  tvui::Rect ControlRect(std::u16string_view name) const override;
  tvui::Scale OwnerScale() const override { return GetScale(); }
  const Anchor& OwnerAnchor() const override { return anchor_; }
  int OwnerTop() const override { return currentTop_; }
  bool SetSkinBackground(const std::u16string& image) override;
  std::u16string SkinBackground() const override;

  // The tray icon added anew (at the first painting, and after the taskbar came back).
  void ReplaceTrayIcon();
  // A left click on the tray icon: hides the shown window, shows the hidden one (not within
  // 200 ms of the last show/hide toggle, and without counting as one).
  void ToggleFromTray() override;
  // The tray menu at a screen point (the icon's right click or menu key).
  void ShowTrayMenuAt(std::optional<POINT> at) override;

  // Keyboard (dlg_main_keys.cpp): the grid's arrows, Page Up/Down, Home, Enter and Escape (a
  // value when the key was used); the header's tab stops after the grid's focused day.
  std::optional<LRESULT> AnswerKey(WPARAM key);
  std::vector<tvui::Control*> GetTabStops() override;
  void OnKeyboardFocusMoved(tvui::Control* control) override;
  const GridDay& GetGridFocus() const { return gridFocus_; }
  // For screen readers (main_window_access.cpp): the header's controls, the weather, the grid as a
  // table of named days.
  tvui::AccessNode DescribeForAccess() override;

  // The window's own lines of the state text for tests and measurements (dlg_main_state.cpp; see
  // app/README.md): its place, the month on show with its cells, the header, the day tooltip,
  // the weather panel and the month's timings.
  std::u16string DescribeForTest() const;
  // How often the about window was asked for; the tray icon (nullptr before it was added).
  int AboutRequests() const { return aboutRequests_; }
  const app::CTrayIcon* TrayIcon() const { return trayIcon_.get(); }
  // The month-change benchmark's steps: the next month shown and painted; today's month again.
  void ShowNextMonth(const SystemTime& now);
  void ShowTodayMonth(const SystemTime& now);
  SystemTime Now() const;
  // Microseconds of the last grid rebuild (without placing and painting the window).
  int64_t LastRebuildMicroseconds() const { return lastRebuildUs_; }

 private:
  // The shell's message after the taskbar came back (dlg_main_messages.cpp).
  static UINT TaskbarCreatedMessage();
  void StartTimersAndHook();
  // Takes the taskbar clock or gives it back, as the "clock_click" switch says.
  void ApplyClockSwitch();
  void Toggle();
  void PrepareOtherHeight();
  void ShowNavigated();
  void HoverCheck();
  void HideTooltip();
  void StartRefreshAnimation();
  void RefreshAnimationStep();
  void StopRefreshAnimation();
  void OnWeatherUpdated();
  // Opens the seven-day pop-up beside the window, or closes it.
  void ShowWeatherPopup(bool show);
  void OnCitySelected(int index);
  // The weather icon's pop-up: the pointer coming onto the icon opens it, a press on the icon
  // or Enter or Space on it opens or closes it, a press elsewhere closes it.
  std::optional<LRESULT> AnswerWeatherIcon(const tvui::Message& m);
  // The grid's focused day follows the month on show (its selected day, today, or the same day
  // number); its cell takes the keyboard focus unless a header control holds it.
  void FollowGridFocus(int year, int month, int todayDay, int selectedDay);
  // On every show: the focus on the month's selected day (or today), its mark hidden until a key.
  void FocusGridOnShow();
  int FocusedCellIndex() const;
  // Tells screen readers where the keyboard focus went (and the grid's selection with it).
  void RaiseFocusEvents();
  // The marks of the cells on show that carry a reminder.
  void MarkReminderDays(const MonthDays& days, int cells);
  // The reminder lines of the day in a cell on show (empty without any).
  std::u16string ReminderLinesOf(int cell) const;
  // The day tooltip with the day of a cell on show, by a point of the screen (device pixels).
  void ShowDayTooltip(int cell, POINT screen);

  app::PopupHost& popups_;
  MessageTap tap_ = nullptr;
  tvui::Combo* xcity_ = nullptr;
  tvui::Control* hour_ = nullptr;
  tvui::Control* minute_ = nullptr;
  tvui::Control* sec_ = nullptr;
  tvui::Control* curcity_ = nullptr;

  Anchor anchor_;
  std::optional<tvui::Point> clickedClock_;  // the clock whose click showed the window, if one did
  int currentTop_ = 0;
  MonthNavigator navigator_;
  ToggleGuard toggleGuard_;
  RestingPointer pointer_;
  int weatherUpdates_ = 0;
  std::vector<CityListItem> cityItems_;
  MainHeader header_;   // today's dates and the month selectors
  MonthGridView grid_;  // the month's day cells
  WeatherPanel panel_;  // the weather, air quality and refresh button
  std::unique_ptr<CToolTipDlg> tooltip_;
  std::unique_ptr<app::CTrayIcon> trayIcon_;  // the process's icon in the notification area
  int64_t lastRebuildUs_ = 0;  // the cells restyled (before the window is placed and painted)
  int64_t lastDaysUs_ = 0;     // of which the month's day records with their data
  int showCount_ = 0;
  int aboutRequests_ = 0;
  bool painted_ = false;  // the first painting of the visible window is done
  // The other month height's pictures are wanted: made once the user's pointer or keys come to
  // the window (an untouched window keeps only the shown height's).
  bool otherHeightDue_ = false;
  bool trayAdded_ = false;
  SystemTime shownToday_{};     // the date the header shows as today
  SystemTime lastWeatherAt_{};  // the last weather update, or refresh asked after a wake-up
  GridDay gridFocus_;
  // The stored reminders, the grid's days that carry one, the last notification's day
  // (dlg_main_reminders.cpp).
  std::shared_ptr<ReminderState> reminderState_;
};
