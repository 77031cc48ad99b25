#include "platform/win32/clock_locator.h"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>

namespace taskbar {

namespace {

// UI Automation's client node API as the system exports it. mingw-w64's uiautomationcoreapi.h
// declares only the provider side (and does not compile on its own), so the client side is
// declared here, as the Windows SDK has it.
DECLARE_HANDLE(HUIANODE);
using PROPERTYID = int;
struct UiaConditionDecl {
  int conditionType;  // ConditionType_True = 0
};
struct UiaCacheRequestDecl {
  UiaConditionDecl* viewCondition;
  int scope;  // TreeScope
  int* properties;
  int propertyCount;
  int* patterns;
  int patternCount;
  int elementMode;  // AutomationElementMode
};
constexpr int kConditionTrue = 0;
constexpr int kTreeScopeElement = 1;
constexpr int kElementModeFull = 1;
constexpr int kNavigateNextSibling = 1;
constexpr int kNavigateFirstChild = 3;
constexpr PROPERTYID kBoundingRectangleProperty = 30001;
constexpr PROPERTYID kNameProperty = 30005;
constexpr PROPERTYID kAutomationIdProperty = 30011;
constexpr PROPERTYID kClassNameProperty = 30012;

using NodeFromHandleCall = HRESULT(WINAPI*)(HWND, HUIANODE*);
using NavigateCall = HRESULT(WINAPI*)(HUIANODE, int, UiaConditionDecl*, UiaCacheRequestDecl*, SAFEARRAY**, BSTR*);
using PropertyCall = HRESULT(WINAPI*)(HUIANODE, PROPERTYID, VARIANT*);
using NodeReleaseCall = BOOL(WINAPI*)(HUIANODE);
using NodeFromVariantCall = HRESULT(WINAPI*)(VARIANT*, HUIANODE*);
using ObjectFromWindowCall = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using ChildrenCall = HRESULT(WINAPI*)(IAccessible*, LONG, LONG, VARIANT*, LONG*);

// A bridge never holds more buttons than this; anything past it is not a taskbar's tray.
constexpr int kMostButtons = 64;

template <typename Call>
Call Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::u16string FromBstr(BSTR text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

class AutomationReader : public TrayButtonReader {
 public:
  explicit AutomationReader(std::atomic<uint64_t>* progress) : progress_(progress) {}
  bool Load() {
    HMODULE uia = LoadLibraryW(L"uiautomationcore.dll");
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    if (!uia || !oleacc) return false;
    nodeFromHandle_ = Lookup<NodeFromHandleCall>(uia, "UiaNodeFromHandle");
    navigate_ = Lookup<NavigateCall>(uia, "UiaNavigate");
    property_ = Lookup<PropertyCall>(uia, "UiaGetPropertyValue");
    release_ = Lookup<NodeReleaseCall>(uia, "UiaNodeRelease");
    fromVariant_ = Lookup<NodeFromVariantCall>(uia, "UiaHUiaNodeFromVariant");
    objectFromWindow_ = Lookup<ObjectFromWindowCall>(oleacc, "AccessibleObjectFromWindow");
    children_ = Lookup<ChildrenCall>(oleacc, "AccessibleChildren");
    return nodeFromHandle_ && navigate_ && property_ && release_ && fromVariant_ && objectFromWindow_ && children_;
  }

  bool Read(HWND bridge, std::vector<TrayButton>& buttons) override {
    buttons.clear();
    HUIANODE root = nullptr;
    HRESULT made = nodeFromHandle_(bridge, &root);
    Done();
    if (FAILED(made) || !root) return false;
    bool needLocations = false;
    HUIANODE node = Step(root, kNavigateFirstChild);
    while (node && static_cast<int>(buttons.size()) < kMostButtons) {
      TrayButton b;
      b.name = Text(node, kNameProperty);
      b.className = Text(node, kClassNameProperty);
      b.automationId = Text(node, kAutomationIdProperty);
      b.rect = Rect(node);
      needLocations = needLocations || b.rect.Empty();
      buttons.push_back(std::move(b));
      HUIANODE next = Step(node, kNavigateNextSibling);
      release_(node);
      node = next;
    }
    if (node) release_(node);
    release_(root);
    if (needLocations) FillFromAccessibility(bridge, buttons);
    return true;
  }

 private:
  // The node one step away in a direction; null at the end.
  HUIANODE Step(HUIANODE from, int direction) {
    UiaConditionDecl all{kConditionTrue};
    UiaCacheRequestDecl request{&all, kTreeScopeElement, nullptr, 0, nullptr, 0, kElementModeFull};
    SAFEARRAY* data = nullptr;
    BSTR tree = nullptr;
    HUIANODE found = nullptr;
    HRESULT moved = navigate_(from, direction, &all, &request, &data, &tree);
    Done();
    if (SUCCEEDED(moved) && data) {
      // One element: row 0, column 0 holds its node.
      LONG at[2] = {0, 0};
      VARIANT v;
      VariantInit(&v);
      if (SUCCEEDED(SafeArrayGetElement(data, at, &v)) && FAILED(fromVariant_(&v, &found))) found = nullptr;
      VariantClear(&v);
    }
    if (data) SafeArrayDestroy(data);
    if (tree) SysFreeString(tree);
    return found;
  }

  std::u16string Text(HUIANODE node, PROPERTYID id) {
    VARIANT v;
    VariantInit(&v);
    std::u16string text;
    HRESULT got = property_(node, id, &v);
    Done();
    if (SUCCEEDED(got) && v.vt == VT_BSTR) text = FromBstr(v.bstrVal);
    VariantClear(&v);
    return text;
  }

  // UI Automation's BoundingRectangle: left, top, width, height as doubles.
  PixelRect Rect(HUIANODE node) {
    VARIANT v;
    VariantInit(&v);
    PixelRect rect;
    HRESULT got = property_(node, kBoundingRectangleProperty, &v);
    Done();
    if (SUCCEEDED(got) && v.vt == (VT_R8 | VT_ARRAY) && v.parray &&
        v.parray->rgsabound[0].cElements == 4) {
      double values[4] = {};
      for (LONG i = 0; i < 4; ++i) SafeArrayGetElement(v.parray, &i, &values[i]);
      rect = RectFromLocation(static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
                              static_cast<int>(values[3]));
    }
    VariantClear(&v);
    return rect;
  }

  // The same buttons as the bridge's MSAA children: the child whose name equals a button's Name
  // gives that button its location.
  void FillFromAccessibility(HWND bridge, std::vector<TrayButton>& buttons) {
    IAccessible* client = nullptr;
    HRESULT got = objectFromWindow_(bridge, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                    reinterpret_cast<void**>(&client));
    Done();
    if (FAILED(got) || !client) return;
    long count = 0;
    if (FAILED(client->get_accChildCount(&count))) count = 0;
    Done();
    count = std::clamp(count, 0L, static_cast<long>(kMostButtons));
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG listed = 0;
    if (count > 0 && FAILED(children_(client, 0, count, children.data(), &listed))) listed = 0;
    Done();
    for (LONG i = 0; i < listed; ++i) {
      IAccessible* holder = client;
      VARIANT self;
      self.vt = VT_I4;
      self.lVal = CHILDID_SELF;
      VARIANT id = children[i];
      IAccessible* object = nullptr;
      if (children[i].vt == VT_DISPATCH && children[i].pdispVal &&
          SUCCEEDED(children[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object)))) {
        holder = object;
        id = self;
      }
      BSTR name = nullptr;
      HRESULT named = holder->get_accName(id, &name);
      Done();
      if (SUCCEEDED(named) && name) {
        std::u16string text = FromBstr(name);
        for (TrayButton& b : buttons) {
          if (!b.rect.Empty() || b.name != text) continue;
          long left = 0, top = 0, width = 0, height = 0;
          HRESULT located = holder->accLocation(&left, &top, &width, &height, id);
          Done();
          if (SUCCEEDED(located)) b.rect = RectFromLocation(left, top, width, height);
          break;
        }
        SysFreeString(name);
      }
      if (object) object->Release();
      VariantClear(&children[i]);
    }
    client->Release();
  }

  void Done() {
    if (progress_) progress_->fetch_add(1, std::memory_order_relaxed);
  }

  std::atomic<uint64_t>* progress_;
  NodeFromHandleCall nodeFromHandle_ = nullptr;
  NavigateCall navigate_ = nullptr;
  PropertyCall property_ = nullptr;
  NodeReleaseCall release_ = nullptr;
  NodeFromVariantCall fromVariant_ = nullptr;
  ObjectFromWindowCall objectFromWindow_ = nullptr;
  ChildrenCall children_ = nullptr;
};

constexpr const wchar_t* kContentBridge = L"Windows.UI.Composition.DesktopWindowContentBridge";

bool HasClass(HWND window, const wchar_t* cls) {
  wchar_t name[64];
  return GetClassNameW(window, name, 64) > 0 && lstrcmpW(name, cls) == 0;
}

BOOL CALLBACK FindClockButton(HWND child, LPARAM found) {
  if (!HasClass(child, L"ClockButton")) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

BOOL CALLBACK CollectTaskbar(HWND window, LPARAM list) {
  if (HasClass(window, L"Shell_TrayWnd") || HasClass(window, L"Shell_SecondaryTrayWnd")) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

std::u16string Formatted(int (*format)(const SYSTEMTIME&, wchar_t*, int), const SYSTEMTIME& at) {
  wchar_t text[128] = L"";
  int n = format(at, text, 128);
  return n > 1 ? std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(n - 1)) : u"";
}

int FormatTime(const SYSTEMTIME& at, wchar_t* text, int size) {
  return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, text, size);
}

int FormatDate(const SYSTEMTIME& at, wchar_t* text, int size) {
  return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, text, size, nullptr);
}

SYSTEMTIME MinutesFrom(const SYSTEMTIME& at, int minutes) {
  FILETIME ft;
  SystemTimeToFileTime(&at, &ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(minutes) * 60 * 10000000LL);
  ft = {t.LowPart, t.HighPart};
  SYSTEMTIME shifted = at;
  FileTimeToSystemTime(&ft, &shifted);
  return shifted;
}

}  // namespace

