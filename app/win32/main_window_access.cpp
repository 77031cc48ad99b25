// The calendar window for screen readers: a dialog holding the header's controls, today's dates,
// the clock, the weather, and the month as a table with one cell per day, each named in full.
#include "app/logic/access_texts.h"
#include "app/win32/dlg_main.h"
#include "ui/attribute_values.h"
#include "ui/container.h"
#include "weather/current_city.h"

namespace {

using tvui::AccessNode;
using tvui::AccessRole;
namespace st = tvui::access_state;

constexpr int kHeaderFirstId = 0x1000;
constexpr int kGridId = 0x1FFF;
constexpr int kCellFirstId = 0x2000;  // + grid index

// The header in reading order (controls a skin lacks or hides are passed by).
constexpr const char16_t* kHeaderParts[] = {u"worldday", u"chineseday", u"clock",    u"weather",  u"refresh",
                                            u"city",     u"xcity",      u"curcity",  u"monLeft",  u"CmbYear",
                                            u"CmbMonth", u"monRight",   u"CmbHoliday", u"returntoday", u"remind",
                                            u"note",     u"sendqq",     u"skin",     u"set",      u"close"};

tvui::Rect Union(const tvui::Rect& a, const tvui::Rect& b) { return a.IsEmpty() ? b : b.IsEmpty() ? a : a.Union(b); }

}  // namespace

AccessNode CDlgMain::DescribeForAccess() {
  AccessNode root = WindowImplBase::DescribeForAccess();  // the dialog, named by the window's title
  root.children.clear();
  GetManager().Layout();
  tvui::Control* focus = GetKeyboardFocus();
  int nextId = kHeaderFirstId;
  for (const char16_t* part : kHeaderParts) {
    AccessNode node;
    node.id = nextId++;
    if (tvui::EqualsNoCase(part, u"clock")) {
      if (!hour_ || !minute_ || !sec_ || !hour_->IsShown()) continue;
      node.role = AccessRole::kText;
      node.name = u"时间 " + hour_->GetText() + u":" + minute_->GetText() + u":" + sec_->GetText();
      node.rect = Union(hour_->GetPos(), sec_->GetPos());
      node.states = st::kReadOnly;
    } else if (tvui::EqualsNoCase(part, u"weather")) {
      if (!panel_.Icon() || !panel_.Icon()->IsShown()) continue;
      node.role = AccessRole::kGraphic;
      node.name = WeatherAccessName(GetCurrentCity().city, panel_.Icon()->GetToolTip(),
                                    panel_.Temperature() ? panel_.Temperature()->GetText() : u"",
                                    panel_.AirQuality() ? panel_.AirQuality()->GetText() : u"");
      node.description = u"七天天气";
      node.rect = panel_.Icon()->GetPos();
      node.control = panel_.Icon();
      if (focus == panel_.Icon()) node.states |= st::kFocused;
      node.states |= st::kFocusable;
    } else {
      tvui::Control* control = FindControl(part);
      if (!control || !control->IsShown() || !tvui::DescribeControl(*control, focus, node)) continue;
    }
    root.children.push_back(std::move(node));
  }

  AccessNode grid;
  grid.id = kGridId;
  grid.role = AccessRole::kTable;
  const ShownMonth& shown = navigator_.Shown();
  grid.name = GridAccessName(shown.year, shown.month);
  if (grid_.Container()) grid.rect = grid_.Container()->GetPos();
  const int cells = std::min<int>(grid_.Rows() * kGridColumns, static_cast<int>(grid_.Cells().size()));
  const int focused = FocusedCellIndex();
  for (int i = 0; i < cells; ++i) {
    const DayInfo& day = grid_.Days().days[i];
    tvui::Control* cell = grid_.DayControl(i);
    DayCellStates states;
    states.selected = i == focused;
    states.focused = cell && cell == focus;
    states.today = day.date.Month() == shown.month && shown.todayDay != 0 && day.date.DayOfMonth() == shown.todayDay;
    if (day.date.Month() != shown.month) states.otherMonth = i < kGridColumns ? -1 : 1;
    const DayAccess access = DescribeDayCell(day, states);
    AccessNode node;
    node.id = kCellFirstId + i;
    node.role = AccessRole::kCell;
    node.name = access.name;
    node.description = access.description;
    node.rect = cell ? cell->GetPos() : grid_.Cells()[i]->GetPos();
    node.states = st::kFocusable | st::kSelectable | (states.selected ? st::kSelected : 0) |
                  (states.focused ? st::kFocused : 0) | (states.today ? st::kMarked : 0);
    grid.children.push_back(std::move(node));
  }
  root.children.push_back(std::move(grid));
  return root;
}

void CDlgMain::RaiseFocusEvents() {
  tvui::Control* focus = GetKeyboardFocus();
  if (!focus || !IsWindowVisible(GetHWND())) return;
  if (tvui::EqualsNoCase(focus->GetName(), u"isSelect")) {
    const int id = kCellFirstId + FocusedCellIndex();
    RaiseAccessEvent(EVENT_OBJECT_FOCUS, id);
    RaiseAccessEvent(EVENT_OBJECT_SELECTION, id);
    return;
  }
  const AccessNode tree = DescribeForAccess();
  if (const AccessNode* node = tree.FindControl(focus)) RaiseAccessEvent(EVENT_OBJECT_FOCUS, node->id);
}
