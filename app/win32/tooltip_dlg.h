#pragma once
// CToolTipDlg: the small pop-up with one day's details, shown while the pointer rests on a day
// of the month grid: the texts of the day's record and its reminder lines.
#include <string>

#include "app/logic/tooltip_fields.h"
#include "calendar/day_info.h"
#include "ui/win32/window_impl_base.h"

class CToolTipDlg : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CToolTipDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"tooltip.xml"; }
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;
  void OnTimer(tvui::Notification& msg) override;

  // The day to show and its reminder lines; another day while the pop-up is up is shown at once.
  void SetDay(const DayInfo& day, std::u16string reminders);
  const DayInfo& GetDay() const { return day_; }
  const std::u16string& GetReminders() const { return reminders_; }
  // Fills the labels from the day now.
  void Fill();
  // The window's "tooltip.…" lines of the state text (its place, day and labels).
  std::u16string DescribeForTest() const;

 private:
  DayInfo day_;
  std::u16string reminders_;
  TooltipFields fields_;
};
