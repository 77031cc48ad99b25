#pragma once
// CSetDlg: the settings pop-up ("set.xml"): the autostart switch, the two stored switches
// "allow_push" and "join_ue", and a link to the system's date and time settings. Every switch
// shows what is stored (or registered) again after each click and each time the window opens.
// "closex", Escape and turning elsewhere hide it; Enter with no switch focused is "closex".
#include <string>

#include "app/win32/transient_popup.h"

class CSetDlg : public TransientPopup {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CSetDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"set.xml"; }
  void Notify(tvui::Notification& msg) override;
  tvui::Control* GetDefaultControl() override { return FindControl(u"closex"); }
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;
  // The window's "settings…" lines of the state text ("settings=none" without its window).
  std::u16string DescribeForTest() const;

 private:
  void ShowAutostartState();
  void ShowStoredSwitches();
};
