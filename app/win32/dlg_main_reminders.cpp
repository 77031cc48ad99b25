// The calendar window and the user's reminders: the days of the month on show that carry one
// (a mark in the cell, the lines in the day tooltip), the reminders dialog opened on a day, and
// the one timer set for the next due reminder, whose notification opens its day.
// First: the grid's MonthDays before calendar/ccalendar.h's function of that name.
#include "app/win32/dlg_main.h"
#include "app/win32/popup_host.h"
#include "app/win32/entry_points.h"

#include "app/logic/reminder_schedule.h"
#include "app/logic/window_messages.h"
#include "app/win32/tray_icon.h"
#include "platform/date_time.h"
#include "platform/log.h"
#include "ui/attribute_values.h"

// What the window keeps of the reminders.
struct ReminderState {
  std::vector<Reminder> reminders;
  ReminderDays days;  // of the span below
  std::pair<Day, Day> span;
  bool stale = true;
  std::optional<Day> noticeDay;  // the day of the last notification
};

void CDlgMain::RenewReminders() {
  if (!reminderState_) reminderState_ = std::make_shared<ReminderState>();
  ReminderState& r = *reminderState_;
  r.reminders = LoadReminders();
  r.stale = true;
  const SystemTime now = Now();
  const ReminderSchedule schedule = ScheduleReminders(r.reminders, now);
  if (!schedule.dueNow.empty()) {
    const ReminderNotice notice = NoticeOf(schedule.dueNow, now);
    // Without an icon on show (early in the start) they stay due: the icon's arrival renews them.
    if (trayIcon_ && trayIcon_->ShowBalloon(notice.title, notice.text)) {
      r.noticeDay = notice.day;
      for (const DueReminder& due : schedule.dueNow) {
        if (!MarkReminderShown(due.id, due.occurrence.date)) LogError(u"reminders: a shown reminder was not recorded");
      }
      r.reminders = LoadReminders();
    }
  }
  if (schedule.nextDue) {
    SetTimer(app::kTimerReminder, ReminderWaitMs(now, *schedule.nextDue));
  } else {
    KillTimer(app::kTimerReminder);
  }
}

void CDlgMain::MarkReminderDays(const struct MonthDays& days, int cells) {
  if (cells <= 0 || grid_.Cells().empty() || !reminderState_) return;
  ReminderState& r = *reminderState_;
  // Worked out once per month on show and per change of the reminders, not per painting.
  const Day first = days.days[0].date;
  const Day last = days.days[cells - 1].date;
  if (r.stale || first != r.span.first || last != r.span.second) {
    r.days = ReminderDays(r.reminders, first, last);
    r.span = {first, last};
    r.stale = false;
  }
  for (int i = 0; i < cells && i < static_cast<int>(grid_.Cells().size()); ++i) {
    if (tvui::Control* mark = grid_.Cells()[i]->FindSubControl(u"remindmark"))
      mark->SetVisible(r.days.Has(days.days[i].date));
  }
}

std::u16string CDlgMain::ReminderLinesOf(int cell) const {
  if (!reminderState_ || cell < 0 || cell >= kGridCells) return {};
  return reminderState_->days.Text(grid_.Days().days[cell].date);
}

void CDlgMain::OpenRemindersOn(Day day) {
  HideTooltip();
  popups_.OpenReminders(day);
}

void CDlgMain::OpenRemindersOnFocus() {
  const std::optional<Day> focused = Day::FromValidCivil(gridFocus_.year, gridFocus_.month, gridFocus_.day);
  if (const std::optional<Day> day = focused ? focused : DayOf(Now())) OpenRemindersOn(*day);
}

bool CDlgMain::OpenRemindersAt(POINT client) {
  tvui::Control* control = FindControl(client);
  if (!control || !tvui::EqualsNoCase(control->GetName(), u"isSelect")) return false;
  for (size_t i = 0; i < grid_.Cells().size() && i < grid_.Days().days.size(); ++i) {
    if (control->GetParent() == grid_.Cells()[i]) {
      OpenRemindersOn(grid_.Days().days[i].date);
      return true;
    }
  }
  return false;
}

void CDlgMain::ShowNoticeDay() {
  if (!reminderState_ || !reminderState_->noticeDay) return;
  const Day day = *reminderState_->noticeDay;
  HWND hwnd = GetHWND();
  if (!IsWindowVisible(hwnd)) {
    clickedClock_.reset();  // by the taskbar that holds a clock
    RefreshAll();
  }
  GoToMonth(day.Month(), day.Year(), day.DayOfMonth());
  ShowWindow(true, true);
  SetForegroundWindow(hwnd);
}
