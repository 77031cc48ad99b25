#pragma once
// The asking side of the main window's test hook (main_window_test_hook.h): a message-only window
// that receives the state text the hook sends back. Used by the program's window tests and the
// whole-program benchmarks; the program itself never asks.
#include <windows.h>

#include <string>

#include "app/win32/main_window_test_hook.h"

namespace app {

class TestHookReader {
 public:
  TestHookReader() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavrinoTestHookReader";
    RegisterClassW(&wc);
    window_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TestHookReader() { DestroyWindow(window_); }
  TestHookReader(const TestHookReader&) = delete;
  TestHookReader& operator=(const TestHookReader&) = delete;

  // Asks the main window for its state: the "key=value" lines, "" when it did not answer in 5 s.
  const std::u16string& Read(HWND mainWindow) {
    text_.clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(mainWindow, HookMessage(), kHookState, reinterpret_cast<LPARAM>(window_), SMTO_NORMAL, 5000,
                        &result);
    return text_;
  }
  const std::u16string& Last() const { return text_; }

  static UINT HookMessage() {
    static const UINT message = RegisterWindowMessageW(kTestHookMessageName);
    return message;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
      auto* self = reinterpret_cast<TestHookReader*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
      if (self && cds->dwData == kTestHookStateTag && cds->cbData >= 2)
        self->text_.assign(static_cast<const char16_t*>(cds->lpData), cds->cbData / 2 - 1);
      return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::u16string text_;
};

}  // namespace app
