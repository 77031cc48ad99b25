#include "ui/win32/window_impl_base.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <type_traits>

#include "platform/log.h"
#include "platform/text_codec.h"
#include "ui/attribute_values.h"
#include "ui/container.h"
#include "ui/win32/dib_section.h"
#include "ui/win32/dpi.h"
#include "ui/win32/drop_down_window.h"
#include "ui/win32/png_writer.h"
#include "ui/win32/renderer.h"
#include "ui/win32/ui_app.h"

namespace tvui {

static_assert(sizeof(MessageResult) == sizeof(LRESULT) && std::is_signed_v<MessageResult> == std::is_signed_v<LRESULT>,
              "the portable message result is the platform's LRESULT");

namespace {

constexpr UINT kHoverTimeMs = 400;

void LogUi(const std::u16string& text) {
  std::u16string line = u"ui: " + text + u"\n";
  OutputDebugStringW(reinterpret_cast<const wchar_t*>(line.c_str()));
}

// A skin file that cannot be used goes to the program's log once per run, whichever window and
// however often it is asked for (a broken day.xml is asked for at every month change).
void LogSkinFailure(const std::u16string& error) {
  static std::mutex lock;
  static std::set<std::u16string> logged;
  LogUi(error);
  {
    std::lock_guard<std::mutex> guard(lock);
    if (!logged.insert(error).second) return;
  }
  LogError(u"ui: skin file unusable: " + error);
}

bool IsAbsolutePath(const std::u16string& p) {
  return (p.size() > 1 && p[1] == u':') || (!p.empty() && (p[0] == u'\\' || p[0] == u'/'));
}

// Off the screen but still "shown" as far as the window system's destroy is concerned: nothing of
// it is drawn any more, and a destroy finds no visible window to hide.
void LeaveScreen(HWND hwnd) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return;
  if (ScopedRegion none(CreateRectRgn(0, 0, 0, 0)); none) {
    if (SetWindowRgn(hwnd, none.get(), TRUE)) none.release();  // the system owns it once set
  }
  SetWindowLongW(hwnd, GWL_STYLE, style & ~WS_VISIBLE);
}

void LeaveScreenWithOwned(HWND hwnd);

BOOL CALLBACK LeaveScreenIfOwnedBy(HWND hwnd, LPARAM owner) {
  if (GetWindow(hwnd, GW_OWNER) == reinterpret_cast<HWND>(owner)) LeaveScreenWithOwned(hwnd);
  return TRUE;
}

void LeaveScreenWithOwned(HWND hwnd) {
  EnumThreadWindows(GetWindowThreadProcessId(hwnd, nullptr), &LeaveScreenIfOwnedBy, reinterpret_cast<LPARAM>(hwnd));
  LeaveScreen(hwnd);
}

}  // namespace

UINT WindowImplBase::WindowInitMessage() {
  static const UINT message = RegisterWindowMessageW(L"TvUiWindowInit");
  return message;
}

UINT WindowImplBase::LayoutMessage() {
  static const UINT message = RegisterWindowMessageW(L"TvUiLayout");
  return message;
}

WindowImplBase::WindowImplBase() { manager_.SetHost(this); }

WindowImplBase::~WindowImplBase() {
  dropDown_.reset();
  if (hwnd_) {
    // The object goes first: detach so the window procedure no longer reaches it.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
  if (tooltip_) DestroyWindow(tooltip_);
  manager_.SetHost(nullptr);
}

bool WindowImplBase::RegisterWindowClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(UiApp::GetInstance(), GetWindowClassName(), &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = GetClassStyle();
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = UiApp::GetInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = GetWindowClassName();
  return RegisterClassExW(&wc) != 0;
}

HWND WindowImplBase::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x,
                            int y, int cx, int cy) {
  if (hwnd_) return hwnd_;
  UiApp::GetInstance();
  if (!RegisterWindowClass()) {
    LogUi(u"cannot register window class");
    return nullptr;
  }
  if (cx == CW_USEDEFAULT) cx = 0;
  if (cy == CW_USEDEFAULT) cy = 0;
  HWND h = CreateWindowExW(exStyle, GetWindowClassName(), name ? name : L"", style, x, y, cx, cy,
                           parent, nullptr, UiApp::GetInstance(), this);
  return h ? hwnd_ : nullptr;
}

LRESULT CALLBACK WindowImplBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowImplBase* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<WindowImplBase*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowImplBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    // OnFinalMessage may delete the object: when the window was destroyed from inside one of its
    // own handlers, wait until that handler has returned.
    if (self->messageDepth_ > 0) self->finalPending_ = true;
    else self->OnFinalMessage(hwnd);
    return r;
  }
  ++self->messageDepth_;
  LRESULT r = self->HandleMessage(message, wParam, lParam);
  if (--self->messageDepth_ == 0 && self->finalPending_) {
    self->finalPending_ = false;
    self->OnFinalMessage(hwnd);  // may delete self
  }
  return r;
}

