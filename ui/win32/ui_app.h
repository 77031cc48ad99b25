#pragma once
// Process-wide set-up of the UI layer: module instance, the folder skins are looked up in, and the
// message loop.
#include <windows.h>

#include <string>

namespace tvui {

class UiApp {
 public:
  static void SetInstance(HINSTANCE instance);
  // Registers the system's common controls (the tool tips) once, at their first use: the library
  // holding them is loaded only then.
  static void EnsureCommonControls();
  static HINSTANCE GetInstance();
  // Folder of the running executable, with a trailing backslash.
  static std::u16string GetInstancePath();
  // Base folder for relative skin folders (default: the instance path).
  static void SetResourcePath(std::u16string path);
  static std::u16string GetResourcePath();
  // Runs the thread's message loop until WM_QUIT; returns the quit code. The loop also serves the
  // thread's waits (platform/win32/message_loop_waits.h).
  static int MessageLoop();
  // Dispatches every pending message of the thread and serves its signalled waits, without
  // waiting. False after WM_QUIT (which is posted again for the outer loop).
  static bool PumpPending();
};

// Win32 text from program text and back.
inline const wchar_t* WidePtr(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline std::u16string FromWide(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}

}  // namespace tvui
