#include "ui/win32/drop_down_window.h"

#include "ui/win32/gdiplus_include.h"

#include <algorithm>

#include "platform/win32/scoped_gdi.h"
#include "ui/ui_manager.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/renderer.h"
#include "ui/win32/ui_app.h"

namespace tvui {

namespace {

constexpr int kDefaultMaxHeight = 240;
constexpr Color kBorder = 0xFFC8C8C8;
constexpr Color kHotBk = 0xFFE8F1FB;
constexpr Color kSelectedBk = 0xFFCCE4F7;

void RegisterOnce() {
  static bool done = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DROPSHADOW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = UiApp::GetInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = DropDownWindow::kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)done;
}

}  // namespace

DropDownWindow::DropDownWindow(UiManager& manager, FontCache& fonts, Combo* combo, HWND owner, Scale scale)
    : manager_(manager), fonts_(fonts), combo_(combo), owner_(owner), scale_(scale) {
  RegisterOnce();
  const ListItemStyle& style = combo->ItemStyle();
  if (style.itemHeight > 0) {
    itemHeight_ = style.itemHeight;
  } else if (Control* first = combo->GetItemAt(0); first && first->GetFixedHeight() > 0) {
    itemHeight_ = first->GetFixedHeight();
  }
  const Rect face = scale_.ToDevice(combo->GetPos());
  Size box = combo->GetDropBoxSize();
  int width = box.cx > 0 ? scale_.ToDevice(box.cx) : face.Width();
  int maxHeight = box.cy > 0 ? box.cy : kDefaultMaxHeight;
  int height = scale_.ToDevice(std::min(combo->GetCount() * itemHeight_ + 2, maxHeight));
  POINT pt{face.left, face.bottom};
  ClientToScreen(owner, &pt);
  // Keep the list on the monitor: open upwards when there is no room below.
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &mi);
  if (pt.y + height > mi.rcWork.bottom) {
    POINT top{face.left, face.top};
    ClientToScreen(owner, &top);
    pt.y = std::max<LONG>(mi.rcWork.top, top.y - height);
  }
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, pt.x, pt.y,
                          width, height, owner, nullptr, UiApp::GetInstance(), nullptr);
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  ScrollTo(combo->GetCurSel() - VisibleCount() / 2);
  // Not activated: the owner keeps the focus (and forwards keys and the wheel); the list holds the
  // mouse so that a press anywhere else closes it.
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  SetCapture(hwnd_);
}

DropDownWindow::~DropDownWindow() { Close(); }

void DropDownWindow::Close() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  if (GetCapture() == h) ReleaseCapture();
  DestroyWindow(h);
}

Rect DropDownWindow::ClientArea() const {
  RECT rc{};
  if (hwnd_) GetClientRect(hwnd_, &rc);
  const Size size = scale_.ToLogicalCover({rc.right, rc.bottom});
  return {0, 0, size.cx, size.cy};
}

Point DropDownWindow::LogicalPoint(LPARAM lParam) const {
  return scale_.ToLogical(Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
}

int DropDownWindow::VisibleCount() const {
  if (!hwnd_) return 0;
  return std::max<int>(1, (ClientArea().bottom - 2) / itemHeight_);
}

void DropDownWindow::ScrollTo(int first) {
  int maxTop = std::max(0, combo_->GetCount() - VisibleCount());
  top_ = std::clamp(first, 0, maxTop);
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

int DropDownWindow::ItemAt(int y) const {
  if (y < 1) return -1;
  int index = top_ + (y - 1) / itemHeight_;
  return index < combo_->GetCount() ? index : -1;
}

void DropDownWindow::Choose(int index) {
  Combo* combo = combo_;
  UiManager& manager = manager_;
  Close();
  // The combo may have gone while the list was open.
  if (index >= 0 && manager.Contains(combo)) combo->ItemClicked(index);
}

void DropDownWindow::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd_) Handle(message, wParam, lParam);
}

