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

std::optional<LRESULT> TransientPopup::OnMessage(const tvui::Message& m) {
  if (IsDialogKey(m, VK_ESCAPE)) {
    Hide();
    ReturnFocusToOwner();
    return 1;
  }
  // The focus went elsewhere, or another window took the activation without the focus passing
  // through this one.
  const bool away = m.message == WM_KILLFOCUS || (m.message == WM_ACTIVATE && LOWORD(m.wParam) == WA_INACTIVE);
  if (away && Shown(GetHWND()) && !hiding_) Hide(true);
  return WindowImplBase::OnMessage(m);
}
