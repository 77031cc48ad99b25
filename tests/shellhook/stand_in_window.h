#pragma once
// A window class of a stand-in shell (stand_in_shell.cpp, stand_in_shell11.cpp): this module's,
// with the arrow cursor and the button face.
#include <windows.h>

namespace standin {

inline void RegisterWindowClass(const wchar_t* cls, WNDPROC proc, UINT style = 0) {
  WNDCLASSW wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
}

}  // namespace standin
