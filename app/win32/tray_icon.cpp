#include "app/win32/tray_icon.h"

#include <memory>

#include "app/logic/tray_rules.h"
#include "app/logic/window_messages.h"
#include "platform/abandonable_work.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "ui/win32/dpi.h"
#include "ui/win32/ui_app.h"

namespace app {

namespace {

constexpr const wchar_t* kClassName = L"CTrayIcon";
constexpr const wchar_t* kTip = L"Velar日历";

// How long taking the icon away may hold its caller. The shell answers at once once it has
// dropped the icon, but Wine's shell first hides its own tray window when the last icon goes and
// answers only after waiting up to 2 s for a window manager.
constexpr int kDeleteWaitMs = 300;

// The icon object rides on its message window (made with it as the creation parameter).
LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* icon = reinterpret_cast<CTrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (icon && icon->MessageWindow() == hwnd) return icon->WindowProc(hwnd, message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterTrayClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TrayWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

// The notifications shown and clicked in this run, the last one's texts (for the test hook).
int g_balloons = 0;
int g_balloonClicks = 0;
std::u16string g_lastBalloon;

std::u16string& TipDay() {
  static std::u16string day;  // UI thread only
  return day;
}

void FillTip(NOTIFYICONDATAW& data, const std::u16string& day) {
  std::wstring tip = kTip;
  if (!day.empty()) tip += L"\n" + std::wstring(day.begin(), day.end());
  lstrcpynW(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip));
}

}  // namespace

void CTrayIcon::SetTip(const std::u16string& day) {
  FillTip(data_, day);
  if (!shown_ || !data_.hWnd) return;
  NOTIFYICONDATAW change = data_;
  change.uFlags = NIF_TIP;
  Shell_NotifyIconW(NIM_MODIFY, &change);
}

bool CTrayIcon::ShowBalloon(const std::u16string& title, const std::u16string& text) {
  if (!shown_ || !data_.hWnd) return false;
  NOTIFYICONDATAW note = data_;
  note.uFlags = NIF_INFO;
  const std::wstring t(title.begin(), title.end()), body(text.begin(), text.end());
  lstrcpynW(note.szInfoTitle, t.c_str(), ARRAYSIZE(note.szInfoTitle));
  lstrcpynW(note.szInfo, body.empty() ? L" " : body.c_str(), ARRAYSIZE(note.szInfo));
  note.dwInfoFlags = NIIF_INFO;
  if (!Shell_NotifyIconW(NIM_MODIFY, &note)) {
    LogError(u"tray: the shell did not take the notification");
    return false;
  }
  ++g_balloons;
  g_lastBalloon = title + u"|" + text;
  for (char16_t& c : g_lastBalloon)
    if (c == u'\n') c = u'/';
  return true;
}

void SetTrayTipDay(CTrayIcon* icon, const std::u16string& day) {
  if (TipDay() == day) return;
  TipDay() = day;
  if (icon) icon->SetTip(day);
}

CTrayIcon::CTrayIcon(TrayIconOwner& owner) : owner_(owner) {}

CTrayIcon::~CTrayIcon() { Remove(); }

bool CTrayIcon::Add(HINSTANCE instance) {
  added_ = true;
  instance_ = instance;
  if (!RegisterTrayClass(instance)) {
    LogError(u"tray: cannot register the icon's window class (error " + IntToText(GetLastError()) + u")");
    return false;
  }
  HWND hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, this);
  if (!hwnd) {
    LogError(u"tray: cannot create the icon's window (error " + IntToText(GetLastError()) + u")");
    return false;
  }
  data_ = {};
  data_.cbSize = sizeof(data_);
  data_.hWnd = hwnd;
  data_.uID = kTrayIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = UM_TRAY_CALLBACK;
  // The notification area shows small icons at the primary monitor's scale (the icon file holds
  // every size up to 64 pixels, so none is stretched).
  const int dpi = tvui::ScreenDpi();
  data_.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconTray), IMAGE_ICON,
                                              tvui::SystemMetricForDpi(SM_CXSMICON, dpi),
                                              tvui::SystemMetricForDpi(SM_CYSMICON, dpi), 0));
  FillTip(data_, TipDay());
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  if (!shown_) LogError(u"tray: the shell did not take the icon");
  // The callback's version 3: the keyboard reaches the icon too (Enter, Space, Shift+F10). A
  // shell that does not know it goes on sending the mouse messages alone.
  data_.uVersion = NOTIFYICON_VERSION;
  if (shown_) Shell_NotifyIconW(NIM_SETVERSION, &data_);
  return true;
}

