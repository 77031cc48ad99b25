#include "ui/win32/accessible_window.h"

#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/access_node.h"
#include "ui/control.h"
#include "ui/win32/window_impl_base.h"

namespace tvui {

namespace {

// Written out: with static mingw-w64 linking the import library's IID_IAccessible is a thunk.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

LONG RoleOf(AccessRole role) {
  switch (role) {
    case AccessRole::kDialog: return ROLE_SYSTEM_DIALOG;
    case AccessRole::kGrouping: return ROLE_SYSTEM_GROUPING;
    case AccessRole::kTable: return ROLE_SYSTEM_TABLE;
    case AccessRole::kCell: return ROLE_SYSTEM_CELL;
    case AccessRole::kPushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::kComboBox: return ROLE_SYSTEM_COMBOBOX;
    case AccessRole::kList: return ROLE_SYSTEM_LIST;
    case AccessRole::kListItem: return ROLE_SYSTEM_LISTITEM;
    case AccessRole::kText: return ROLE_SYSTEM_STATICTEXT;
    case AccessRole::kGraphic: return ROLE_SYSTEM_GRAPHIC;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG StatesOf(uint32_t s) {
  using namespace access_state;
  LONG out = 0;
  if (s & kSelected) out |= STATE_SYSTEM_SELECTED;
  if (s & kFocused) out |= STATE_SYSTEM_FOCUSED;
  if (s & kFocusable) out |= STATE_SYSTEM_FOCUSABLE;
  if (s & kSelectable) out |= STATE_SYSTEM_SELECTABLE;
  // kMarked (today) has no state of its own in MSAA: the name says "今天".
  if (s & kUnavailable) out |= STATE_SYSTEM_UNAVAILABLE;
  if (s & kCollapsed) out |= STATE_SYSTEM_COLLAPSED;
  if (s & kExpanded) out |= STATE_SYSTEM_EXPANDED;
  if (s & kReadOnly) out |= STATE_SYSTEM_READONLY;
  return out;
}

HRESULT Text(const std::u16string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

const AccessNode* ParentOf(const AccessNode& tree, int id) {
  for (const AccessNode& child : tree.children) {
    if (child.id == id) return &tree;
    if (const AccessNode* found = ParentOf(child, id)) return found;
  }
  return nullptr;
}

// The deepest node of the subtree at a logical client point.
const AccessNode* NodeAt(const AccessNode& node, Point p) {
  for (const AccessNode& child : node.children) {
    if (child.rect.Contains(p)) return NodeAt(child, p);
  }
  return &node;
}

class AccessibleObject;
AccessibleObject* NewObject(HWND hwnd, int nodeId);
void DropObject(const AccessibleObject* object);

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(HWND hwnd, int nodeId) : hwnd_(hwnd), nodeId_(nodeId) {}

  // IUnknown.
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) DropObject(this);  // the pool ends it
    return static_cast<ULONG>(left);
  }

  // IDispatch: not offered (clients call IAccessible directly).
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible.
  STDMETHODIMP get_accParent(IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessNode tree;
    if (!Snapshot(tree)) return CO_E_OBJNOTCONNECTED;
    if (nodeId_ == tree.id) return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                              reinterpret_cast<void**>(out));
    const AccessNode* parent = ParentOf(tree, nodeId_);
    if (!parent) return E_INVALIDARG;
    *out = NewObject(hwnd_, parent->id);
    return S_OK;
  }
  STDMETHODIMP get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    AccessNode tree;
    const AccessNode* self = Self(tree);
    if (!self) return E_INVALIDARG;
    *count = static_cast<LONG>(self->children.size());
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessNode tree;
    const AccessNode* node = Resolve(tree, child);
    if (!node) return E_INVALIDARG;
    if (node->children.empty() || node->id == nodeId_) return S_FALSE;  // a simple element
    *out = NewObject(hwnd_, node->id);
    return S_OK;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override { return TextOf(child, &AccessNode::name, out); }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override { return TextOf(child, &AccessNode::value, out); }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    return TextOf(child, &AccessNode::description, out);
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    return TextOf(child, &AccessNode::defaultAction, out);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    return NumberOf(child, out, [](const AccessNode& node, const AccessNode&) { return RoleOf(node.role); });
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    return NumberOf(child, out, [this](const AccessNode& node, const AccessNode& tree) {
      LONG state = StatesOf(node.states);
      if (!IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
      if (node.id == tree.id && GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
      return state;
    });
  }
  STDMETHODIMP get_accHelp(VARIANT, BSTR* out) override { return Text(u"", out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* out) override { return Text(u"", out); }
  STDMETHODIMP get_accFocus(VARIANT* out) override { return FindByState(access_state::kFocused, out); }
  STDMETHODIMP get_accSelection(VARIANT* out) override { return FindByState(access_state::kSelected, out); }
  STDMETHODIMP accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessNode tree;
    const AccessNode* node = Resolve(tree, child);
    WindowImplBase* window = WindowImplBase::FromHandle(hwnd_);
    if (!node || !window) return E_INVALIDARG;
    const Rect device = window->GetScale().ToDevice(node->rect);
    POINT origin{device.left, device.top};
    ClientToScreen(hwnd_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = device.Width();
    *height = device.Height();
    return S_OK;
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessNode tree;
    const AccessNode* self = Self(tree);
    if (!self) return E_INVALIDARG;
    const LONG count = static_cast<LONG>(self->children.size());
    LONG index = -1;  // position among our children of the start
    if (start.vt == VT_I4 && start.lVal > 0 && start.lVal <= count) index = start.lVal - 1;
    LONG to = -1;
    if (direction == NAVDIR_FIRSTCHILD && count > 0) to = 0;
    else if (direction == NAVDIR_LASTCHILD && count > 0) to = count - 1;
    else if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) && index >= 0)
      to = index + 1 < count ? index + 1 : -1;
    else if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) && index >= 0)
      to = index - 1;
    if (to < 0) return S_FALSE;
    return ChildVariant(self->children[to], to, out);
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessNode tree;
    const AccessNode* self = Self(tree);
    WindowImplBase* window = WindowImplBase::FromHandle(hwnd_);
    if (!self || !window) return E_INVALIDARG;
    POINT pt{x, y};
    ScreenToClient(hwnd_, &pt);
    const Point p = window->GetScale().ToLogical(Point{pt.x, pt.y});
    if (!self->rect.Contains(p)) return S_FALSE;
    const AccessNode* hit = NodeAt(*self, p);
    return NodeVariant(*self, *hit, out);
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    AccessNode tree;
    const AccessNode* node = Resolve(tree, child);
    WindowImplBase* window = WindowImplBase::FromHandle(hwnd_);
    if (!node || !window) return E_INVALIDARG;
    if (!node->control || node->defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    // Later, from the window's own queue: an action may close or rebuild what asked for it.
    window->ActivateForAccess(node->control);
    return S_OK;
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Snapshot(AccessNode& tree) const {
    WindowImplBase* window = WindowImplBase::FromHandle(hwnd_);
    if (!window || !IsWindow(hwnd_)) return false;
    tree = window->DescribeForAccess();
    return true;
  }
  const AccessNode* Self(AccessNode& tree) const { return Snapshot(tree) ? tree.Find(nodeId_) : nullptr; }
  // CHILDID_SELF, a child's position (1 … n) or the id of any node below this one.
  const AccessNode* Resolve(AccessNode& tree, const VARIANT& child) const {
    const AccessNode* self = Self(tree);
    if (!self || child.vt != VT_I4) return nullptr;
    const LONG id = child.lVal;
    if (id == CHILDID_SELF) return self;
    if (id > 0 && id <= static_cast<LONG>(self->children.size())) return &self->children[id - 1];
    for (const AccessNode& c : self->children) {
      if (const AccessNode* found = c.Find(id)) return found;
    }
    return nullptr;
  }
  HRESULT TextOf(const VARIANT& child, std::u16string AccessNode::*field, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessNode tree;
    const AccessNode* node = Resolve(tree, child);
    if (!node) return E_INVALIDARG;
    return Text(node->*field, out);
  }
  // A number of a node (role, state): value(node, tree).
  template <class Value>
  HRESULT NumberOf(const VARIANT& child, VARIANT* out, Value value) const {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessNode tree;
    const AccessNode* node = Resolve(tree, child);
    if (!node) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = value(*node, tree);
    return S_OK;
  }
  // A child by position: its own object when it has children, else its position.
  HRESULT ChildVariant(const AccessNode& node, LONG index, VARIANT* out) const {
    if (!node.children.empty()) {
      out->vt = VT_DISPATCH;
      out->pdispVal = NewObject(hwnd_, node.id);
      return S_OK;
    }
    out->vt = VT_I4;
    out->lVal = index + 1;
    return S_OK;
  }
  // Any node below or at self: CHILDID_SELF, a child, or a deeper node by its id.
  HRESULT NodeVariant(const AccessNode& self, const AccessNode& node, VARIANT* out) const {
    if (&node == &self) {
      out->vt = VT_I4;
      out->lVal = CHILDID_SELF;
      return S_OK;
    }
    for (size_t i = 0; i < self.children.size(); ++i) {
      if (&self.children[i] == &node) return ChildVariant(node, static_cast<LONG>(i), out);
    }
    out->vt = VT_I4;
    out->lVal = node.id;
    return S_OK;
  }
  static const AccessNode* WithState(const AccessNode& node, uint32_t state) {
    if (node.states & state) return &node;
    for (const AccessNode& child : node.children) {
      if (const AccessNode* found = WithState(child, state)) return found;
    }
    return nullptr;
  }
  HRESULT FindByState(uint32_t state, VARIANT* out) const {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessNode tree;
    const AccessNode* self = Self(tree);
    if (!self) return E_INVALIDARG;
    if (state == access_state::kFocused && GetFocus() != hwnd_) return S_FALSE;
    const AccessNode* found = WithState(*self, state);
    if (!found) {
      if (state != access_state::kFocused || self->id != tree.id) return S_FALSE;
      found = self;  // the window itself holds the focus
    }
    return NodeVariant(*self, *found, out);
  }

  LONG refs_ = 1;
  HWND hwnd_;
  int nodeId_;
};

// The objects handed out, owned here until their last reference goes.
std::mutex g_poolLock;
std::vector<std::unique_ptr<AccessibleObject>> g_pool;

AccessibleObject* NewObject(HWND hwnd, int nodeId) {
  auto object = std::make_unique<AccessibleObject>(hwnd, nodeId);
  AccessibleObject* raw = object.get();
  std::lock_guard<std::mutex> guard(g_poolLock);
  g_pool.push_back(std::move(object));
  return raw;
}

void DropObject(const AccessibleObject* object) {
  std::unique_ptr<AccessibleObject> gone;  // ended outside the lock
  std::lock_guard<std::mutex> guard(g_poolLock);
  auto at = std::find_if(g_pool.begin(), g_pool.end(), [&](const auto& o) { return o.get() == object; });
  if (at == g_pool.end()) return;
  gone = std::move(*at);
  g_pool.erase(at);
}

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  WindowImplBase* window = WindowImplBase::FromHandle(hwnd);
  if (!window) return 0;
  auto* object = NewObject(hwnd, window->DescribeForAccess().id);
  const LRESULT result = LresultFromObject(kIidAccessible, wParam, object);
  object->Release();
  return result;
}

}  // namespace tvui