std::unique_ptr<TrayButtonReader> MakeAutomationTrayButtonReader(std::atomic<uint64_t>* progress) {
  auto reader = std::make_unique<AutomationReader>(progress);
  if (!reader->Load()) return nullptr;
  return reader;
}

std::vector<std::u16string> CurrentClockTexts() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {Formatted(&FormatTime, MinutesFrom(now, -1)), Formatted(&FormatTime, now),
          Formatted(&FormatTime, MinutesFrom(now, 1)), Formatted(&FormatDate, now)};
}

bool ClockWindowExists() {
  for (HWND tray = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); tray;
       tray = FindWindowExW(nullptr, tray, L"Shell_TrayWnd", nullptr)) {
    HWND notify = FindWindowExW(tray, nullptr, L"TrayNotifyWnd", nullptr);
    if (notify && FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr)) return true;
  }
  for (HWND tray = FindWindowExW(nullptr, nullptr, L"Shell_SecondaryTrayWnd", nullptr); tray;
       tray = FindWindowExW(nullptr, tray, L"Shell_SecondaryTrayWnd", nullptr)) {
    bool found = false;
    EnumChildWindows(tray, &FindClockButton, reinterpret_cast<LPARAM>(&found));
    if (found) return true;
  }
  return false;
}

bool ContentBridgeExists() {
  std::vector<HWND> taskbars;
  EnumWindows(&CollectTaskbar, reinterpret_cast<LPARAM>(&taskbars));
  for (HWND tray : taskbars) {
    if (FindWindowExW(tray, nullptr, kContentBridge, nullptr)) return true;
  }
  return false;
}