LRESULT CALLBACK DropDownWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DropDownWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT DropDownWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      {
        ScopedMemoryDc mem(dc);
        ScopedBitmap bmp(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
        if (mem && bmp) {
          ScopedSelection selected(mem.get(), bmp.get());
          Paint(mem.get());
          BitBlt(dc, 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, SRCCOPY);
        }
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      const Point pt = LogicalPoint(lParam);
      int hot = ClientArea().Contains(pt) ? ItemAt(pt.y) : -1;
      if (hot != hot_) {
        hot_ = hot;
        ::InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      hot_ = -1;
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_MOUSEWHEEL: {
      int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      ScrollTo(top_ - (delta / WHEEL_DELTA) * 3);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (!ClientArea().Contains(LogicalPoint(lParam))) Choose(-1);
      return 0;
    }
    case WM_LBUTTONUP: {
      const Point pt = LogicalPoint(lParam);
      int index = ClientArea().Contains(pt) ? ItemAt(pt.y) : -1;
      if (index >= 0) Choose(index);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (hwnd_ && reinterpret_cast<HWND>(lParam) != hwnd_) Choose(-1);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        Choose(-1);
      } else if (wParam == VK_RETURN) {
        Choose(hot_ >= 0 ? hot_ : combo_->GetCurSel());
      } else if (wParam == VK_DOWN || wParam == VK_UP) {
        int base = hot_ >= 0 ? hot_ : combo_->GetCurSel();
        hot_ = std::clamp(base + (wParam == VK_DOWN ? 1 : -1), 0, combo_->GetCount() - 1);
        if (hot_ < top_) ScrollTo(hot_);
        else if (hot_ >= top_ + VisibleCount()) ScrollTo(hot_ - VisibleCount() + 1);
        ::InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DropDownWindow::Paint(HDC dc) {
  const Rect rc = ClientArea();
  const WindowInfo& info = manager_.GetWindowInfo();
  Renderer r(dc, info, fonts_, u"", scale_);
  const ListItemStyle& style = combo_->ItemStyle();
  Rect all{0, 0, rc.right, rc.bottom};
  r.FillRect(all, style.bkColor ? (style.bkColor | 0xFF000000) : 0xFFFFFFFF);
  int count = combo_->GetCount();
  for (int i = top_, y = 1; i < count && y < rc.bottom - 1; ++i, y += itemHeight_) {
    Control* item = combo_->GetItemAt(i);
    Rect row{1, y, rc.right - 1, y + itemHeight_};
    Color text = style.textColor ? style.textColor : info.textColor;
    if (item && item->HasTextColor()) text = item->GetTextColor();
    if (i == combo_->GetCurSel()) {
      r.FillRect(row, style.selectedBkColor ? style.selectedBkColor : kSelectedBk);
      if (style.selectedTextColor) text = style.selectedTextColor;
    } else if (i == hot_) {
      r.FillRect(row, style.hotBkColor ? style.hotBkColor : kHotBk);
      if (style.hotTextColor) text = style.hotTextColor;
    }
    if (item) {
      int font = item->GetFont() >= 0 ? item->GetFont() : style.font;
      r.PaintString(item->GetText(), row.Deflate({8, 0, 8, 0}), text, font, item->GetAlign(),
                 VAlign::kCenter, false, true);
    }
  }
  // Scroll position: a thin bar at the right edge when not every item fits.
  int visible = VisibleCount();
  if (count > visible) {
    int track = rc.bottom - 4;
    int thumb = std::max(16, track * visible / count);
    int pos = 2 + (track - thumb) * top_ / std::max(1, count - visible);
    r.FillRect({rc.right - 5, pos, rc.right - 2, pos + thumb}, 0xFFB0B0B0);
  }
  // Border.
  r.FillRect({0, 0, rc.right, 1}, kBorder);
  r.FillRect({0, rc.bottom - 1, rc.right, rc.bottom}, kBorder);
  r.FillRect({0, 0, 1, rc.bottom}, kBorder);
  r.FillRect({rc.right - 1, 0, rc.right, rc.bottom}, kBorder);
}

}  // namespace tvui
