// The window class and its procedure: registration, creation, the dispatch of a message through
// its levels, the borderless frame, the skin's tree, and the window's life. The back buffer is in
// window_paint.cpp, the place, size, region and scale in window_placement.cpp, the library's own
// handling of messages in window_messages.cpp, the tool tip in window_tooltip.cpp.
#include "ui/win32/window_impl_base.h"

#include <windowsx.h>

#include <mutex>
#include <set>
#include <type_traits>

#include "platform/log.h"
#include "ui/container.h"
#include "ui/win32/dpi.h"
#include "ui/win32/drop_down_window.h"
#include "ui/win32/ui_app.h"

namespace tvui {

static_assert(sizeof(MessageResult) == sizeof(LRESULT) && std::is_signed_v<MessageResult> == std::is_signed_v<LRESULT>,
              "the portable message result is the platform's LRESULT");

namespace {

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
  DestroyToolTip();
  manager_.SetHost(nullptr);
}

bool WindowImplBase::RegisterWindowClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(UiApp::GetInstance(), GetWindowClassName(), &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
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
  LRESULT r = self->HandleMessage({message, wParam, lParam});
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

LRESULT WindowImplBase::HandleMessage(const Message& m) {
  // An open combo list closes when its owner loses the focus or hides, whoever handles that.
  if (dropDown_ && dropDown_->IsOpen() &&
      (m.message == WM_KILLFOCUS || (m.message == WM_ACTIVATE && LOWORD(m.wParam) == WA_INACTIVE) ||
       (m.message == WM_SHOWWINDOW && !m.wParam))) {
    dropDown_->Close();
  }
  if (m.message == WM_CREATE) {
    OnCreateWindow(*reinterpret_cast<const CREATESTRUCTW*>(m.lParam));
    return 0;
  }
  if (std::optional<LRESULT> answer = OnMessage(m)) return *answer;
  return DefaultMessage(m);
}

std::optional<LRESULT> WindowImplBase::OnMessage(const Message&) { return std::nullopt; }

LRESULT WindowImplBase::DefaultMessage(const Message& m) {
  const auto [message, wParam, lParam] = m;
  switch (message) {
    // The borderless frame: the skin draws the whole window, and the caption band drags it.
    case WM_NCACTIVATE:
      if (!IsIconic(hwnd_)) return wParam == 0 ? TRUE : FALSE;
      break;
    case WM_NCCALCSIZE:  // the client area is the whole window
    case WM_NCPAINT:
      return 0;
    case WM_NCHITTEST: return HitTest(lParam);
    case WM_GETMINMAXINFO: LimitTrackSize(*reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_SIZE: SetClientSize(LOWORD(lParam), HIWORD(lParam)); break;
    default: break;
  }
  LRESULT r = 0;
  if (hwnd_ && HandleLibraryMessage(message, wParam, lParam, r)) return r;
  return hwnd_ ? DefWindowProcW(hwnd_, message, wParam, lParam) : 0;
}

void WindowImplBase::OnCreateWindow(const CREATESTRUCTW& cs) {
  // Borderless: the skin draws the whole window; keep the system's caption band out.
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME));
  BuildSkin();
  palette_ = ReadSystemPalette();
  manager_.AddNotifier(this);
  SetDpi(WindowDpi(hwnd_));
  Size skinSize = scale_.ToDevice(manager_.GetWindowInfo().size);
  int cx = cs.cx > 0 ? cs.cx : skinSize.cx;
  int cy = cs.cy > 0 ? cs.cy : skinSize.cy;
  SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SetClientPixels({rc.right, rc.bottom});
  UpdateRegion(rc.right, rc.bottom);
  manager_.Layout(true);
  InitWindow();
  if (hwnd_) ::PostMessageW(hwnd_, WindowInitMessage(), 0, 0);
}

LRESULT WindowImplBase::HitTest(LPARAM lParam) {
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

bool WindowImplBase::IsDialogKey(const Message& m, WPARAM key) const {
  return m.message == WM_KEYDOWN && m.wParam == key && !(dropDown_ && dropDown_->IsOpen());
}

void WindowImplBase::Notify(Notification& msg) {
  if (msg.type == NotifyType::kClick) OnClick(msg);
  else if (msg.type == NotifyType::kSelectChanged) OnSelectChanged(msg);
  else if (msg.type == NotifyType::kItemSelect) OnItemSelect(msg);
  else if (msg.type == NotifyType::kTimer) OnTimer(msg);
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