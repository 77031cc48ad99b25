#include "app/win32/reminder_dlg.h"

#include <algorithm>
#include <iterator>

#include "app/logic/popup_placement.h"
#include "app/logic/reminder_schedule.h"
#include "app/logic/window_messages.h"
#include "app/win32/entry_points.h"
#include "app/win32/monitor_area.h"
#include "app/win32/state_text.h"
#include "calendar/lunar_dates.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "ui/attribute_values.h"
#include "ui/list.h"
#include "ui/option.h"

using tvui::EqualsNoCase;

namespace {

constexpr const char16_t* kFieldNames[] = {u"edit_title", u"edit_date", u"edit_time", u"edit_notice"};

std::u16string KindOptionName(int index) { return u"kind" + IntToText(index); }

std::u16string DayTitle(Day day) {
  CCalendar c;
  c.Calculate(day);
  std::u16string text = GregorianDayText(day);
  if (c.IsValid()) text += u"  农历" + LunarMonthDayText(c.Lunar());
  return text;
}

}  // namespace

void CRemindDlg::InitWindow() {
  list_ = FindControlAs<tvui::List>(u"remind_list");
  const std::pair<tvui::NativeEdit*, const char16_t*> fields[] = {
      {&title_, u"提醒内容"}, {&date_, u"日期"}, {&time_, u"时间"}, {&notice_, u"提前天数"}};
  for (size_t i = 0; i < std::size(fields); ++i) {
    tvui::Control* place = FindControl(kFieldNames[i]);
    if (!place || !fields[i].first->Create(*this, place, fields[i].second, i == 0 ? kMaxReminderTitle : 10)) {
      LogError(std::u16string(u"reminders: no field ") + kFieldNames[i] + u" in the dialog");
    }
  }
}

tvui::NativeEdit* CRemindDlg::EditAt(const tvui::Control* place) {
  for (tvui::NativeEdit* e : {&title_, &date_, &time_, &notice_})
    if (place && e->Where() == place) return e;
  return nullptr;
}

void CRemindDlg::PlaceFields() {
  GetManager().Layout();
  for (tvui::NativeEdit* e : {&title_, &date_, &time_, &notice_}) e->Place();
}

void CRemindDlg::OpenOn(Day day, const std::u16string& titleImage) {
  day_ = day;
  if (tvui::Control* title = FindControl(u"title")) title->SetBkImage(titleImage);
  if (tvui::Control* label = FindControl(u"remind_day")) label->SetText(DayTitle(day));
  Reload(0);
  ShowForm(NewReminderForm(day));
  editing_ = 0;
  RECT main{};
  GetWindowRect(owner_, &main);
  const tvui::Rect mainRect{main.left, main.top, main.right, main.bottom};
  const MonitorArea monitor = app::MonitorAreaOf(mainRect, GetHWND());
  const tvui::Rect at = PlaceReminders(mainRect, monitor.work, tvui::Scale(monitor.dpi));
  MoveWindowTo(at.left, at.top, at.Width(), at.Height());
  ShowWindow(true, true);
  PlaceFields();
  SetKeyboardFocus(FindControl(u"edit_title"), false);
}

void CRemindDlg::Hide() {
  if (GetHWND() && IsWindowVisible(GetHWND())) ShowWindow(false);
}

void CRemindDlg::Reload(int64_t select) {
  shown_ = ReminderDays(LoadReminders(), day_, day_).On(day_);
  if (!list_) return;
  list_->RemoveAll();
  int chosen = -1;
  for (size_t i = 0; i < shown_.size(); ++i) {
    auto item = std::make_unique<tvui::ListLabelElement>();
    item->SetText(ReminderListLine(shown_[i]));
    item->SetAttribute(u"textpadding", u"6,0,4,0");
    item->SetAttribute(u"endellipsis", u"true");
    item->SetFixedHeight(22);
    list_->Add(std::move(item));
    if (shown_[i].id == select) chosen = static_cast<int>(i);
  }
  if (chosen >= 0) list_->SelectItem(chosen, false);
  if (tvui::Control* del = FindControl(u"btn_delete")) del->SetEnabled(chosen >= 0);
}

void CRemindDlg::ShowForm(const ReminderForm& form) {
  title_.SetText(form.title);
  time_.SetText(form.time);
  notice_.SetText(form.notice);
  SetKind(form.kind, false);
  date_.SetText(form.date);
  SetProblem(u"");
}

