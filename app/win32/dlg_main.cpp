#include "app/win32/dlg_main.h"

#include <windowsx.h>

#include <algorithm>

#include "app/logic/day_cell.h"
#include "app/logic/day_watch.h"
#include "app/logic/header_texts.h"
#include "app/logic/month_layout.h"
#include "app/logic/settings_switches.h"
#include "app/logic/tray_rules.h"
#include "app/logic/weather_popup_view.h"
#include "app/logic/window_messages.h"
#include "app/win32/day_cell_contrast.h"
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
#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
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
#include "ui/option.h"
#include "weather/city_codes.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

using tvui::EqualsNoCase;
using tvui::Notification;

namespace {

void Record(int code) { RecordUsageEvent(code, u"0"); }

const std::u16string& NameOf(const tvui::Control* c) {
  static const std::u16string none;
  return c ? c->GetName() : none;
}

}  // namespace

CDlgMain::CDlgMain(app::PopupHost& popups, MessageTap tap) : popups_(popups), tap_(tap) {
  TaskbarCreatedMessage();  // registered before the shell can send it
  popups_.SetOwner(this);
}

CDlgMain::~CDlgMain() {
  popups_.CloseTrayMenu();
  trayIcon_.reset();
  popups_.SetOwner(nullptr);
}

tvui::Rect CDlgMain::ControlRect(std::u16string_view name) const {
  tvui::Control* c = FindControl(name);
  if (!c) {
    LogError(u"app: the main window's skin has no control " + std::u16string(name));
    return {};
  }
  return c->GetPos();
}

bool CDlgMain::SetSkinBackground(const std::u16string& image) {
  tvui::Control* background = FindControl(u"chwea");
  if (!background) return false;
  background->SetBkImage(image);
  return true;
}

std::u16string CDlgMain::SkinBackground() const {
  tvui::Control* background = FindControl(u"chwea");
  return background ? background->GetBkImage() : u"";
}

SystemTime CDlgMain::Now() const { return LocalNow(); }

void CDlgMain::InitWindow() {
  // Without its skin the window is not used at all (start-up reports it and ends): no timers,
  // no clock hook, no tray icon.
  if (!GetSkinError().empty()) return;
  app::MarkStartStep(u"skin");
  header_.Attach(*this);
  xcity_ = FindControlAs<tvui::Combo>(u"xcity");
  hour_ = FindControl(u"hour");
  minute_ = FindControl(u"minute");
  sec_ = FindControl(u"sec");
  panel_.Attach(*this);
  curcity_ = FindControl(u"curcity");
  tvui::Control* menology = FindControl(u"menology");
  grid_.Attach(menology ? menology->AsContainer() : nullptr);
  // A skin without one of these would leave the window unusable: say which, once.
  const std::pair<const char16_t*, const void*> required[] = {
      {u"CmbYear", header_.Year()},   {u"CmbMonth", header_.Month()},
      {u"CmbHoliday", header_.Holiday()}, {u"xcity", xcity_},
      {u"hour", hour_},               {u"minute", minute_},
      {u"sec", sec_},                 {u"worldday", header_.WorldDay()},
      {u"chineseday", header_.ChineseDay()}, {u"menology", grid_.Container()}};
  for (const auto& [name, control] : required) {
    if (!control) LogError(std::u16string(u"app: the main window's skin has no control ") + name);
  }

  StartTimersAndHook();
  SetIcon(app::kIconWindow);
  // The tray icon (a round trip to the shell) follows the first painting: UM_ADD_TRAY_ICON.
}

void CDlgMain::StartTimersAndHook() {
  SetTimer(app::kTimerClock, 500);
  SetTimer(app::kTimerHover, 200);
  SetTimer(app::kTimerWeatherPeriodic, 1800000);
  SetTimer(app::kTimerMidnight, MillisecondsToNextMidnight(Now()));
  ApplyClockSwitch();
  app::MarkStartStep(u"clock_hook");
  RefreshAll();
  app::MarkStartStep(u"refresh_all");
  RenewReminders();
}

// --- Refresh for display ---

