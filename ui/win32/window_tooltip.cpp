// WindowImplBase: the tool tip of the control under the pointer, one system tool tip control per
// window, shown beside the pointer after it rested on the control.
#include "ui/win32/window_impl_base.h"

#include <commctrl.h>

#include "ui/win32/ui_app.h"

namespace tvui {

void WindowImplBase::UpdateToolTip(bool show) {
  if (!show) {
    if (tooltip_ && tooltipFor_) ::SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, 0);
    tooltipFor_ = nullptr;
    return;
  }
  Control* hover = manager_.GetHover();
  if (!hover || hover->GetToolTip().empty() || hover == tooltipFor_) return;
  if (!tooltip_) {
    UiApp::EnsureCommonControls();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               0, 0, 0, 0, hwnd_, nullptr, UiApp::GetInstance(), nullptr);
    if (!tooltip_) return;
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = hwnd_;
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale_.ToDevice(360));
  }
  tooltipFor_ = hover;
  std::u16string text = hover->GetToolTip();
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = hwnd_;
  ti.uId = 1;
  ti.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  POINT pt;
  GetCursorPos(&pt);
  ::SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + scale_.ToDevice(4), pt.y + scale_.ToDevice(20)));
  ::SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}


void WindowImplBase::DestroyToolTip() {
  if (!tooltip_) return;
  DestroyWindow(tooltip_);
  tooltip_ = nullptr;
  tooltipFor_ = nullptr;
}

}  // namespace tvui