ReminderForm CRemindDlg::ReadForm() const {
  return ReminderForm{title_.Text(), kind_, date_.Text(), time_.Text(), notice_.Text()};
}

void CRemindDlg::SetKind(RecurrenceKind kind, bool refillDate) {
  kind_ = kind;
  const int index = FormKindIndex(kind);
  if (auto* option = FindControlAs<tvui::Option>(KindOptionName(index))) option->Selected(true, false);
  if (tvui::Control* hint = FindControl(u"date_hint")) hint->SetText(FormDateHint(kind));
  if (refillDate) date_.SetText(FormDateFor(kind, day_));
}

void CRemindDlg::SetProblem(const std::u16string& text) {
  if (tvui::Control* problem = FindControl(u"problem")) problem->SetText(text);
}

void CRemindDlg::Save() {
  const FormCheck check = CheckReminderForm(ReadForm());
  if (!check.problem.empty()) {
    SetProblem(check.problem);  // nothing stored
    return;
  }
  const ReminderSave saved = editing_ ? UpdateReminder(editing_, check.draft) : AddReminder(check.draft);
  if (saved.id == 0) {
    SetProblem(saved.problem.empty() ? std::u16string(u"未能保存提醒。") : u"未能保存提醒：" + saved.problem);
    return;
  }
  editing_ = saved.id;
  Reload(saved.id);
  SetProblem(shown_.empty() || std::none_of(shown_.begin(), shown_.end(), [&](const Reminder& r) { return r.id == saved.id; })
                 ? u"已保存；它不落在这一天。"
                 : u"已保存。");
  ::PostMessageW(owner_, app::UM_REMINDERS_CHANGED, 0, 0);
}

void CRemindDlg::DeleteChosen() {
  const int index = list_ ? list_->GetCurSel() : -1;
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  if (!DeleteReminder(shown_[index].id)) {
    SetProblem(u"未能删除提醒。");
    return;
  }
  Reload(0);
  editing_ = 0;
  ShowForm(NewReminderForm(day_));
  SetProblem(u"已删除。");
  ::PostMessageW(owner_, app::UM_REMINDERS_CHANGED, 0, 0);
}

void CRemindDlg::Notify(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (msg.type == tvui::NotifyType::kItemSelect && EqualsNoCase(name, u"remind_list")) {
    const int index = static_cast<int>(msg.wParam);
    if (index >= 0 && index < static_cast<int>(shown_.size())) {
      editing_ = shown_[index].id;
      ShowForm(FormOf(shown_[index]));
      if (tvui::Control* del = FindControl(u"btn_delete")) del->SetEnabled(true);
    }
  } else if (msg.type == tvui::NotifyType::kSelectChanged) {
    for (int i = 0; i < kReminderFormKindCount; ++i) {
      auto* option = dynamic_cast<tvui::Option*>(msg.sender);
      if (EqualsNoCase(name, KindOptionName(i)) && option && option->IsSelected() && kReminderFormKinds[i] != kind_)
        SetKind(kReminderFormKinds[i], true);
    }
  }
  WindowImplBase::Notify(msg);
}

void CRemindDlg::OnClick(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (EqualsNoCase(name, u"closex")) {
    Hide();
    ReturnFocusToOwner();
  } else if (EqualsNoCase(name, u"btn_save")) {
    Save();
  } else if (EqualsNoCase(name, u"btn_delete")) {
    DeleteChosen();
  } else if (EqualsNoCase(name, u"btn_new")) {
    editing_ = 0;
    if (list_) list_->SelectItem(-1, false);
    Reload(0);
    ShowForm(NewReminderForm(day_));
    SetKeyboardFocus(FindControl(u"edit_title"), true);
  }
}

std::optional<LRESULT> CRemindDlg::OnMessage(const tvui::Message& m) {
  if (m.message == WM_COMMAND && HIWORD(m.wParam) == EN_SETFOCUS) {
    // A click into a field: the window's focus goes with it, so Tab walks on from there.
    for (tvui::NativeEdit* e : {&title_, &date_, &time_, &notice_}) {
      if (e->Handle() == reinterpret_cast<HWND>(m.lParam) && GetKeyboardFocus() != e->Where())
        SetKeyboardFocus(e->Where(), false);
    }
    return 0;
  }
  if (m.message == WM_KEYDOWN) {
    // The arrows on the chosen kind choose the next or previous kind.
    tvui::Control* focus = GetKeyboardFocus();
    const int chosen = FormKindIndex(kind_);
    const bool onKind = focus && EqualsNoCase(focus->GetName(), KindOptionName(chosen));
    const WPARAM key = m.wParam;
    if (onKind && (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)) {
      const int step = key == VK_RIGHT || key == VK_DOWN ? 1 : kReminderFormKindCount - 1;
      const int next = (chosen + step) % kReminderFormKindCount;
      SetKind(kReminderFormKinds[next], true);
      SetKeyboardFocus(FindControl(KindOptionName(next)), true);
      return 0;
    }
  }
  if (IsDialogKey(m, VK_ESCAPE)) {
    Hide();
    ReturnFocusToOwner();
    return 1;
  }
  if (IsDialogKey(m, VK_RETURN) && EditAt(GetKeyboardFocus())) {
    Save();
    return 1;
  }
  return WindowImplBase::OnMessage(m);
}

