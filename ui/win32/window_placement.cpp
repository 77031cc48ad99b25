// WindowImplBase: where the window stands, its size, its region (the skin's rounded corners) and
// its display scale.
#include "ui/win32/window_impl_base.h"

#include <algorithm>

#include "ui/win32/dpi.h"
#include "ui/win32/drop_down_window.h"
#include "ui/win32/ui_app.h"

namespace tvui {

void WindowImplBase::SetDpi(int dpi) {
  scale_ = Scale(dpi);
  fonts_.SetDpi(scale_.Dpi());
}

void WindowImplBase::SetClientPixels(Size pixels) {
  clientPx_ = pixels;
  manager_.SetClientSize(scale_.ToLogicalCover(pixels));
}

void WindowImplBase::ChangeDpi(int dpi, const RECT& suggested) {
  // Moved to a monitor of another scale, or the scale changed: everything is drawn again for the
  // new DPI, in the rectangle the system suggests (the same logical size at the new scale, where
  // the pointer keeps its place on the window when it is dragged).
  UpdateToolTip(false);
  if (dropDown_) dropDown_->Close();
  SetDpi(dpi);
  regionSize_ = {};  // its rounded corners are drawn for the DPI
  // A move of our own already has the destination's size: the suggestion would scale it again.
  if (!placing_) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SetClientPixels({rc.right, rc.bottom});
  UpdateRegion(rc.right, rc.bottom);
  manager_.NeedUpdate();
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  if (!placing_) OnDpiChanged();
}

void WindowImplBase::SetClientSize(int cx, int cy) {
  SetClientPixels({cx, cy});
  UpdateRegion(cx, cy);
}

void WindowImplBase::LimitTrackSize(MINMAXINFO& mmi) const {
  const WindowInfo& info = manager_.GetWindowInfo();
  const Size minSize = scale_.ToDevice(info.minInfo);
  const Size maxSize = scale_.ToDevice(info.maxInfo);
  if (minSize.cx > 0) mmi.ptMinTrackSize = {minSize.cx, minSize.cy};
  if (maxSize.cx > 0) mmi.ptMaxTrackSize = {maxSize.cx, maxSize.cy};
}

void WindowImplBase::UpdateRegion(int cx, int cy, bool redraw) {
  Size round = scale_.ToDevice(manager_.GetWindowInfo().roundCorner);
  if (!hwnd_) return;
  if (regionSize_ == Size{cx, cy}) return;
  regionSize_ = {cx, cy};
  if (round.cx > 0 && round.cy > 0) {
    HRGN rgn = CreateRoundRectRgn(0, 0, cx + 1, cy + 1, round.cx, round.cy);
    SetWindowRgn(hwnd_, rgn, redraw ? TRUE : FALSE);  // the system owns rgn now
  } else {
    SetWindowRgn(hwnd_, nullptr, redraw ? TRUE : FALSE);
  }
}

void WindowImplBase::PlaceWindow(int x, int y, int cx, int cy) {
  if (!hwnd_) return;
  RECT now{};
  GetWindowRect(hwnd_, &now);
  const int oldCx = now.right - now.left;
  const int oldCy = now.bottom - now.top;
  if (now.left == x && now.top == y && oldCx == cx && oldCy == cy) return;
  if (oldCx == cx && oldCy == cy) {
    SetPlacement(x, y, cx, cy, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // The new picture is painted first, at the new size, so that the window shows it as soon as it
  // stands in its new place (painting after the move would leave the old picture on show at the
  // new place meanwhile). The region goes first when the window grows (it is cut to the window
  // meanwhile), after the move when it shrinks, so the window never shows outside its outline.
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  SetClientPixels({cx, cy});
  Rect all{0, 0, cx, cy};
  const bool painted = visible && Render(all);
  const bool grows = cx >= oldCx && cy >= oldCy;
  if (grows) UpdateRegion(cx, cy, false);
  const Scale before = scale_;
  SetPlacement(x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | (painted ? SWP_NOREDRAW : 0));
  if (!grows) UpdateRegion(cx, cy, false);
  if (!painted) return;
  if (!(scale_ == before)) {
    // It went to a monitor of another scale: the picture made before the move is of the old one.
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  if (ScopedWindowDc dc(hwnd_); dc) BitBlt(dc.get(), 0, 0, cx, cy, back_.Dc(), 0, 0, SRCCOPY);
  ValidateRect(hwnd_, nullptr);
  pendingDirty_ = {};
  manager_.TakeDirty();
}

void WindowImplBase::MoveWindowTo(int x, int y, int cx, int cy) {
  if (hwnd_) SetPlacement(x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowImplBase::SetPlacement(int x, int y, int cx, int cy, UINT flags) {
  const bool outer = !placing_;
  placing_ = true;
  SetWindowPos(hwnd_, nullptr, x, y, cx, cy, flags);
  if (outer) placing_ = false;
}

void WindowImplBase::CenterWindow() {
  if (!hwnd_) return;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  int w = rc.right - rc.left;
  int h = rc.bottom - rc.top;
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
  RECT area = mi.rcWork;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
  int x = area.left + (area.right - area.left - w) / 2;
  int y = area.top + (area.bottom - area.top - h) / 2;
  // Stay inside the work area.
  x = std::max<int>(mi.rcWork.left, std::min<int>(x, mi.rcWork.right - w));
  y = std::max<int>(mi.rcWork.top, std::min<int>(y, mi.rcWork.bottom - h));
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowImplBase::SetIcon(UINT resourceId) {
  if (!hwnd_) return;
  HINSTANCE inst = UiApp::GetInstance();
  const int dpi = scale_.Dpi();
  auto big = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi),
                                           LR_DEFAULTCOLOR | LR_SHARED));
  auto small = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                             SystemMetricForDpi(SM_CXSMICON, dpi),
                                             SystemMetricForDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR | LR_SHARED));
  if (big) ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small) ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace tvui