void CDlgMain::RefreshAll() {
  ComputeAnchor();
  FillCalendarSelectors();
  app::MarkStartStep(u"month");
  popups_.ApplySavedSkin();
  app::MarkStartStep(u"saved_skin");
  UpdateTodayHeader();
  UpdateClock();
  CurrentCity city = GetCurrentCity();
  AddToMyCities(city.province, city.city);
  FillCityList({city.province, city.city});
  UpdateWeatherPanel();
}

void CDlgMain::ComputeAnchor() {
  // By the clock: beside the taskbar that holds the clicked one, on its monitor, at that
  // monitor's scale.
  const app::AnchorTaskbar by = app::FindAnchorTaskbar(clickedClock_, GetHWND());
  ::ComputeAnchor(by.monitor, by.taskbar, anchor_);
}

void CDlgMain::ApplyClockSwitch() {
  if (IsSwitchOn(kClockClickSwitch, GetUserConfig(kClockClickSwitch.key))) {
    StartClockHook(GetHWND());
  } else {
    StopClockHook();
  }
}

void CDlgMain::OnDpiChanged() {
  // The scale of the display changed, or the window was taken to another monitor: back to the
  // clock, at the scale of the monitor it is on.
  ComputeAnchor();
  ShowNavigated();
  otherHeightDue_ = true;  // its pictures at the new scale, when the user comes
}

void CDlgMain::OnHighContrastChanged() { ShowNavigated(); }

void CDlgMain::PrepareOtherHeight() {
  // The first change between a five-row and a six-row month would otherwise wait for the other
  // height's pictures to be decoded and stretched (some 10 ms at 200 %): they are made now, while
  // nobody waits, by drawing the window once at that height out of sight.
  if (grid_.Rows() == 0) return;
  tvui::Control* card = FindControl(u"tv_mouth_info");
  const std::u16string shownCard = card ? card->GetBkImage() : u"";
  const MonthWindowPlacement other = PlaceMonthWindow(anchor_, grid_.Rows() >= 6 ? 5 : 6);
  PrepareSize(other.rect.Width(), other.rect.Height(), [&](bool there) {
    if (card) card->SetBkImage(there ? std::u16string(other.background) : shownCard);
  });
}

void CDlgMain::FillCalendarSelectors() {
  header_.FillSelectors();
  navigator_.Reset(Now());
  ShowNavigated();
}

void CDlgMain::GoToMonth(int month, int year, int selectedDay) {
  navigator_.GoToMonth(month, year, selectedDay, Now());
  ShowNavigated();
}

void CDlgMain::ShowNavigated() {
  header_.Mirror(navigator_);
  const ShownMonth& s = navigator_.Shown();
  ShowMonth(s.year, s.month, s.todayDay, s.selectedDay);
}

void CDlgMain::ShowMonth(int year, int month, int todayDay, int selectedDay) {
  int64_t start = app::MicrosecondsNow();
  MonthShape shape = ShapeOfMonth(year, month);
  if (shape.rows == 0) {
    LogError(u"app: no month grid for " + IntToText(year) + u"-" + IntToText(month));
    return;
  }
  int cells = shape.rows * kGridColumns;
  // The cells on show, and the one after the last (its month decides the last cell's width),
  // with their almanac lists: the month's data is read once for all of them.
  MonthDays days = LayOutMonthDays(year, month, std::min(cells + 1, kGridCells));
  lastDaysUs_ = app::MicrosecondsNow() - start;
  HideTooltip();
  // Every cell is restyled before the window changes size, so no painting shows a half-built
  // month.
  grid_.Show(*this, std::move(days), shape.rows, month, todayDay, selectedDay);
  MarkReminderDays(grid_.Days(), cells);

  MonthWindowPlacement place = PlaceMonthWindow(anchor_, shape.rows);
  if (tvui::Control* card = FindControl(u"tv_mouth_info")) card->SetBkImage(std::u16string(place.background));
  currentTop_ = place.rect.top;
  lastRebuildUs_ = app::MicrosecondsNow() - start;
  // A change of row count moves, sizes and reshapes the window in one step and paints it at once.
  PlaceWindow(place.rect.left, place.rect.top, place.rect.Width(), place.rect.Height());
  FollowGridFocus(year, month, todayDay, selectedDay);
}

