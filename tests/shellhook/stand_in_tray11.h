#pragma once
// One taskbar of the Windows 11-style stand-in shell, shared by its windows (stand_in_shell11.cpp),
// its UI Automation providers (stand_in_uia11.cpp) and its MSAA object (stand_in_msaa11.cpp).
#include <windows.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/shellhook/stand_in_shell11.h"

namespace standin11 {

// The clock button's name: the current time and short date.
std::wstring ClockName();

// One taskbar: its windows, where its buttons stand (screen coordinates) and what reached them.
struct Tray {
  int index = 0;  // which taskbar of the process (part of its buttons' runtime ids)
  HWND taskbar = nullptr;
  HWND bridge = nullptr;
  RECT buttons[kButtonCount] = {};
  bool present[kButtonCount] = {true, true, true};
  int clicks[kButtonCount][2] = {};
  int locationQueries = 0;
  IRawElementProviderSimple* root = nullptr;  // the fragment root (stand_in_uia11.cpp)
  IAccessible* accessible = nullptr;          // the bridge's client object (stand_in_msaa11.cpp)

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

// UI Automation: looks up the server side of uiautomationcore once, before any window answers.
void LoadUiaServer();
// The fragment root of a tray and its button fragments; they live as long as the process.
IRawElementProviderSimple* NewTrayProvider(Tray* tray);
// The answer to WM_GETOBJECT when it asks the bridge for its UI Automation root, else nothing.
std::optional<LRESULT> ServeUiaRoot(HWND bridge, WPARAM wParam, LPARAM lParam, const Tray& tray);

// MSAA: the bridge's client object, child n (1-based) the n-th shown button; lives as long as the process.
IAccessible* NewTrayAccessible(Tray* tray);

}  // namespace standin11
