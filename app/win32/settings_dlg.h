#pragma once
// CSetDlg: the settings pop-up ("set.xml"): the autostart switch, the two stored switches
// "allow_push" and "join_ue", and a link to the system's date and time settings. Every switch
// shows what is stored (or registered) again after each click and each time the window opens.
// Escape, "closex" and losing the activation hide it.
#include <string>

#include "app/logic/skin_chooser.h"
#include "ui/win32/window_impl_base.h"

class CSetDlg : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CSetDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"set.xml"; }
  void Notify(tvui::Notification& msg) override;
  LRESULT OnShowWindow(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT ResponseDefaultKeyEvent(WPARAM key) override;

  // Hides the window. After losing the activation, the click on "set" that took it away does not
  // open the window again.
  void Hide(bool lostActivation = false);
  bool MayReopen(uint32_t tick) const { return reopen_.MayOpen(tick); }

 private:
  void ShowAutostartState();
  void ShowStoredSwitches();
  PopupReopenGuard reopen_;
};
