// WindowImplBase for screen readers: the access tree, WM_GETOBJECT, events, default actions.
#include <string>
#include <vector>

#include "ui/win32/accessible_window.h"
#include "ui/win32/window_impl_base.h"

namespace tvui {

namespace {

constexpr int kFirstControlId = 0x1000;  // above any child position

UINT AccessActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"TvUiAccessAction");
  return message;
}

}  // namespace

AccessNode WindowImplBase::DescribeForAccess() {
  AccessNode root;
  root.role = AccessRole::kDialog;
  root.states = access_state::kFocusable;
  wchar_t title[256] = {};
  if (hwnd_) GetWindowTextW(hwnd_, title, 256);
  root.name = reinterpret_cast<const char16_t*>(title);
  // A skin's title band names the window as its user sees it (the first text in it).
  if (const Control* band = manager_.FindControl(u"title")) {
    std::vector<AccessNode> texts = DescribeControls(band, nullptr, 1);
    for (const AccessNode& text : texts) {
      if (text.role == AccessRole::kText) {
        root.name = text.name;
        break;
      }
    }
  }
  const Size client = manager_.GetClientSize();
  root.rect = {0, 0, client.cx, client.cy};
  manager_.Layout();
  root.children = DescribeControls(manager_.GetRoot(), manager_.Focus().Current(), kFirstControlId);
  return root;
}

void WindowImplBase::ActivateForAccess(const Control* control) {
  accessAction_ = control;
  PostMessageW(AccessActionMessage());
}

void WindowImplBase::RaiseAccessEvent(DWORD event, int nodeId) {
  if (hwnd_) NotifyWinEvent(event, hwnd_, OBJID_CLIENT, nodeId);
}

bool WindowImplBase::HandleAccessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETOBJECT) {
    result = AnswerGetObject(hwnd_, wParam, lParam);
    return result != 0;
  }
  if (message == AccessActionMessage()) {
    const Control* control = accessAction_;
    accessAction_ = nullptr;
    if (control && manager_.Contains(control) && control->IsShown() && control->IsEnabled()) {
      const_cast<Control*>(control)->Activate();
    }
    return true;
  }
  return false;
}

}  // namespace tvui
