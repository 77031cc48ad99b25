// The stand-in taskbar's tray buttons for UI Automation: a fragment root (the bridge's pane) and
// one button fragment per shown button, served through UiaReturnRawElementProvider as the real
// taskbar's are; none of them is a window.
#include <windows.h>
#include <initguid.h>  // the provider interfaces' IIDs, defined here
#include <ole2.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

#include <string>
#include <vector>

#include "tests/shellhook/stand_in_tray11.h"

namespace standin11 {
namespace {

// mingw-w64's uiautomationcoreapi.h does not compile as C++, and uiautomationcore has no import
// library here: the few names of its server side are declared and looked up here.
constexpr long kUiaRootObjectId = -25;
constexpr long kButtonControlType = 50000;
constexpr long kPaneControlType = 50033;
using ReturnProviderCall = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderCall = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
ReturnProviderCall g_returnProvider = nullptr;
HostProviderCall g_hostProvider = nullptr;

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
    LONG values[3] = {3, tray_->index, button_};  // 3: UiaAppendRuntimeId
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

// The tray's root, as NewTrayProvider made it.
RootProvider* RootOf(const Tray* tray) { return static_cast<RootProvider*>(tray->root); }

HRESULT ButtonProvider::Navigate(NavigateDirection direction, IRawElementProviderFragment** out) {
  *out = nullptr;
  if (direction == NavigateDirection_Parent) {
    *out = RootOf(tray_);
    return S_OK;
  }
  std::vector<int> shown = tray_->Shown();
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != button_) continue;
    if (direction == NavigateDirection_NextSibling && i + 1 < shown.size()) *out = RootOf(tray_)->Button(shown[i + 1]);
    if (direction == NavigateDirection_PreviousSibling && i > 0) *out = RootOf(tray_)->Button(shown[i - 1]);
  }
  return S_OK;
}

HRESULT ButtonProvider::get_FragmentRoot(IRawElementProviderFragmentRoot** out) {
  *out = RootOf(tray_);
  return S_OK;
}

}  // namespace

void LoadUiaServer() {
  if (HMODULE uia = LoadLibraryW(L"uiautomationcore.dll")) {
    g_returnProvider =
        reinterpret_cast<ReturnProviderCall>(reinterpret_cast<void*>(GetProcAddress(uia, "UiaReturnRawElementProvider")));
    g_hostProvider =
        reinterpret_cast<HostProviderCall>(reinterpret_cast<void*>(GetProcAddress(uia, "UiaHostProviderFromHwnd")));
  }
}

IRawElementProviderSimple* NewTrayProvider(Tray* tray) { return new RootProvider(tray); }

std::optional<LRESULT> ServeUiaRoot(HWND bridge, WPARAM wParam, LPARAM lParam, const Tray& tray) {
  if (static_cast<long>(lParam) != kUiaRootObjectId || !g_returnProvider) return std::nullopt;
  return g_returnProvider(bridge, wParam, lParam, tray.root);
}

}  // namespace standin11
