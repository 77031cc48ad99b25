#include "app/win32/menu_tray.h"

#include <memory>

#include "app/logic/tray_rules.h"
#include "app/logic/window_messages.h"
#include "app/win32/monitor_area.h"
#include "platform/launch.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "ui/attribute_values.h"
#include "ui/option.h"

namespace app {

namespace {

constexpr const char16_t* kAutostartItem = u"menu_startingup";

void Record(int code) { RecordUsageEvent(code, u"0"); }

}  // namespace

void CMenuTray::InitWindow() {
  HWND hwnd = GetHWND();
  RECT own{};
  GetWindowRect(hwnd, &own);
  tvui::Rect r = PlaceTrayMenu({at_.x, at_.y}, own.right - own.left, own.bottom - own.top,
                               app::MonitorAreaAt(at_, hwnd).work);
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The tick is right before the menu is first shown (the window's init notice comes later).
  if (auto* option = FindControlAs<tvui::Option>(kAutostartItem)) option->Selected(IsAutostartRegistered(), false);
}

void CMenuTray::OnClick(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (tvui::EqualsNoCase(name, u"menu_datetime")) {
    Record(kUsageDateTime);
    OpenDateTimeSettings();
  } else if (tvui::EqualsNoCase(name, u"menu_quit")) {
    Record(kUsageQuit);
    ::PostMessageW(owner_, WM_CLOSE, 0, 0);  // the program ends with its window
  } else if (tvui::EqualsNoCase(name, u"menu_about")) {
    Record(kUsageAbout);
    ::PostMessageW(owner_, UM_SHOW_ABOUT, 0, 0);
  } else if (!tvui::EqualsNoCase(name, kAutostartItem)) {
    return;
  }
  // Every choice closes the menu, also when what it opened never takes the focus.
  Close();
}

void CMenuTray::OnSelectChanged(tvui::Notification& msg) {
  auto* option = dynamic_cast<tvui::Option*>(msg.sender);
  if (!option || !tvui::EqualsNoCase(option->GetName(), kAutostartItem)) return;
  bool on = option->IsSelected();
  Record(on ? kUsageMenuAutostartOn : kUsageMenuAutostartOff);
  if (!SetAutostart(on)) {
    // Logged by SetAutostart; the tick shows what the system really has.
    option->Selected(IsAutostartRegistered(), false);
  }
}

std::optional<LRESULT> CMenuTray::OnMessage(const tvui::Message& m) {
  if (IsDialogKey(m, VK_ESCAPE)) {
    Close();
    ReturnFocusToOwner();
    return 1;
  }
  switch (m.message) {
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(m.wParam) != GetHWND()) PostMessageW(WM_CLOSE);
      break;
    case WM_ACTIVATE:
      // Another window of any program became active without the menu ever having had the focus.
      if (LOWORD(m.wParam) == WA_INACTIVE) PostMessageW(WM_CLOSE);
      break;
    case WM_MOUSEWHEEL:
      return 0;
    default:
      break;
  }
  return WindowImplBase::OnMessage(m);
}

std::unique_ptr<CMenuTray> CreateTrayMenu(HWND owner, std::optional<POINT> place) {
  POINT at{};
  if (place) at = *place;
  else GetCursorPos(&at);
  auto menu = std::make_unique<CMenuTray>(owner, at);
  if (!menu->Create(owner, L"MenuWnd", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, at.x, at.y)) {
    LogError(u"tray: cannot create the menu window (error " + IntToText(GetLastError()) + u")");
    return nullptr;
  }
  return menu;
}

void ShowTrayMenuWindow(CMenuTray& menu) {
  HWND hwnd = menu.GetHWND();
  HWND top = hwnd;
  for (HWND up = GetParent(top); up; up = GetParent(top)) top = up;
  ShowWindow(hwnd, SW_SHOW);
  // The owner keeps its title drawn active while its menu has the focus.
  if (top != hwnd) SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
  SetForegroundWindow(hwnd);
}

std::u16string TrayMenuStateText(const CMenuTray* menu) {
  HWND hwnd = menu ? menu->GetHWND() : nullptr;
  if (!hwnd || !IsWindow(hwnd)) return u"menu=0\n";
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  auto* option = menu->FindControlAs<tvui::Option>(kAutostartItem);
  return u"menu=" + IntToText(IsWindowVisible(hwnd) ? 1 : 0) + u"," + IntToText(rc.left) + u"," + IntToText(rc.top) +
         u"," + IntToText(rc.right) + u"," + IntToText(rc.bottom) + u"," +
         IntToText(option && option->IsSelected() ? 1 : 0) + u"," + IntToText(GetForegroundWindow() == hwnd ? 1 : 0) +
         u"\n";
}

}  // namespace app
