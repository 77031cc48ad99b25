#include "app/win32/month_grid_view.h"

#include <memory>

#include "app/logic/day_cell.h"
#include "app/logic/tooltip_fields.h"
#include "app/win32/day_cell_contrast.h"
#include "app/win32/state_text.h"
#include "platform/text_utils.h"
#include "ui/container.h"
#include "ui/option.h"
#include "ui/win32/window_impl_base.h"

bool MonthGridView::EnsureCells(tvui::WindowImplBase& window) {
  if (!menology_) return false;
  if (!cells_.empty()) return true;
  menology_->RemoveAll();
  for (int i = 0; i < kGridCells; ++i) {
    std::unique_ptr<tvui::Control> cell = window.CreateItem(u"day.xml");
    tvui::Container* box = cell ? cell->AsContainer() : nullptr;
    if (!box) break;  // logged by CreateItem
    if (auto* option = dynamic_cast<tvui::Option*>(box->FindSubControl(u"isSelect"))) option->SetGroup(u"Menology");
    cells_.push_back(box);
    menology_->Add(std::move(cell));
  }
  return !cells_.empty();
}

void MonthGridView::Show(tvui::WindowImplBase& window, MonthDays days, int rows, int month, int todayDay,
                         int selectedDay) {
  rows_ = rows;
  const int shown = rows * kGridColumns;
  if (EnsureCells(window)) {
    for (int i = 0; i < static_cast<int>(cells_.size()); ++i) {
      tvui::Container* box = cells_[i];
      if (i >= shown) {
        box->SetVisible(false);
        continue;
      }
      const DayInfo* next = i + 1 < kGridCells ? &days.days[i + 1] : nullptr;
      DayCellLook look = LookOfDayCell(days.days[i], i, next, month, todayDay, selectedDay);
      if (auto* option = dynamic_cast<tvui::Option*>(box->FindSubControl(u"isSelect"))) {
        option->Selected(false, false);  // a cell picked in the month before
        option->SetNormalImage(look.normalImage);
        option->SetFixedWidth(look.width);
        option->SetFixedHeight(look.height);
        option->SetTag(look.tag);
      }
      if (tvui::Control* badge = box->FindSubControl(u"img")) badge->SetBkImage(look.badgeImage);
      app::DressDayCellForContrast(*box, look, window.IsHighContrast());
      if (tvui::Control* day = box->FindSubControl(u"day")) {
        day->SetTextColor(look.dayColor);
        day->SetText(look.dayText);
      }
      if (tvui::Control* lunar = box->FindSubControl(u"ChineseDay")) {
        lunar->SetTextColor(look.lunarColor);
        lunar->SetText(look.lunarText);
      }
      box->SetVisible(true);
    }
  }
  days_ = std::move(days);
}

tvui::Control* MonthGridView::DayControl(int index) const {
  if (index < 0 || index >= static_cast<int>(cells_.size()) || index >= rows_ * kGridColumns) return nullptr;
  return cells_[index]->FindSubControl(u"isSelect");
}

std::u16string MonthGridView::DescribeForTest(const std::function<std::u16string(int cell)>& remindersOf) const {
  using app::StateLine;
  // The cells on show (those past the month's rows stay, hidden, for the next month).
  int cells = 0;
  while (menology_ && cells < menology_->GetCount() && menology_->GetItemAt(cells)->IsVisible()) ++cells;
  std::u16string s = StateLine(u"cells", IntToText(cells));
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    if (!box) continue;
    auto* option = dynamic_cast<tvui::Option*>(box->FindSubControl(u"isSelect"));
    tvui::Control* day = box->FindSubControl(u"day");
    tvui::Control* lunar = box->FindSubControl(u"ChineseDay");
    tvui::Control* badge = box->FindSubControl(u"img");
    tvui::Rect r = option ? option->GetPos() : tvui::Rect{};
    // normal image|day|lunar line|x,y,w,h|data string (what the tooltip shows)|badge image
    s += StateLine(u"cell." + IntToText(i),
                   (option ? option->GetNormalImage() : u"") + u"|" + (day ? day->GetText() : u"") + u"|" +
                       (lunar ? lunar->GetText() : u"") + u"|" + IntToText(r.left) + u"," + IntToText(r.top) +
                       u"," + IntToText(r.right - r.left) + u"," + IntToText(r.bottom - r.top) + u"|" +
                       DayDataString(days_.days[i]) + TooltipRemindersPart(remindersOf(i)) + u"|" +
                       (badge ? badge->GetBkImage() : u""));
  }
  // The cells that carry a reminder's mark.
  std::u16string marks;
  for (int i = 0; i < cells; ++i) {
    tvui::Container* box = menology_->GetItemAt(i)->AsContainer();
    tvui::Control* mark = box ? box->FindSubControl(u"remindmark") : nullptr;
    if (mark && mark->IsVisible()) marks += IntToText(i) + u";";
  }
  return s + StateLine(u"marks", marks);
}