WindowImplBase* WindowImplBase::FromHandle(HWND hwnd) {
  if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &WindowProc) return nullptr;
  return reinterpret_cast<WindowImplBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::u16string WindowImplBase::GetSkinPath() {
  std::u16string folder = GetSkinFolder();
  if (!IsAbsolutePath(folder)) folder = UiApp::GetResourcePath() + folder;
  return folder;
}

void WindowImplBase::BuildSkin() {
  builder_ = std::make_unique<SkinBuilder>(GetSkinPath());
  SkinResult result;
  std::u16string file = GetSkinFile();
  if (file.empty()) {
    // A window without a skin file: an empty tree the window fills itself.
    manager_.AttachRoot(std::make_unique<Container>());
  } else if (builder_->BuildFile(file, result)) {
    skinError_.clear();
    manager_.SetWindowInfo(result.window);
    manager_.AttachRoot(std::move(result.root));
  } else {
    // Keep a working, empty window: the caller can still show, move and close it.
    skinError_ = result.error;
    LogSkinFailure(result.error);
    manager_.AttachRoot(std::make_unique<Container>());
  }
  skinWarnings_ = std::move(result.warnings);
  fonts_.SetInfo(&manager_.GetWindowInfo());
}

std::unique_ptr<Control> WindowImplBase::CreateItem(std::u16string_view file) {
  if (!builder_) builder_ = std::make_unique<SkinBuilder>(GetSkinPath());
  std::u16string error;
  auto item = builder_->CreateItem(file, &error);
  if (!item) LogSkinFailure(error);
  return item;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // An open combo list closes when its owner loses the focus or hides, whoever handles that.
  if (dropDown_ && dropDown_->IsOpen() &&
      (message == WM_KILLFOCUS || (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ||
       (message == WM_SHOWWINDOW && !wParam))) {
    dropDown_->Close();
  }
  MessageResult filtered = 0;
  if (message != WM_CREATE && manager_.RunMessageFilters(message, wParam, lParam, filtered))
    return filtered;
  bool handled = false;
  LRESULT r = 0;
  switch (message) {
    case WM_CREATE: r = OnCreate(message, wParam, lParam, handled); break;
    case WM_CLOSE: r = OnClose(message, wParam, lParam, handled); break;
    case WM_DESTROY: r = OnDestroy(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: r = OnNcActivate(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: r = OnNcCalcSize(message, wParam, lParam, handled); break;
    case WM_NCPAINT: r = OnNcPaint(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: r = OnNcHitTest(message, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: r = OnGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: r = OnMouseWheel(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: r = OnMouseHover(message, wParam, lParam, handled); break;
    case WM_SHOWWINDOW: r = OnShowWindow(message, wParam, lParam, handled); break;
    case WM_SIZE: r = OnSize(message, wParam, lParam, handled); break;
    case WM_CHAR: r = OnChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: r = OnSysCommand(message, wParam, lParam, handled); break;
    case WM_COMMAND: r = OnCommand(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: r = OnKeyDown(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: r = OnKillFocus(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: r = OnSetFocus(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: r = OnLButtonDown(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: r = OnLButtonUp(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: r = OnMouseMove(message, wParam, lParam, handled); break;
    default: break;
  }
  if (handled) return r;
  r = HandleCustomMessage(message, wParam, lParam, handled);
  if (handled) return r;
  if (hwnd_ && HandleLibraryMessage(message, wParam, lParam, r)) return r;
  return hwnd_ ? DefWindowProcW(hwnd_, message, wParam, lParam) : 0;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  // Borderless: the skin draws the whole window; keep the system's caption band out.
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME));
  BuildSkin();
  palette_ = ReadSystemPalette();
  manager_.AddNotifier(this);
  manager_.AddMessageFilter(this);
  auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
  SetDpi(WindowDpi(hwnd_));
  Size skinSize = scale_.ToDevice(manager_.GetWindowInfo().size);
  int cx = cs->cx > 0 ? cs->cx : skinSize.cx;
  int cy = cs->cy > 0 ? cs->cy : skinSize.cy;
  SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SetClientPixels({rc.right, rc.bottom});
  UpdateRegion(rc.right, rc.bottom);
  manager_.Layout(true);
  InitWindow();
  if (hwnd_) ::PostMessageW(hwnd_, WindowInitMessage(), 0, 0);
  return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (IsIconic(hwnd_)) return 0;
  handled = true;
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool& handled) {
  handled = true;  // the client area is the whole window
  return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool& handled) {
  handled = true;
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(hwnd_, &pt);
  Point p = scale_.ToLogical(Point{pt.x, pt.y});
  if (manager_.GetWindowInfo().InCaption(p, manager_.GetClientSize())) {
    manager_.Layout();
    Control* c = manager_.FindControl(p);
    if (!c || !c->TakesClicks()) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
  const WindowInfo& info = manager_.GetWindowInfo();
  auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
  const Size minSize = scale_.ToDevice(info.minInfo);
  const Size maxSize = scale_.ToDevice(info.maxInfo);
  if (minSize.cx > 0) mmi->ptMinTrackSize = {minSize.cx, minSize.cy};
  if (maxSize.cx > 0) mmi->ptMaxTrackSize = {maxSize.cx, maxSize.cy};
  handled = false;
  return 0;
}

#define TV_DEFAULT_HANDLER(name)                                      \
  LRESULT WindowImplBase::name(UINT, WPARAM, LPARAM, bool& handled) { \
    handled = false;                                                  \
    return 0;                                                         \
  }
TV_DEFAULT_HANDLER(OnMouseWheel)
TV_DEFAULT_HANDLER(OnMouseHover)
TV_DEFAULT_HANDLER(OnShowWindow)
TV_DEFAULT_HANDLER(OnChar)
TV_DEFAULT_HANDLER(OnSysCommand)
TV_DEFAULT_HANDLER(OnCommand)
TV_DEFAULT_HANDLER(OnKillFocus)
TV_DEFAULT_HANDLER(OnSetFocus)
TV_DEFAULT_HANDLER(OnLButtonDown)
TV_DEFAULT_HANDLER(OnLButtonUp)
TV_DEFAULT_HANDLER(OnMouseMove)
#undef TV_DEFAULT_HANDLER

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = false;
  int cx = LOWORD(lParam);
  int cy = HIWORD(lParam);
  SetClientPixels({cx, cy});
  UpdateRegion(cx, cy);
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  if (dropDown_ && dropDown_->IsOpen()) return 0;  // an open list takes Enter and Escape
  if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
    LRESULT r = ResponseDefaultKeyEvent(wParam);
    handled = r != 0;
    return r;
  }
  return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM) { return 0; }

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

MessageResult WindowImplBase::MessageHandler(unsigned, std::uintptr_t, std::intptr_t, bool& handled) {
  handled = false;
  return 0;
}

void WindowImplBase::Notify(Notification& msg) {
  if (msg.type == NotifyType::kClick) OnClick(msg);
  else if (msg.type == NotifyType::kSelectChanged) OnSelectChanged(msg);
  else if (msg.type == NotifyType::kItemSelect) OnItemSelect(msg);
  else if (msg.type == NotifyType::kTimer) OnTimer(msg);
}

Point WindowImplBase::ClientPoint(LPARAM lParam) const {
  return scale_.ToLogical(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void WindowImplBase::SetDpi(int dpi) {
  scale_ = Scale(dpi);
  fonts_.SetDpi(scale_.Dpi());
}

void WindowImplBase::SetClientPixels(Size pixels) {
  clientPx_ = pixels;
  manager_.SetClientSize(scale_.ToLogicalCover(pixels));
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
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale, or the scale changed: everything is drawn again for
      // the new DPI, in the rectangle the system suggests (the same logical size at the new scale,
      // where the pointer keeps its place on the window when it is dragged).
      UpdateToolTip(false);
      if (dropDown_) dropDown_->Close();
      // A move of our own already has the destination's size: the suggestion would scale it again.
      SetDpi(HIWORD(wParam));
      regionSize_ = {};  // its rounded corners are drawn for the DPI
      const auto* r = reinterpret_cast<const RECT*>(lParam);
      if (!placing_) {
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      RECT rc;
      GetClientRect(hwnd_, &rc);
      SetClientPixels({rc.right, rc.bottom});
      UpdateRegion(rc.right, rc.bottom);
      manager_.NeedUpdate();
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      if (!placing_) OnDpiChanged();
      return true;
    }
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
      if (tooltip_) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
      }
      return false;
    default:
      return false;
  }
}

bool WindowImplBase::EnsureBackBuffer(int cx, int cy) { return back_.Ensure(cx, cy); }

bool WindowImplBase::Render(Rect& clip) {
  const Size client = clientPx_;
  if (client.cx <= 0 || client.cy <= 0) return false;
  manager_.Layout();
  if (!EnsureBackBuffer(client.cx, client.cy)) return false;
  clip = clip.Intersect({0, 0, client.cx, client.cy});
  if (clip.IsEmpty()) return false;
  {
    const DibPixels back = back_.Pixels();
    Renderer renderer(back_.Dc(), manager_.GetWindowInfo(), fonts_, builder_ ? builder_->Folder() : u"", scale_, back);
    renderer.SetPalette(palette_);
    renderer.PaintWindow(manager_.GetRoot(), clip);
    PaintFocusMark(renderer);
  }
  GdiFlush();
  return true;
}

void WindowImplBase::Paint(HDC target, const RECT& area) {
  Rect clip{area.left, area.top, area.right, area.bottom};
  if (!Render(clip)) return;
  BitBlt(target, clip.left, clip.top, clip.Width(), clip.Height(), back_.Dc(), clip.left, clip.top,
         SRCCOPY);
  manager_.TakeDirty();
}

bool WindowImplBase::SaveClientPng(const std::u16string& path) {
  const Size client = clientPx_;
  Rect all{0, 0, client.cx, client.cy};
  if (!Render(all)) return false;
  return SavePixelsAsPng(back_.Pixels().bits, client.cx, client.cy, back_.Width() * 4, path);
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

void WindowImplBase::PrepareSize(int cx, int cy, const std::function<void(bool)>& dress) {
  if (!hwnd_ || cx <= 0 || cy <= 0) return;
  const Size own = clientPx_;
  if (own == Size{cx, cy}) return;
  // What was waiting to be painted stays waiting; what the two layouts and the dressing move there
  // and back is not painted at all.
  const Rect waiting = pendingDirty_;
  if (dress) dress(true);
  SetClientPixels({cx, cy});
  Rect all{0, 0, cx, cy};
  Render(all);
  if (dress) dress(false);
  SetClientPixels(own);
  manager_.Layout();
  manager_.TakeDirty();
  pendingDirty_ = waiting;
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

void WindowImplBase::ShowWindow(bool show, bool takeFocus) {
  if (!hwnd_) return;
  ::ShowWindow(hwnd_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void WindowImplBase::Close(UINT code) {
  if (!hwnd_) return;
  closeCode_ = code;
  ::PostMessageW(hwnd_, WM_CLOSE, code, 0);
}

void WindowImplBase::DestroyAtOnce() {
  if (!hwnd_) return;
  LeaveScreenWithOwned(hwnd_);
  DestroyWindow(hwnd_);
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

BOOL WindowImplBase::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return hwnd_ ? ::PostMessageW(hwnd_, message, wParam, lParam) : FALSE;
}

LRESULT WindowImplBase::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) {
  return hwnd_ ? ::SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

bool WindowImplBase::SetTimer(UINT id, UINT periodMs) {
  return manager_.SetTimer(manager_.GetRoot(), id, periodMs);
}

bool WindowImplBase::KillTimer(UINT id) { return manager_.KillTimer(manager_.GetRoot(), id); }

void WindowImplBase::InvalidateRect(const Rect& rect) {
  if (!hwnd_ || rect.IsEmpty()) return;
  // Gathered and handed to the system once (each call is a trip to the window server under Wine,
  // and a month change invalidates some two hundred small places).
  pendingDirty_ = pendingDirty_.IsEmpty() ? rect : pendingDirty_.Union(rect);
  LayoutNeeded();
}

void WindowImplBase::FlushInvalidation() {
  if (!hwnd_ || pendingDirty_.IsEmpty()) return;
  const Rect dirty = scale_.ToDevice(pendingDirty_);
  RECT rc{dirty.left, dirty.top, dirty.right, dirty.bottom};
  pendingDirty_ = {};
  ::InvalidateRect(hwnd_, &rc, FALSE);
}

void WindowImplBase::UpdateNow() {
  if (!hwnd_) return;
  manager_.Layout();
  FlushInvalidation();
  ::UpdateWindow(hwnd_);
}

void WindowImplBase::LayoutNeeded() {
  if (!hwnd_ || layoutPosted_) return;
  layoutPosted_ = ::PostMessageW(hwnd_, LayoutMessage(), 0, 0) != FALSE;
}

bool WindowImplBase::StartTimer(unsigned hostId, unsigned periodMs) {
  return hwnd_ && ::SetTimer(hwnd_, hostId, periodMs, nullptr) != 0;
}

void WindowImplBase::StopTimer(unsigned hostId) {
  if (hwnd_) ::KillTimer(hwnd_, hostId);
}

void WindowImplBase::ShowDropDown(Combo* combo) {
  dropDown_.reset();
  if (!hwnd_) return;
  dropDown_ = std::make_unique<DropDownWindow>(manager_, fonts_, combo, hwnd_, scale_);
}

HWND WindowImplBase::GetDropDownWindow() const {
  return dropDown_ && dropDown_->IsOpen() ? dropDown_->GetHWND() : nullptr;
}

}  // namespace tvui
