#include "app/win32/transient_popup.h"

namespace {

bool Shown(HWND hwnd) { return hwnd && IsWindowVisible(hwnd); }

}  // namespace

void TransientPopup::Hide(bool lostFocus) {
  // The focus a hide of our own gives away is no click on the opening button.
  if (lostFocus && !hiding_) reopen_.Hidden(GetTickCount());
  if (Shown(GetHWND()) && !hiding_) {
    hiding_ = true;
    ShowWindow(false);
    hiding_ = false;
  }
  OnHidden();
}

LRESULT TransientPopup::ResponseDefaultKeyEvent(WPARAM key) {
  if (key != VK_ESCAPE) return 0;
  Hide();
  ReturnFocusToOwner();
  return 1;
}

LRESULT TransientPopup::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  if (Shown(GetHWND()) && !hiding_) Hide(true);
  return 0;
}

LRESULT TransientPopup::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  // Another window took the activation without the focus passing through this one.
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && Shown(GetHWND()) && !hiding_) Hide(true);
  return 0;
}
