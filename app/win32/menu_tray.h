#pragma once
// CMenuTray: the small skinned menu of the notification-area icon and of a right click on the
// taskbar clock ("MenuWnd.xml"): date and time settings, start with Windows, about, quit. It opens
// at the pointer (moved to stay inside the work area), closes when it loses the focus, on Escape
// and after a choice. One menu exists at a time (the pop-up host's); opening another destroys the
// first.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/win32/window_impl_base.h"

namespace app {

class CMenuTray : public tvui::WindowImplBase {
 public:
  CMenuTray(HWND owner, POINT at) : owner_(owner), at_(at) {}

  const wchar_t* GetWindowClassName() const override { return L"MendWnd"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"MenuWnd.xml"; }
  void InitWindow() override;
  // The object stays until the next menu is opened.
  void OnFinalMessage(HWND) override {}
  void OnClick(tvui::Notification& msg) override;
  void OnSelectChanged(tvui::Notification& msg) override;
  // Closes on Escape and when the focus or the activation goes elsewhere; the wheel does nothing.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;

 private:
  HWND owner_;
  POINT at_;
};

// A menu at the pointer (or at a given screen point), owned by the calendar window, not yet on
// show; nullptr (logged) when its window cannot be made. The pop-up host keeps the one menu.
std::unique_ptr<CMenuTray> CreateTrayMenu(HWND owner, std::optional<POINT> at);
// Shows a made menu and gives it the keyboard.
void ShowTrayMenuWindow(CMenuTray& menu);
// "menu=<open>,<left>,<top>,<right>,<bottom>,<autostart option selected>,<foreground>" for the test
// hook (foreground: the menu is the foreground window, where the keys go); "menu=0" without one.
std::u16string TrayMenuStateText(const CMenuTray* menu);

}  // namespace app