void CTrayIcon::Remove() {
  if (!added_) return;
  added_ = false;
  if (data_.hWnd) {
    data_.uFlags = 0;
    if (shown_) {
      // Sent from a helper thread with its own copy, so that the wait for the shell's answer is
      // bounded; the shell has the request either way and drops the icon.
      NOTIFYICONDATAW request = data_;
      const ULONGLONG since = GetTickCount64();
      if (!RunUnlessStopped([request]() mutable { Shell_NotifyIconW(NIM_DELETE, &request); },
                            [since] { return GetTickCount64() - since >= kDeleteWaitMs; })) {
        LogError(u"tray: the shell did not answer the icon's removal in time; the program goes on");
      }
    }
    shown_ = false;
    DestroyWindow(data_.hWnd);
    data_.hWnd = nullptr;
  }
  if (data_.hIcon) {
    DestroyIcon(data_.hIcon);
    data_.hIcon = nullptr;
  }
}

LRESULT CTrayIcon::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return 1;
  if (message == UM_TRAY_CALLBACK) {
    if (wParam != kTrayIconId) return 0;
    if (lParam == NIN_BALLOONUSERCLICK) {
      ++g_balloonClicks;
      owner_.ShowNoticeDay();
      return 1;
    }
    const TrayEvent event = lParam == WM_LBUTTONDOWN  ? TrayEvent::kLeftDown
                            : lParam == WM_RBUTTONUP  ? TrayEvent::kRightUp
                            : lParam == NIN_KEYSELECT ? TrayEvent::kKeySelect
                            : lParam == WM_CONTEXTMENU ? TrayEvent::kContextMenu
                                                       : TrayEvent::kOther;
    switch (callbacks_.Take(event, GetTickCount())) {
      case TrayAction::kToggle:
        OnLeftClick();
        break;
      case TrayAction::kMenuAtPointer:
        OnRightClick(false);
        break;
      case TrayAction::kMenuAtIcon:
        OnRightClick(true);
        break;
      case TrayAction::kNone:
        break;
    }
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CTrayIcon::OnLeftClick() {
  RecordUsageEvent(kUsageTrayLeftClick, u"0");
  owner_.ToggleFromTray();
}

void CTrayIcon::OnRightClick(bool atIcon) {
  RecordUsageEvent(kUsageTrayRightClick, u"0");
  std::optional<POINT> at;
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = data_.hWnd;
  icon.uID = data_.uID;
  RECT place{};
  // From the keyboard the pointer may be anywhere: the menu stands by the icon.
  if (atIcon && SUCCEEDED(Shell_NotifyIconGetRect(&icon, &place))) {
    at = POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
  }
  owner_.ShowTrayMenuAt(at);
}

std::unique_ptr<CTrayIcon> MakeTrayIcon(TrayIconOwner& owner) {
  auto icon = std::make_unique<CTrayIcon>(owner);
  if (!icon->Add(tvui::UiApp::GetInstance())) return nullptr;
  return icon;
}

std::u16string TrayStateText(const CTrayIcon* icon) {
  std::u16string s = u"tray=" + IntToText(icon && icon->MessageWindow() ? 1 : 0) + u"," +
                     IntToText(icon && icon->Shown() ? 1 : 0) + u"\n";
  s += u"tray.tip=" + TipDay() + u"\n";
  s += u"tray.balloons=" + IntToText(g_balloons) + u"," + IntToText(g_balloonClicks) + u"\n";
  s += u"tray.balloon=" + g_lastBalloon + u"\n";
  return s;
}

}  // namespace app