void CDlgMain::UpdateTodayHeader() {
  shownToday_ = Now();
  DayInfo today = BuildDayInfo(DayOfClock(shownToday_));
  header_.ShowToday(today);
  app::SetTrayTipDay(trayIcon_.get(), WorldDayText(today) + u" " + ChineseDayText(today));
}

void CDlgMain::UpdateClock() {
  ClockTexts t = ClockTextsOf(Now());
  if (hour_) hour_->SetText(t.hour);
  if (minute_) minute_->SetText(t.minute);
  if (sec_) sec_->SetText(t.second);
}

void CDlgMain::FillCityList(const CityPair& first) {
  cityItems_ = BuildCityList(first, ListMyCities());
  if (!xcity_) return;
  xcity_->RemoveAll();
  for (const CityListItem& item : cityItems_) xcity_->AddItem(item.text);
  xcity_->SelectItem(0, false);  // silent: a refill is no choice of the user's
}

void CDlgMain::OnCitySelected(int index) {
  if (index < 0 || index >= static_cast<int>(cityItems_.size())) return;
  CityListItem item = cityItems_[index];
  CurrentCity current = GetCurrentCity();
  CityChoice choice = ChooseCityItem(item, {current.province, current.city});
  if (choice.kind == CityChoice::kPicker) {
    Record(kUsageCityPicker);
    if (xcity_) xcity_->SelectItem(0, false);
    if (!popups_.IsCityPickerVisible()) popups_.OpenCityPicker();
    return;
  }
  AddToMyCities(choice.pair.province, choice.pair.city);
  FillCityList(item.pair);
  // A pair without a weather code is not made current, and nothing of it is stored.
  if (choice.changesCurrent && SelectCity(choice.pair.city, choice.pair.province)) {
    SetUserConfig(choice.pair.province, u"province");
    SetUserConfig(choice.pair.city, u"city");
    StartRefreshAnimation();
  }
}

// --- Notifications ---

void CDlgMain::Notify(Notification& msg) {
  if (!GetSkinError().empty()) return;  // a window without its skin is only there to be closed
  const std::u16string& name = NameOf(msg.sender);
  if (msg.type == tvui::NotifyType::kWindowInit) {
    popups_.ApplySavedSkin();
  } else if (msg.type == tvui::NotifyType::kItemClick) {
    if (EqualsNoCase(name, u"CmbYear")) Record(kUsageYear);
    else if (EqualsNoCase(name, u"CmbMonth")) Record(kUsageMonth);
    else if (EqualsNoCase(name, u"CmbHoliday")) Record(kUsageHoliday);
    return;
  } else if (msg.type == tvui::NotifyType::kMouseLeave && EqualsNoCase(name, u"isSelect")) {
    HideTooltip();  // the pointer left a day cell
  }
  WindowImplBase::Notify(msg);
}

void CDlgMain::OnClick(Notification& msg) {
  const std::u16string& name = NameOf(msg.sender);
  SystemTime now = Now();
  if (EqualsNoCase(name, u"closebtn")) {
    Close();
  } else if (EqualsNoCase(name, u"skin")) {
    Record(kUsageSkin);
    popups_.OpenSkinChooser();
  } else if (EqualsNoCase(name, u"sendqq")) {
    Record(kUsageContact);
    popups_.ShowAutostartPrompt(!IsAutostartRegistered());
  } else if (EqualsNoCase(name, u"close")) {
    Record(kUsageHide);
    popups_.HideAll();
    HideTooltip();
    ShowWindow(false);
  } else if (EqualsNoCase(name, u"set")) {
    Record(kUsageSettings);
    popups_.OpenSettings();
  } else if (EqualsNoCase(name, u"note")) {
    // The note program when one is installed beside this one, else the reminders of the day.
    if (app::NoteProgramInstalled()) app::LaunchNote(GetHWND());
    else OpenRemindersOnFocus();
  } else if (EqualsNoCase(name, u"curcity") || EqualsNoCase(name, u"city")) {
    Record(kUsageCityPicker);
    popups_.HideAll();
    popups_.OpenCityPicker();
  } else if (EqualsNoCase(name, u"returntoday")) {
    Record(kUsageToday);
    navigator_.ReturnToday(now);
    ShowNavigated();
  } else if (EqualsNoCase(name, u"remind")) {
    Record(kUsageRemind);
  } else if (EqualsNoCase(name, u"monLeft")) {
    Record(kUsagePrevious);
    navigator_.Previous(now);
    ShowNavigated();
  } else if (EqualsNoCase(name, u"monRight")) {
    Record(kUsageNext);
    navigator_.Next(now);
    ShowNavigated();
  } else if (EqualsNoCase(name, u"refresh")) {
    Record(kUsageRefresh);
    StartRefreshAnimation();
  }
}

