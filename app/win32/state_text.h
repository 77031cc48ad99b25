#pragma once
// The pieces of the "key=value" state text through which each window tells tests and benchmarks
// what it shows (read through the test hook, main_window_test_hook.h).
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace tvui {
class Control;
class WindowImplBase;
}

namespace app {

// One "key=value" line of the state text; rectangles as "x,y,width,height".
std::u16string StateLine(std::u16string_view key, const std::u16string& value);
std::u16string StateRect(const RECT& r);
std::u16string StateRect(const tvui::Rect& r);
// A window's rectangle on the screen.
std::u16string StateRect(HWND window);
// The text of a window's control by its name (empty without one).
std::u16string ControlText(const tvui::WindowImplBase& w, std::u16string_view name);
// A pop-up's lines: "key=none" without its window, else "key=shown" or "key=hidden", its
// rectangle ("key.rect") and its title band's picture ("key.title").
std::u16string WindowState(std::u16string_view key, const tvui::WindowImplBase* w);
// "selected|l,t,r,b|shown" of a control by its name, in client coordinates ("none" without one).
std::u16string ControlState(const tvui::WindowImplBase& w, std::u16string_view name);
// An air-quality badge: text|background|text colour|l,t,r,b (its place in 96-DPI units).
std::u16string BadgeText(const tvui::Control& badge);

}  // namespace app
