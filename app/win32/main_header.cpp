#include "app/win32/main_header.h"

#include <utility>
#include <vector>

#include "app/logic/header_texts.h"
#include "app/logic/month_navigator.h"
#include "app/win32/state_text.h"
#include "calendar/day_info.h"
#include "platform/text_utils.h"
#include "ui/combo.h"
#include "ui/win32/window_impl_base.h"

void MainHeader::Attach(const tvui::WindowImplBase& window) {
  year_ = window.FindControlAs<tvui::Combo>(u"CmbYear");
  month_ = window.FindControlAs<tvui::Combo>(u"CmbMonth");
  holiday_ = window.FindControlAs<tvui::Combo>(u"CmbHoliday");
  worldday_ = window.FindControl(u"worldday");
  chineseday_ = window.FindControl(u"chineseday");
}

void MainHeader::FillSelectors() {
  const std::pair<tvui::Combo*, std::vector<std::u16string>> lists[] = {
      {year_, YearSelectorItems()}, {month_, MonthSelectorItems()}, {holiday_, HolidaySelectorItems()}};
  for (const auto& [combo, items] : lists) {
    if (!combo) continue;
    combo->RemoveAll();
    for (const std::u16string& text : items) combo->AddItem(text);
  }
}

void MainHeader::Mirror(const MonthNavigator& navigator) {
  if (year_) year_->SelectItem(navigator.YearIndex(), false);
  if (month_) month_->SelectItem(navigator.MonthIndex(), false);
  if (holiday_) holiday_->SelectItem(navigator.HolidayIndex(), false);
}

void MainHeader::ShowToday(const DayInfo& today) {
  if (worldday_) worldday_->SetText(WorldDayText(today));
  if (chineseday_) chineseday_->SetText(ChineseDayText(today));
}

std::u16string MainHeader::DescribeSelectors() const {
  std::u16string s = app::StateLine(u"selectors", IntToText(year_ ? year_->GetCurSel() : -1) + u"," +
                                                      IntToText(month_ ? month_->GetCurSel() : -1) + u"," +
                                                      IntToText(holiday_ ? holiday_->GetCurSel() : -1));
  s += app::StateLine(u"selector_texts", (year_ ? year_->GetSelectedText() : u"") + u"," +
                                             (month_ ? month_->GetSelectedText() : u"") + u"," +
                                             (holiday_ ? holiday_->GetSelectedText() : u""));
  return s;
}

std::u16string MainHeader::DescribeToday() const {
  std::u16string s = app::StateLine(u"worldday", worldday_ ? worldday_->GetText() : u"");
  s += app::StateLine(u"chineseday", chineseday_ ? chineseday_->GetText() : u"");
  return s;
}
