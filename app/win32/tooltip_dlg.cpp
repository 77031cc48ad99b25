#include "app/win32/tooltip_dlg.h"

#include "app/logic/day_cell.h"
#include "app/logic/window_messages.h"
#include "app/win32/state_text.h"

std::optional<LRESULT> CToolTipDlg::OnMessage(const tvui::Message& m) {
  // The labels are filled once the window is up, on the next turn of the message loop.
  if (m.message == WM_SHOWWINDOW && m.wParam) SetTimer(app::kTimerTooltipFill, 1);
  return WindowImplBase::OnMessage(m);
}

void CToolTipDlg::OnTimer(tvui::Notification& msg) {
  if (msg.wParam != app::kTimerTooltipFill) return;
  KillTimer(app::kTimerTooltipFill);
  Fill();
}

void CToolTipDlg::SetDay(const DayInfo& day, std::u16string reminders) {
  TooltipFields fields = TooltipFieldsOf(day, reminders);
  if (fields == fields_) return;
  fields_ = std::move(fields);
  day_ = day;
  reminders_ = std::move(reminders);
  if (GetHWND() && IsWindowVisible(GetHWND())) SetTimer(app::kTimerTooltipFill, 1);
}

void CToolTipDlg::Fill() {
  const TooltipFields& f = fields_;
  const std::pair<const char16_t*, const std::u16string*> targets[] = {
      {u"day", &f.day}, {u"chinsesday", &f.week}, {u"tip", &f.holiday},
      {u"sword", &f.suitable}, {u"svoid", &f.avoid}};
  for (const auto& [name, text] : targets) {
    if (tvui::Control* c = FindControl(name)) c->SetText(*text);
  }
  if (tvui::Control* c = FindControl(u"remind")) {
    c->SetText(f.reminders);
    c->SetVisible(!f.reminders.empty());
  }
  if (GetHWND()) ::InvalidateRect(GetHWND(), nullptr, FALSE);
}

std::u16string CToolTipDlg::DescribeForTest() const {
  using app::StateLine;
  std::u16string s = StateLine(u"tooltip.rect", app::StateRect(GetHWND()));
  s += StateLine(u"tooltip.data", DayDataString(day_) + TooltipRemindersPart(reminders_));
  for (const char16_t* name : {u"day", u"chinsesday", u"tip", u"sword", u"svoid", u"remind"}) {
    s += StateLine(std::u16string(u"tooltip.") + name, app::ControlText(*this, name));
  }
  return s;
}
