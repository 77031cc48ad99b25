#pragma once
// CRemindDlg: the reminders of one day ("remind.xml"): the day's list, and a form to add one, or
// to change or delete the one chosen in the list. Its rules (fields, checks, list lines) are
// app/logic/reminder_form.h; the store is calendar/reminder_store.h. After every change the main
// window hears UM_REMINDERS_CHANGED (its marks, tooltips and reminder timer follow). Escape and
// "closex" hide it; Tab walks the list, the fields, the chosen kind (the arrows choose another) and the
// buttons; Enter in a field saves.
#include <memory>
#include <string>
#include <vector>

#include "app/logic/reminder_form.h"
#include "ui/win32/native_edit.h"
#include "ui/win32/window_impl_base.h"

namespace tvui {
class List;
}

class CRemindDlg : public tvui::WindowImplBase {
 public:
  explicit CRemindDlg(HWND owner) : owner_(owner) {}
  const wchar_t* GetWindowClassName() const override { return L"CRemindDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"remind.xml"; }
  void InitWindow() override;
  void Notify(tvui::Notification& msg) override;
  void OnClick(tvui::Notification& msg) override;
  // A field's focus from a click; the arrows on the chosen kind choose the previous or next kind,
  // as in a group of radio buttons; Escape hides it, Enter in a field saves.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;
  std::vector<tvui::Control*> GetTabStops() override;
  void OnKeyboardFocusMoved(tvui::Control* control) override;
  void OnDpiChanged() override { PlaceFields(); }

  // Shows the day's reminders and an empty form for a new one on that day, with the title band
  // in the active skin's picture.
  void OpenOn(Day day, const std::u16string& titleImage);
  void Hide();
  // The window's "remind…" lines of the state text.
  std::u16string DescribeForTest();

 private:
  void Reload(int64_t select);
  void ShowForm(const ReminderForm& form);
  ReminderForm ReadForm() const;
  void SetKind(RecurrenceKind kind, bool refillDate);
  void Save();
  void DeleteChosen();
  void PlaceFields();
  void SetProblem(const std::u16string& text);
  tvui::NativeEdit* EditAt(const tvui::Control* place);

  HWND owner_;
  Day day_;
  std::vector<Reminder> shown_;  // the list's reminders, in its order
  int64_t editing_ = 0;          // the reminder the form changes; 0 for a new one
  RecurrenceKind kind_ = RecurrenceKind::kLunarYearly;
  tvui::List* list_ = nullptr;
  tvui::NativeEdit title_, date_, time_, notice_;
};

// Its entry points (OpenReminders, …): app/win32/entry_points.h.
