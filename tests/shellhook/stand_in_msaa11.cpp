// The stand-in taskbar's tray buttons for MSAA: the bridge's client object, with one simple child
// per shown button, as the real taskbar's bridge answers OBJID_CLIENT.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <vector>

#include "tests/shellhook/stand_in_tray11.h"

namespace standin11 {
namespace {

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

}  // namespace

IAccessible* NewTrayAccessible(Tray* tray) { return new TrayAccessible(tray); }

}  // namespace standin11
