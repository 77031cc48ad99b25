#include "app/win32/day_cell_contrast.h"

namespace app {

void DressDayCellForContrast(tvui::Container& cell, const DayCellLook& look, bool highContrast) {
  if (tvui::Control* badge = cell.FindSubControl(u"img")) {
    std::u16string mark;
    if (highContrast && look.badgeImage == u"work.png") mark = u"班";
    else if (highContrast && look.badgeImage == u"release.png") mark = u"休";
    badge->SetText(mark);
  }
  // Days of the neighbouring months in the system's grey (a disabled text is drawn in it).
  for (const char16_t* name : {u"day", u"ChineseDay"}) {
    if (tvui::Control* text = cell.FindSubControl(name)) text->SetEnabled(!highContrast || look.inMonth);
  }
  if (tvui::Control* option = cell.FindSubControl(u"isSelect")) {
    const int frame = !highContrast ? 0 : look.today ? 2 : look.selected ? 1 : 0;
    if (option->GetBorderSize() != frame) {  // a setter that changes nothing repaints nothing
      option->SetAttribute(u"bordercolor", u"#FF000000");  // drawn in the system's text colour
      option->SetAttribute(u"bordersize", frame == 2 ? u"2" : frame == 1 ? u"1" : u"0");
      option->Invalidate();
    }
  }
}

}  // namespace app
