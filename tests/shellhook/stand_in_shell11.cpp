// A stand-in for the Windows 11 taskbar, for tests under Wine: see stand_in_shell11.h. Its tray
// buttons exist for UI Automation (a fragment root and its button fragments, served through
// UiaReturnRawElementProvider) and for MSAA (the bridge's client object with one simple child per
// button), as the real taskbar's do; neither is a window.
#include <windows.h>
#include <initguid.h>  // the provider interfaces' IIDs, defined here
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

#include <string>
#include <vector>

#include "tests/shellhook/stand_in_shell11.h"
#include "tests/shellhook/stand_in_window.h"

namespace {

using standin11::kBell;
using standin11::kButtonCount;
using standin11::kClock;
using standin11::kNetwork;

// mingw-w64's uiautomationcoreapi.h does not compile as C++, and uiautomationcore has no import
// library here: the few names of its server side are declared and looked up here.
constexpr long kUiaRootObjectId = -25;
constexpr long kButtonControlType = 50000;
constexpr long kPaneControlType = 50033;
using ReturnProviderCall = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderCall = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
ReturnProviderCall g_returnProvider = nullptr;
HostProviderCall g_hostProvider = nullptr;

std::wstring ClockName() {
  wchar_t time[64] = L"", date[64] = L"";
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 64);
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 64, nullptr);
  return std::wstring(time) + L" " + date;
}

class RootProvider;
class TrayAccessible;

// One taskbar: its windows, where its buttons stand (screen coordinates) and what reached them.
struct Tray {
  HWND taskbar = nullptr;
  HWND bridge = nullptr;
  RECT buttons[kButtonCount] = {};
  bool present[kButtonCount] = {true, true, true};
  int clicks[kButtonCount][2] = {};
  int locationQueries = 0;
  RootProvider* root = nullptr;
  TrayAccessible* accessible = nullptr;

  std::vector<int> Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < kButtonCount; ++i) {
      if (present[i]) shown.push_back(i);
    }
    return shown;
  }
  std::wstring NameOf(int b) const { return b == kClock ? ClockName() : b == kBell ? L"通知" : L"网络 已连接"; }
  const wchar_t* ClassOf(int b) const {
    return b == kClock ? L"SystemTray.OmniButtonLeft" : b == kBell ? L"SystemTray.OmniButtonRight"
                                                                   : L"SystemTray.NormalButton";
  }
  int ButtonAt(POINT screen) const {
    for (int b : Shown()) {
      if (PtInRect(&buttons[b], screen)) return b;
    }
    return -1;
  }
};

Tray g_trays[2];
int g_trayCount = 0;

// The providers live as long as the process: their reference counts are left out. What every
// provider here answers alike: a provider in this process, with no control patterns.
template <class... More>
class StandInProvider : public IRawElementProviderSimple, public IRawElementProviderFragment, public More... {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* out) override {
    *out = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** out) override {
    *out = nullptr;
    return S_OK;
  }
};

class ButtonProvider : public StandInProvider<> {
 public:
  ButtonProvider(Tray* tray, int button) : tray_(tray), button_(button) {}
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IRawElementProviderSimple) {
      *out = static_cast<IRawElementProviderSimple*>(this);
    } else if (riid == IID_IRawElementProviderFragment) {
      *out = static_cast<IRawElementProviderFragment*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID id, VARIANT* out) override {
    VariantInit(out);
    const wchar_t* text = nullptr;
    std::wstring name;
    if (id == UIA_NamePropertyId) {
      name = tray_->NameOf(button_);
      text = name.c_str();
    } else if (id == UIA_ClassNamePropertyId) {
      text = tray_->ClassOf(button_);
    } else if (id == UIA_AutomationIdPropertyId) {
      text = L"SystemTrayIcon";
    } else if (id == UIA_ControlTypePropertyId) {
      out->vt = VT_I4;
      out->lVal = kButtonControlType;
      return S_OK;
    }
    if (text) {
      out->vt = VT_BSTR;
      out->bstrVal = SysAllocString(text);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** out) override {
    *out = nullptr;
    return S_OK;
  }
  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** out) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** out) override {
    *out = SafeArrayCreateVector(VT_I4, 0, 3);
    if (!*out) return E_OUTOFMEMORY;
    LONG values[3] = {3, static_cast<LONG>(tray_ - g_trays), button_};  // 3: UiaAppendRuntimeId
    for (LONG i = 0; i < 3; ++i) SafeArrayPutElement(*out, &i, &values[i]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* out) override {
    const RECT& r = tray_->buttons[button_];
    *out = {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right - r.left),
            static_cast<double>(r.bottom - r.top)};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** out) override {
    *out = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** out) override;

 private:
  Tray* tray_;
  int button_;
};

