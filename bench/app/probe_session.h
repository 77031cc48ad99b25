#pragma once
// What the probes of this folder share beyond the scratch copy and the state reader that they
// share with the program's window tests (tests/support): finding the copy's visible main window and
// waiting for the shell between runs.
#include <windows.h>

#include "tests/support/program_copy.h"
#include "tests/support/program_state.h"

namespace probe {

using tvtest::ProgramCopy;
using tvtest::State;
using tvtest::StateReader;

// The main window once it is visible, or nullptr after about ten seconds.
inline HWND WaitForVisibleMainWindow() {
  for (int i = 0; i < 5000; ++i) {
    HWND h = FindWindowW(L"TavrinoMain", nullptr);
    if (h && IsWindowVisible(h)) return h;
    Sleep(2);
  }
  return nullptr;
}

// Waits (at most about five seconds) until the shell answers messages again. When the last tray icon
// goes, Wine's shell hides its tray window and waits up to two seconds for a window manager; a
// program started meanwhile waits for the shell in its first window, so a run started at once
// after the last one would measure the last one's exit.
inline void WaitForShellIdle() {
  DWORD_PTR r = 0;
  for (HWND shell : {FindWindowW(L"Shell_TrayWnd", nullptr), GetDesktopWindow()}) {
    if (shell) SendMessageTimeoutW(shell, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
  }
}

}  // namespace probe
