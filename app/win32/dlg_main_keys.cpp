// The calendar window under the keyboard: the grid's keys, the tab stops of the header, the
// focused day following the month on show.
#include "app/logic/grid_keys.h"
#include "app/logic/month_layout.h"
#include "app/win32/dlg_main.h"
#include "app/win32/popup_host.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "ui/attribute_values.h"

using tvui::EqualsNoCase;
#include "ui/container.h"

namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool GridKeyOf(WPARAM key, GridKey& out) {
  switch (key) {
    case VK_LEFT: out = GridKey::kLeft; return true;
    case VK_RIGHT: out = GridKey::kRight; return true;
    case VK_UP: out = GridKey::kUp; return true;
    case VK_DOWN: out = GridKey::kDown; return true;
    case VK_PRIOR: out = GridKey::kPageUp; return true;
    case VK_NEXT: out = GridKey::kPageDown; return true;
    case VK_HOME: out = GridKey::kHome; return true;
    default: return false;
  }
}

// The header's controls in Tab order after the grid (those a skin lacks or hides are passed by).
constexpr const char16_t* kHeaderStops[] = {u"monLeft",  u"CmbYear", u"CmbMonth", u"monRight", u"CmbHoliday",
                                            u"returntoday", u"remind", u"weather", u"refresh", u"city",
                                            u"xcity",    u"curcity", u"note",    u"sendqq",   u"skin",
                                            u"set",      u"close"};

}  // namespace

int CDlgMain::FocusedCellIndex() const {
  const MonthShape shape = ShapeOfMonth(gridFocus_.year, gridFocus_.month);
  return shape.rows ? shape.leadingDays + gridFocus_.day - 1 : -1;
}

void CDlgMain::FollowGridFocus(int year, int month, int todayDay, int selectedDay) {
  if (gridFocus_.year != year || gridFocus_.month != month || selectedDay || todayDay) {
    const int day = selectedDay ? selectedDay : todayDay ? todayDay : gridFocus_.day;
    gridFocus_ = SupportedGridDay(year, month, day);
  }
  tvui::Control* cell = grid_.DayControl(FocusedCellIndex());
  tvui::Control* current = GetKeyboardFocus();
  const bool inGrid = !current || EqualsNoCase(current->GetName(), u"isSelect");
  if (cell && inGrid && GetKeyboardFocus() == cell) RaiseFocusEvents();  // the same cell, another day
  if (cell && inGrid) SetKeyboardFocus(cell, false);
}

void CDlgMain::FocusGridOnShow() {
  SetKeyboardFocus(nullptr, false);
  GetManager().Focus().ShowMark(false);
  gridFocus_ = {};
  const ShownMonth& shown = navigator_.Shown();
  FollowGridFocus(shown.year, shown.month, shown.todayDay, shown.selectedDay);
}

std::vector<tvui::Control*> CDlgMain::GetTabStops() {
  std::vector<tvui::Control*> stops;
  if (tvui::Control* cell = grid_.DayControl(FocusedCellIndex())) stops.push_back(cell);
  for (const char16_t* name : kHeaderStops) {
    if (tvui::Control* c = FindControl(name); c && c->IsShown() && c->IsEnabled()) stops.push_back(c);
  }
  return stops;
}

void CDlgMain::OnKeyboardFocusMoved(tvui::Control* control) {
  // A day of the month on show clicked: the keyboard goes on from it.
  if (control && EqualsNoCase(control->GetName(), u"isSelect")) {
    for (int i = 0; i < static_cast<int>(grid_.Cells().size()) && i < grid_.Rows() * kGridColumns; ++i) {
      const Day date = grid_.Days().days[i].date;
      if (grid_.DayControl(i) == control && date.Month() == navigator_.Shown().month) {
        gridFocus_ = {date.Year(), date.Month(), date.DayOfMonth()};
      }
    }
  }
  RaiseFocusEvents();
}

std::optional<LRESULT> CDlgMain::AnswerKey(WPARAM wParam) {
  if (GetDropDownWindow()) return std::nullopt;  // an open list takes the keys
  if (wParam == VK_ESCAPE) {
    popups_.HideAll();
    HideTooltip();
    ShowWindow(false);
    return 0;
  }
  tvui::Control* current = GetKeyboardFocus();
  const bool inGrid = !current || EqualsNoCase(current->GetName(), u"isSelect");
  if (!inGrid) return std::nullopt;  // the library's keys for the header's controls
  tvui::Control* cell = grid_.DayControl(FocusedCellIndex());
  if (wParam == VK_RETURN || wParam == VK_SPACE) {
    if (!cell) return std::nullopt;
    SetKeyboardFocus(cell, true);
    // By the cell's lower right corner, as the pointer resting there would show it.
    const tvui::Rect at = GetScale().ToDevice(cell->GetPos());
    POINT screen{at.right, at.bottom};
    ClientToScreen(GetHWND(), &screen);
    ShowDayTooltip(FocusedCellIndex(), screen);
    return 0;
  }
  GridKey key;
  if (!GridKeyOf(wParam, key)) return std::nullopt;
  HideTooltip();
  const SystemTime now = Now();
  const GridMove move = MoveGridSelection(gridFocus_, key, KeyHeld(VK_SHIFT) || KeyHeld(VK_CONTROL), now);
  if (key == GridKey::kHome) navigator_.ReturnToday(now);
  else navigator_.SelectDay(move.day.year, move.day.month, move.day.day, now);
  if (cell) SetKeyboardFocus(cell, true);  // the mark shows from now on
  gridFocus_ = move.day;
  ShowNavigated();  // the new day's cell takes the focus
  return 0;
}