void CDlgMain::OnItemSelect(Notification& msg) {
  const std::u16string& name = NameOf(msg.sender);
  int index = static_cast<int>(msg.wParam);
  SystemTime now = Now();
  if (EqualsNoCase(name, u"CmbYear")) {
    if (navigator_.ChooseYear(index, now)) ShowNavigated();
  } else if (EqualsNoCase(name, u"CmbMonth")) {
    if (navigator_.ChooseMonth(index, now)) ShowNavigated();
  } else if (EqualsNoCase(name, u"CmbHoliday")) {
    ShownMonth before = navigator_.Shown();
    if (navigator_.ChooseHoliday(index, *HolidayArrangementSnapshot(), now) && !(navigator_.Shown() == before)) {
      ShowNavigated();
    }
  } else if (EqualsNoCase(name, u"xcity")) {
    OnCitySelected(index);
  }
}

// --- Timers ---

void CDlgMain::OnTimer(Notification& msg) {
  switch (msg.wParam) {
    case app::kTimerClock:
      UpdateClock();
      break;
    case app::kTimerRefreshAnim:
      RefreshAnimationStep();
      break;
    case app::kTimerWeatherPeriodic: {
      CurrentCity city = GetCurrentCity();
      SwitchCity(city.city, city.province);
      break;
    }
    case app::kTimerHover:
      HoverCheck();
      break;
    case app::kTimerMidnight:
      RenewTodayShown();
      break;
    case app::kTimerReminder:
      RenewReminders();
      break;
    default:
      break;
  }
}

void CDlgMain::HoverCheck() {
  HWND hwnd = GetHWND();
  if (!hwnd || !IsWindowVisible(hwnd)) return;
  POINT screen;
  if (!GetCursorPos(&screen)) return;
  if (WindowFromPoint(screen) != hwnd) return;  // a pop-up stands over the grid there
  if (popups_.IsRemindersShown()) return;          // the tooltip would take the typing away
  POINT client = screen;
  ScreenToClient(hwnd, &client);
  if (!pointer_.RestsAt(client.x, client.y, GetTickCount())) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (!PtInRect(&rc, client)) return;
  tvui::Control* control = FindControl(client);
  if (!control || !EqualsNoCase(control->GetName(), u"isSelect")) return;
  for (int i = 0; i < grid_.Rows() * kGridColumns; ++i) {
    if (grid_.DayControl(i) == control) ShowDayTooltip(i, screen);
  }
}

void CDlgMain::ShowDayTooltip(int cell, POINT screen) {
  if (!grid_.DayControl(cell)) return;
  HWND hwnd = GetHWND();
  if (!tooltip_) {
    auto tip = std::make_unique<CToolTipDlg>();
    if (!tip->Create(nullptr, L"CToolTipDlg", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) {
      LogError(u"app: cannot create the day tooltip");
      return;
    }
    tooltip_ = std::move(tip);
  }
  std::u16string reminders = ReminderLinesOf(cell);
  const int extra = reminders.empty() ? 0 : kTooltipReminderRow;
  tooltip_->SetDay(grid_.Days().days[cell], std::move(reminders));
  // At the pointer, inside the work area and at the scale of the pointer's monitor.
  const MonitorArea monitor = app::MonitorAreaAt(screen, hwnd);
  const tvui::Scale scale(monitor.dpi);
  tvui::Point at = PlaceDayTooltip({screen.x, screen.y}, monitor.work, scale, extra);
  tooltip_->MoveWindowTo(at.x, at.y, scale.ToDevice(kTooltipWidth), scale.ToDevice(kTooltipHeight + extra));
  tooltip_->ShowWindow(true, true);
}

void CDlgMain::HideTooltip() {
  if (tooltip_ && tooltip_->GetHWND() && IsWindowVisible(tooltip_->GetHWND())) tooltip_->ShowWindow(false);
}
