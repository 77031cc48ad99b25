#include "ui/win32/native_edit.h"

#include <oleacc.h>

#include "ui/control.h"
#include "ui/win32/window_impl_base.h"

namespace tvui {

namespace {

constexpr const wchar_t* kSelf = L"tvui.NativeEdit";
// The box stands this far inside its control, so the control's frame shows around it.
constexpr int kInsetX = 6;
constexpr int kInsetY = 4;

// The system's IAccPropServices and the name property, written out here so that no GUID library
// is needed.
constexpr GUID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

void NameForReaders(HWND hwnd, std::u16string_view name) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                              reinterpret_cast<void**>(&services))) ||
      !services) {
    return;  // readers then name the box by its place alone
  }
  const std::wstring text(name.begin(), name.end());
  services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropName, text.c_str());
  services->Release();
}

}  // namespace

NativeEdit::~NativeEdit() {
  if (hwnd_ && IsWindow(hwnd_)) {
    RemovePropW(hwnd_, kSelf);
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_));
    DestroyWindow(hwnd_);
  }
}

bool NativeEdit::Create(WindowImplBase& window, Control* place, std::u16string_view accessName, int maxChars) {
  if (hwnd_ || !place || !window.GetHWND()) return false;
  window_ = &window;
  place_ = place;
  hwnd_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, window.GetHWND(),
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SetPropW(hwnd_, kSelf, this);
  base_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
  NameForReaders(hwnd_, accessName);
  Place();
  return true;
}

void NativeEdit::Place() {
  if (!hwnd_ || !place_ || !window_) return;
  const Scale& scale = window_->GetScale();
  const Rect& r = place_->GetPos();
  const Rect inner{r.left + kInsetX, r.top + kInsetY, r.right - kInsetX, r.bottom - kInsetY};
  const Rect px = scale.ToDevice(inner);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_->GetFont(place_->GetFont())), FALSE);
  SetWindowPos(hwnd_, nullptr, px.left, px.top, px.right - px.left, px.bottom - px.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (place_->IsShown() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

std::u16string NativeEdit::Text() const {
  if (!hwnd_) return {};
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(hwnd_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return std::u16string(text.begin(), text.end());
}

void NativeEdit::SetText(std::u16string_view text) {
  if (!hwnd_) return;
  const std::wstring w(text.begin(), text.end());
  SetWindowTextW(hwnd_, w.c_str());
}

void NativeEdit::Focus() {
  if (!hwnd_) return;
  SetFocus(hwnd_);
  SendMessageW(hwnd_, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK NativeEdit::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<NativeEdit*>(GetPropW(hwnd, kSelf));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const bool windowKey = wParam == VK_TAB || wParam == VK_RETURN || wParam == VK_ESCAPE;
  if (message == WM_KEYDOWN && windowKey) {
    // The window's keys: its tab order, its default button, its closing.
    SendMessageW(GetParent(hwnd), WM_KEYDOWN, wParam, lParam);
    return 0;
  }
  if (message == WM_CHAR && (wParam == L'\t' || wParam == L'\r' || wParam == 0x1b)) return 0;  // no beep
  if (message == WM_GETDLGCODE) return CallWindowProcW(self->base_, hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
  return CallWindowProcW(self->base_, hwnd, message, wParam, lParam);
}

}  // namespace tvui