class RootProvider : public StandInProvider<IRawElementProviderFragmentRoot> {
 public:
  explicit RootProvider(Tray* tray) : tray_(tray) {
    for (int i = 0; i < kButtonCount; ++i) buttons_.push_back(new ButtonProvider(tray, i));
  }
  ButtonProvider* Button(int i) { return buttons_[i]; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IRawElementProviderSimple) {
      *out = static_cast<IRawElementProviderSimple*>(this);
    } else if (riid == IID_IRawElementProviderFragment) {
      *out = static_cast<IRawElementProviderFragment*>(this);
    } else if (riid == IID_IRawElementProviderFragmentRoot) {
      *out = static_cast<IRawElementProviderFragmentRoot*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID id, VARIANT* out) override {
    VariantInit(out);
    if (id == UIA_ControlTypePropertyId) {
      out->vt = VT_I4;
      out->lVal = kPaneControlType;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** out) override {
    *out = nullptr;
    return g_hostProvider ? g_hostProvider(tray_->bridge, out) : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** out) override {
    *out = nullptr;
    std::vector<int> shown = tray_->Shown();
    if (shown.empty()) return S_OK;
    if (direction == NavigateDirection_FirstChild) *out = buttons_[shown.front()];
    if (direction == NavigateDirection_LastChild) *out = buttons_[shown.back()];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** out) override {
    *out = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* out) override {
    RECT r{};
    GetWindowRect(tray_->bridge, &r);
    *out = {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right - r.left),
            static_cast<double>(r.bottom - r.top)};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** out) override {
    *out = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** out) override {
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double, double, IRawElementProviderFragment** out) override {
    *out = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** out) override {
    *out = nullptr;
    return S_OK;
  }

 private:
  Tray* tray_;
  std::vector<ButtonProvider*> buttons_;
};

HRESULT ButtonProvider::Navigate(NavigateDirection direction, IRawElementProviderFragment** out) {
  *out = nullptr;
  if (direction == NavigateDirection_Parent) {
    *out = tray_->root;
    return S_OK;
  }
  std::vector<int> shown = tray_->Shown();
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != button_) continue;
    if (direction == NavigateDirection_NextSibling && i + 1 < shown.size()) *out = tray_->root->Button(shown[i + 1]);
    if (direction == NavigateDirection_PreviousSibling && i > 0) *out = tray_->root->Button(shown[i - 1]);
  }
  return S_OK;
}

HRESULT ButtonProvider::get_FragmentRoot(IRawElementProviderFragmentRoot** out) {
  *out = tray_->root;
  return S_OK;
}

// The bridge's MSAA client object: child n (1-based) is the n-th shown button.
class TrayAccessible : public IAccessible {
 public:
  explicit TrayAccessible(Tray* tray) : tray_(tray) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* out) override {
    *out = static_cast<long>(tray_->Shown().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
    *out = nullptr;
    return S_FALSE;  // simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    *out = nullptr;
    int b = ButtonOf(child);
    if (b < 0) return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_FALSE : E_INVALIDARG;
    *out = SysAllocString(tray_->NameOf(b).c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    out->vt = VT_I4;
    out->lVal = ButtonOf(child) >= 0 ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_CLIENT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* out) override {
    out->vt = VT_I4;
    out->lVal = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    out->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    out->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    ++tray_->locationQueries;
    RECT r{};
    int b = ButtonOf(child);
    if (b >= 0) {
      r = tray_->buttons[b];
    } else {
      GetWindowRect(tray_->bridge, &r);
    }
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* out) override {
    out->vt = VT_EMPTY;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT* out) override {
    out->vt = VT_EMPTY;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  int ButtonOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal <= 0) return -1;
    std::vector<int> shown = tray_->Shown();
    return child.lVal <= static_cast<long>(shown.size()) ? shown[child.lVal - 1] : -1;
  }
  Tray* tray_;
};

Tray* TrayOf(HWND hwnd) {
  for (int i = 0; i < g_trayCount; ++i) {
    if (g_trays[i].taskbar == hwnd || g_trays[i].bridge == hwnd) return &g_trays[i];
  }
  return nullptr;
}

LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Tray* tray = TrayOf(hwnd);
  switch (message) {
    case WM_GETOBJECT:
      if (!tray) break;
      if (static_cast<long>(lParam) == kUiaRootObjectId && g_returnProvider) {
        return g_returnProvider(hwnd, wParam, lParam, tray->root);
      }
      if (static_cast<long>(lParam) == OBJID_CLIENT) return LresultFromObject(IID_IAccessible, wParam, tray->accessible);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd, &at);
      int b = tray ? tray->ButtonAt(at) : -1;
      if (b >= 0) ++tray->clicks[b][message == WM_RBUTTONDOWN ? 1 : 0];
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (tray) {
        for (int b : tray->Shown()) {
          RECT r = tray->buttons[b];
          MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
          FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
          std::wstring text = b == kClock ? ClockName() : tray->NameOf(b);
          DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Tray* tray = TrayOf(hwnd);
  switch (message) {
    case standin11::kClicksOn:
      return tray && wParam < kButtonCount && lParam >= 0 && lParam < 2 ? tray->clicks[wParam][lParam] : -1;
    case standin11::kClearClicks:
      if (tray) ZeroMemory(tray->clicks, sizeof(tray->clicks));
      return 0;
    case standin11::kWidenClock:
      if (!tray || !tray->present[kClock]) return 0;
      tray->buttons[kClock].left -= static_cast<int>(wParam);
      InvalidateRect(tray->bridge, nullptr, TRUE);
      return 1;
    case standin11::kButtonCentre: {
      if (!tray || wParam >= kButtonCount || !tray->present[wParam]) return -1;
      const RECT& r = tray->buttons[wParam];
      return MAKELONG((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    case standin11::kLocationQueries:
      return tray ? tray->locationQueries : -1;
    case WM_DESTROY:
      if (tray == &g_trays[0]) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// A taskbar at (0, top) across the screen, its buttons from `x`: the network button, a gap, the
// clock and the bell right after it; mirrored across the screen when rtl.
bool MakeTray(Tray& tray, const wchar_t* cls, int top, int x, bool rtl, bool clock) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  const int h = standin11::kTaskbarHeight;
  tray.taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, top, width, h, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  tray.bridge = CreateWindowExW(0, L"Windows.UI.Composition.DesktopWindowContentBridge", L"DesktopWindowXamlSource",
                                WS_CHILD | WS_VISIBLE, 0, 0, width, h, tray.taskbar, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  if (!tray.taskbar || !tray.bridge) return false;
  RECT spans[kButtonCount] = {{x, top + 4, x + 40, top + h - 4},
                              {x + 100, top + 4, x + 180, top + h - 4},
                              {x + 180, top + 4, x + 210, top + h - 4}};
  for (int b = 0; b < kButtonCount; ++b) {
    RECT r = spans[b];
    if (rtl) r = {width - spans[b].right, r.top, width - spans[b].left, r.bottom};
    tray.buttons[b] = r;
  }
  tray.present[kClock] = clock;
  tray.root = new RootProvider(&tray);
  tray.accessible = new TrayAccessible(&tray);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (HMODULE uia = LoadLibraryW(L"uiautomationcore.dll")) {
    g_returnProvider =
        reinterpret_cast<ReturnProviderCall>(reinterpret_cast<void*>(GetProcAddress(uia, "UiaReturnRawElementProvider")));
    g_hostProvider =
        reinterpret_cast<HostProviderCall>(reinterpret_cast<void*>(GetProcAddress(uia, "UiaHostProviderFromHwnd")));
  }
  bool rtl = false, clock = true, second = false, announce = false;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    if (lstrcmpW(argv[i], L"--rtl") == 0) rtl = true;
    if (lstrcmpW(argv[i], L"--no-clock") == 0) clock = false;
    if (lstrcmpW(argv[i], L"--second") == 0) second = true;
    if (lstrcmpW(argv[i], L"--announce") == 0) announce = true;
  }
  if (argv) LocalFree(argv);

  standin::RegisterWindowClass(L"Shell_TrayWnd", &TaskbarProc);
  standin::RegisterWindowClass(L"Shell_SecondaryTrayWnd", &TaskbarProc);
  standin::RegisterWindowClass(L"Windows.UI.Composition.DesktopWindowContentBridge", &BridgeProc);
  int height = GetSystemMetrics(SM_CYSCREEN);
  // The clock well left of where the calendar window stands (by the right edge).
  if (!MakeTray(g_trays[0], L"Shell_TrayWnd", height - standin11::kTaskbarHeight, 560, rtl, clock)) return 1;
  g_trayCount = 1;
  if (second) {
    if (!MakeTray(g_trays[1], L"Shell_SecondaryTrayWnd", 0, 200, rtl, clock)) return 1;
    g_trayCount = 2;
  }
  for (int i = 0; i < g_trayCount; ++i) ShowWindow(g_trays[i].taskbar, SW_SHOWNOACTIVATE);
  if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CoUninitialize();
  return 0;
}