ClockSnapshot LocateClocks(TrayButtonReader& reader, const std::vector<std::u16string>& clockTexts) {
  std::vector<HWND> taskbars;
  EnumWindows(&CollectTaskbar, reinterpret_cast<LPARAM>(&taskbars));
  ClockSnapshot snapshot;
  std::vector<TrayButton> buttons;
  for (HWND tray : taskbars) {
    HWND bridge = FindWindowExW(tray, nullptr, kContentBridge, nullptr);
    RECT tr{};
    if (!bridge || !GetWindowRect(tray, &tr)) continue;
    const PixelRect trayRect{tr.left, tr.top, tr.right, tr.bottom};
    snapshot.taskbars.push_back({trayRect, reinterpret_cast<std::uintptr_t>(tray)});
    if (!reader.Read(bridge, buttons)) continue;
    ClockButtons found = FindClockButtons(buttons, clockTexts);
    if (found.clock < 0 || buttons[found.clock].rect.Empty()) continue;
    ClockTarget target;
    target.clock = buttons[found.clock].rect;
    if (found.bell >= 0) target.bell = buttons[found.bell].rect;
    target.taskbar = reinterpret_cast<std::uintptr_t>(tray);
    target.monitor = reinterpret_cast<std::uintptr_t>(MonitorFromWindow(tray, MONITOR_DEFAULTTONEAREST));
    target.taskbarRect = trayRect;
    snapshot.clocks.push_back(target);
  }
  return snapshot;
}

}  // namespace taskbar
