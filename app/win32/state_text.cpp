#include "app/win32/state_text.h"

#include "platform/text_utils.h"
#include "ui/control.h"
#include "ui/option.h"
#include "ui/win32/window_impl_base.h"

namespace app {

std::u16string StateLine(std::u16string_view key, const std::u16string& value) {
  return std::u16string(key) + u"=" + value + u"\n";
}

std::u16string StateRect(const RECT& r) {
  return IntToText(r.left) + u"," + IntToText(r.top) + u"," + IntToText(r.right - r.left) + u"," +
         IntToText(r.bottom - r.top);
}

std::u16string StateRect(const tvui::Rect& r) { return StateRect(RECT{r.left, r.top, r.right, r.bottom}); }

std::u16string StateRect(HWND window) {
  RECT rc{};
  GetWindowRect(window, &rc);
  return StateRect(rc);
}

std::u16string ControlText(const tvui::WindowImplBase& w, std::u16string_view name) {
  tvui::Control* c = w.FindControl(name);
  return c ? c->GetText() : std::u16string();
}

std::u16string BadgeText(const tvui::Control& badge) {
  const tvui::Rect& a = badge.GetFloatPos();
  return badge.GetText() + u"|" + IntToText(badge.GetBkColor()) + u"|" + IntToText(badge.GetTextColor()) + u"|" +
         IntToText(a.left) + u"," + IntToText(a.top) + u"," + IntToText(a.right) + u"," + IntToText(a.bottom);
}

std::u16string WindowState(std::u16string_view key, const tvui::WindowImplBase* w) {
  if (!w || !w->GetHWND()) return StateLine(key, u"none");
  std::u16string s = StateLine(key, IsWindowVisible(w->GetHWND()) ? u"shown" : u"hidden");
  s += StateLine(std::u16string(key) + u".rect", StateRect(w->GetHWND()));
  tvui::Control* title = w->FindControl(u"title");
  s += StateLine(std::u16string(key) + u".title", title ? title->GetBkImage() : u"");
  return s;
}

std::u16string ControlState(const tvui::WindowImplBase& w, std::u16string_view name) {
  tvui::Control* c = w.FindControl(name);
  if (!c) return u"none";
  auto* option = dynamic_cast<tvui::Option*>(c);
  const tvui::Rect& r = c->GetPos();
  return IntToText(option && option->IsSelected() ? 1 : 0) + u"|" + IntToText(r.left) + u"," + IntToText(r.top) +
         u"," + IntToText(r.right) + u"," + IntToText(r.bottom) + u"|" + IntToText(c->IsShown() ? 1 : 0);
}

}  // namespace app
