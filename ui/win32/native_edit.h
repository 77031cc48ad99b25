#pragma once
// NativeEdit: a system edit box standing over a control of a skinned window. The skin draws the
// field's frame (the control's background and border); the box takes the typing (input methods
// included), the clipboard and the caret. Tab, Enter and Escape go on to the window as its own
// keys, so its tab order and default keys work from inside the box. The window needs
// WS_CLIPCHILDREN so that its painting leaves the box alone.
#include <windows.h>

#include <string>
#include <string_view>

namespace tvui {

class Control;
class WindowImplBase;

class NativeEdit {
 public:
  NativeEdit() = default;
  ~NativeEdit();
  NativeEdit(const NativeEdit&) = delete;
  NativeEdit& operator=(const NativeEdit&) = delete;

  // Makes the box over `place` (a control of `window`'s tree), named `accessName` for screen
  // readers, taking at most maxChars characters. False when the box cannot be made.
  bool Create(WindowImplBase& window, Control* place, std::u16string_view accessName, int maxChars);
  // Follows the control's place, visibility and the window's scale and font (after a layout or a
  // change of DPI).
  void Place();
  std::u16string Text() const;
  void SetText(std::u16string_view text);
  // Takes the keyboard focus with its text selected.
  void Focus();
  HWND Handle() const { return hwnd_; }
  Control* Where() const { return place_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  WNDPROC base_ = nullptr;
  WindowImplBase* window_ = nullptr;
  Control* place_ = nullptr;
};

}  // namespace tvui