std::vector<tvui::Control*> CRemindDlg::GetTabStops() {
  std::vector<tvui::Control*> stops;
  auto add = [&](std::u16string_view name) {
    if (tvui::Control* c = FindControl(name); c && c->IsShown() && c->IsEnabled()) stops.push_back(c);
  };
  if (list_ && list_->GetCount() > 0) {
    tvui::Control* item = list_->GetItemAt(list_->GetCurSel() >= 0 ? list_->GetCurSel() : 0);
    if (item) stops.push_back(item);
  }
  add(u"edit_title");
  add(KindOptionName(FormKindIndex(kind_)));  // the chosen kind; the arrows choose another
  for (const char16_t* name : {u"edit_date", u"edit_time", u"edit_notice", u"btn_new", u"btn_delete", u"btn_save", u"closex"})
    add(name);
  return stops;
}

void CRemindDlg::OnKeyboardFocusMoved(tvui::Control* control) {
  if (tvui::NativeEdit* edit = EditAt(control)) {
    if (GetFocus() != edit->Handle()) edit->Focus();
  } else if (GetHWND() && GetFocus() != GetHWND()) {
    SetFocus(GetHWND());  // the keys go to the window's own controls again
  }
}

std::u16string CRemindDlg::DescribeForTest() {
  const auto& line = app::StateLine;
  std::u16string s = line(u"remind", IsWindowVisible(GetHWND()) ? u"shown" : u"hidden");
  s += line(u"remind.rect", app::StateRect(GetHWND()));
  s += line(u"remind.day", IntToText(day_.Year()) + u"-" + IntToText(day_.Month()) + u"-" + IntToText(day_.DayOfMonth()));
  std::u16string items;
  for (const Reminder& r : shown_) items += ReminderListLine(r) + u";";
  s += line(u"remind.list", items);
  s += line(u"remind.chosen", IntToText(list_ ? list_->GetCurSel() : -1));
  s += line(u"remind.editing", IntToText(editing_));
  const ReminderForm f = ReadForm();
  s += line(u"remind.form", f.title + u"|" + IntToText(FormKindIndex(f.kind)) + u"|" + f.date + u"|" + f.time + u"|" + f.notice);
  tvui::Control* problem = FindControl(u"problem");
  s += line(u"remind.problem", problem ? problem->GetText() : u"");
  tvui::Control* title = FindControl(u"title");
  s += line(u"remind.title", title ? title->GetBkImage() : u"");
  tvui::Control* focus = GetKeyboardFocus();
  s += line(u"remind.focus", focus ? focus->GetName() : u"");
  // Where to click: the middle of each control, in screen pixels.
  for (const char16_t* name : {u"edit_title", u"edit_date", u"edit_time", u"edit_notice", u"kind0", u"kind1",
                               u"kind2", u"kind3", u"kind4", u"btn_new", u"btn_delete", u"btn_save", u"closex",
                               u"remind_list"}) {
    tvui::Control* c = FindControl(name);
    if (!c) continue;
    const tvui::Rect px = GetScale().ToDevice(c->GetPos());
    POINT p{(px.left + px.right) / 2, (px.top + px.bottom) / 2};
    ClientToScreen(GetHWND(), &p);
    s += line(std::u16string(u"remind.at.") + name, IntToText(p.x) + u"," + IntToText(p.y));
  }
  if (list_ && list_->GetCount() > 0) {
    const tvui::Rect px = GetScale().ToDevice(list_->GetItemAt(0)->GetPos());
    POINT p{(px.left + px.right) / 2, (px.top + px.bottom) / 2};
    ClientToScreen(GetHWND(), &p);
    s += line(u"remind.at.item0", IntToText(p.x) + u"," + IntToText(p.y));
  }
  return s;
}
