#pragma once
// Test helpers around the Windows 11-style stand-in shell (stand_in_shell11.h): start and end it,
// ask its taskbars about their buttons, click them with real input.
#include <windows.h>

#include <string>

#include "tests/shellhook/shell_fixture.h"
#include "tests/shellhook/stand_in_shell11.h"

namespace tvtest {

class StandInShell11 {
 public:
  StandInShell11() = default;
  StandInShell11(const StandInShell11&) = delete;
  StandInShell11& operator=(const StandInShell11&) = delete;
  ~StandInShell11() { End(); }

  // Starts the stand-in with its mode arguments and waits for its taskbars; false when they do
  // not come up.
  bool Start(const std::wstring& args = L"") {
    End();
    process_ = StartProcess(BinDir() / "standin11" / "explorer.exe", args);
    if (!process_) return false;
    bool second = args.find(L"--second") != std::wstring::npos;
    return WaitUntil([&] {
      taskbars_[0] = WindowOf(process_, L"Shell_TrayWnd");
      taskbars_[1] = second ? WindowOf(process_, L"Shell_SecondaryTrayWnd") : nullptr;
      return taskbars_[0] && IsWindowVisible(taskbars_[0]) && (!second || (taskbars_[1] && IsWindowVisible(taskbars_[1])));
    }, 15000);
  }
  void End() {
    if (process_ && IsWindow(taskbars_[0])) {
      PostMessageW(taskbars_[0], WM_CLOSE, 0, 0);
      WaitForSingleObject(process_, 5000);
    }
    EndProcess(process_);
    HWND gone = taskbars_[0];
    WaitUntil([&] { return !IsWindow(gone); });
    taskbars_[0] = taskbars_[1] = nullptr;
  }
  HWND Taskbar(int which = 0) const { return taskbars_[which]; }

  LRESULT Ask(int which, UINT question, WPARAM wParam = 0, LPARAM lParam = 0) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(taskbars_[which], question, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)) return -1;
    return static_cast<LRESULT>(answer);
  }
  POINT Centre(standin11::Button button, int which = 0) const {
    LRESULT packed = Ask(which, standin11::kButtonCentre, button);
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
  }
  int Clicks(standin11::Button button, bool right = false, int which = 0) const {
    return static_cast<int>(Ask(which, standin11::kClicksOn, button, right ? 1 : 0));
  }
  void ClearClicks(int which = 0) const { Ask(which, standin11::kClearClicks); }
  int LocationQueries(int which = 0) const { return static_cast<int>(Ask(which, standin11::kLocationQueries)); }

 private:
  HANDLE process_ = nullptr;
  HWND taskbars_[2] = {};
};

// A real click with Ctrl held.
inline void RealCtrlClick(POINT at) {
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT in[4] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].type = in[3].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[3].ki.wVk = VK_CONTROL;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  in[1] = PointerInput(at, MOUSEEVENTF_LEFTDOWN);  // the point on the button events themselves
  in[2] = PointerInput(at, MOUSEEVENTF_LEFTUP);
  SendInput(4, in, sizeof(INPUT));
}

}  // namespace tvtest
