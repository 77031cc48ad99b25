// The weather pop-up's lines of the state text (dlg_weather.h).
#include <string>

#include "app/win32/dlg_weather.h"
#include "app/win32/state_text.h"
#include "platform/text_utils.h"
#include "ui/container.h"

std::u16string CDlgWeather::DescribeForTest() const {
  using app::StateLine;
  std::u16string s = StateLine(u"wxpop.rect", app::StateRect(GetHWND()));
  BYTE alpha = 255;
  DWORD flags = 0;
  if (GetLayeredWindowAttributes(GetHWND(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
    s += StateLine(u"wxpop.alpha", IntToText(alpha));
  }
  s += StateLine(u"wxpop.city", app::ControlText(*this, u"city"));
  s += StateLine(u"wxpop.temperature", app::ControlText(*this, u"temperature"));
  s += StateLine(u"wxpop.wind", app::ControlText(*this, u"wind"));
  s += StateLine(u"wxpop.report_city", report_.city);
  if (tvui::Control* air = FindControl(u"air")) s += StateLine(u"wxpop.air", app::BadgeText(*air));
  if (tvui::Control* bk = FindControl(u"weather")) s += StateLine(u"wxpop.background", bk->GetBkImage());
  if (tvui::Control* more = FindControl(u"moreweather")) {
    s += StateLine(u"wxpop.moreweather", app::StateRect(more->GetPos()));
  }
  // Each forecast day: day|weather picture|temperatures|the picture's tool tip;
  tvui::Control* strip = FindControl(u"sevenweather");
  tvui::Container* items = strip ? strip->AsContainer() : nullptr;
  std::u16string list;
  for (int i = 0; items && i < items->GetCount(); ++i) {
    tvui::Container* box = items->GetItemAt(i)->AsContainer();
    if (!box) continue;
    auto part = [&](const char16_t* name, bool image) {
      tvui::Control* c = box->FindSubControl(name);
      return c ? (image ? c->GetBkImage() : c->GetText()) : std::u16string();
    };
    tvui::Control* weather = box->FindSubControl(u"LabWeather");
    list += part(u"LabDay", false) + u"|" + part(u"LabWeather", true) + u"|" + part(u"LabTemperature", false) +
            u"|" + (weather ? weather->GetToolTip() : u"") + u";";
  }
  s += StateLine(u"wxpop.items", list);
  return s;
}
