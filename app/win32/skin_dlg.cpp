#include "app/win32/skin_dlg.h"

#include "platform/text_utils.h"

void CSkinDlg::Notify(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (EqualsNoCase(msg.type, tvui::kNotifyMouseEnter)) {
    Apply(model_.MouseEnter(name));
  } else if (EqualsNoCase(msg.type, tvui::kNotifyMouseLeave)) {
    Apply(model_.MouseLeave(name));
  } else if (EqualsNoCase(msg.type, tvui::kNotifyClick)) {
    Apply(model_.Click(name));
  }
  WindowImplBase::Notify(msg);
}

void CSkinDlg::Apply(const SkinChooserStep& step) {
  if (step.tile != 0) {
    if (tvui::Control* tile = FindControl(u"bg" + IntToText(step.tile))) tile->SetForeImage(step.foreImage);
  }
  if (step.message != 0) ::PostMessageW(owner_, step.message, step.wParam, 0);
  if (step.hide) Hide();
}

void CSkinDlg::Hide(bool lostFocus) {
  if (lostFocus) reopen_.Hidden(GetTickCount());
  if (GetHWND() && IsWindowVisible(GetHWND())) ShowWindow(false);
  Apply(model_.Hidden());
}

LRESULT CSkinDlg::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  if (GetHWND() && IsWindowVisible(GetHWND())) Hide(true);
  return 0;
}

LRESULT CSkinDlg::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  // Another window took the activation without the focus passing through the chooser.
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && GetHWND() && IsWindowVisible(GetHWND())) {
    Hide(true);
  }
  return 0;
}

LRESULT CSkinDlg::ResponseDefaultKeyEvent(WPARAM key) {
  if (key != VK_ESCAPE) return 0;
  Hide();
  return 1;
}
