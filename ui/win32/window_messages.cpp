// WindowImplBase: the library's own level of a message, after the window's handlers left it:
// "windowinit" and the layout, painting, the mouse and keys for the controls (they become
// notifications), timers, the system's colours, the drop-down's keys and the tool tip's hover.
#include "ui/win32/window_impl_base.h"

#include <windowsx.h>

#include "ui/win32/drop_down_window.h"

namespace tvui {

namespace {

constexpr UINT kHoverTimeMs = 400;

}  // namespace

Point WindowImplBase::ClientPoint(LPARAM lParam) const {
  return scale_.ToLogical(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

bool WindowImplBase::HandleLibraryMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
  result = 0;
  if (message == LayoutMessage()) {
    layoutPosted_ = false;
    manager_.Layout();
    FlushInvalidation();
    return true;
  }
  if (message == WindowInitMessage()) {
    if (!sentInit_) {
      sentInit_ = true;
      manager_.Layout();
      manager_.SendNotify(manager_.GetRoot(), NotifyType::kWindowInit);
    }
    return true;
  }
  if (dropDown_ && dropDown_->IsOpen()) {
    if (message == WM_KEYDOWN || message == WM_MOUSEWHEEL) {
      dropDown_->Forward(message, wParam, lParam);
      return true;
    }
  }
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && HandleLibraryKey(message, wParam)) return true;
  if (HandleAccessMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      // Lay out first: what the layout moves is invalidated and so painted now.
      manager_.Layout();
      FlushInvalidation();
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      Paint(reinterpret_cast<HDC>(wParam), rc);
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!trackingMouse_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, hwnd_, kHoverTimeMs};
        trackingMouse_ = TrackMouseEvent(&tme) != FALSE;
      }
      Control* before = manager_.GetHover();
      manager_.OnMouseMove(ClientPoint(lParam));
      if (manager_.GetHover() != before) {
        UpdateToolTip(false);
        // Hover again so the new control's tool tip can show.
        TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, hwnd_, kHoverTimeMs};
        TrackMouseEvent(&tme);
      }
      return true;
    }
    case WM_MOUSELEAVE:
      trackingMouse_ = false;
      UpdateToolTip(false);
      manager_.OnMouseLeave();
      return true;
    case WM_MOUSEHOVER:
      UpdateToolTip(true);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      UpdateToolTip(false);
      if (manager_.Focus().MarkShown()) {  // the mouse is in use: no focus mark
        InvalidateFocusMark();
        manager_.Focus().ShowMark(false);
      }
      if (manager_.OnButtonDown(ClientPoint(lParam)) && hwnd_) {
        SetCapture(hwnd_);
        // A pressed control takes the keyboard focus, as the system's do (without the mark).
        if (Control* pressed = manager_.GetPressed(); pressed && pressed->TakesClicks()) {
          SetKeyboardFocus(pressed, false);
        }
      }
      return true;
    case WM_LBUTTONUP:
      if (manager_.GetPressed()) {
        releasing_ = true;
        if (GetCapture() == hwnd_) ReleaseCapture();
        releasing_ = false;
      }
      manager_.OnButtonUp(ClientPoint(lParam));
      return true;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse in the middle of a press: no click comes of it.
      if (!releasing_ && manager_.GetPressed()) manager_.CancelPress();
      return false;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        Control* hover = manager_.GetHover();
        bool hand = hover && hover->IsEnabled() && hover->GetCursor() == Cursor::kHand;
        ::SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
        result = TRUE;
        return true;
      }
      return false;
    case WM_TIMER:
      return manager_.OnHostTimer(static_cast<unsigned>(wParam));
    case WM_DPICHANGED:
      ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return true;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: {
      // High contrast on or off, or other system colours: drawn again in them.
      const SystemPalette now = ReadSystemPalette();
      const bool switched = now.on != palette_.on;
      palette_ = now;
      if (switched) OnHighContrastChanged();
      if (switched || now.on) {
        manager_.NeedUpdate();
        ::InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return false;
    }
    case WM_DESTROY:
      dropDown_.reset();
      DestroyToolTip();
      return false;
    default:
      return false;
  }
}


}  // namespace tvui
