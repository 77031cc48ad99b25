#pragma once
// The skin chooser's rules: nine tiles "bg1" … "bg9"; hovering a tile previews its skin on the
// main window, leaving it brings the stored skin back, clicking it stores it. Portable: the
// window turns each Step into a fore image change, a message to its owner and perhaps a hide.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/logic/window_messages.h"

// The fore image of the tile under the pointer.
inline constexpr std::u16string_view kSkinTileHoverImage = u"bgskin_n.png";

// Tile number of a control name "bg1" … "bg9" (any letter case); 0 for other names.
int SkinTileNumber(std::u16string_view controlName);

struct SkinChooserStep {
  int tile = 0;                  // tile whose fore image changes (0: none)
  std::u16string foreImage;      // its new fore image ("" clears it)
  uint32_t message = 0;          // posted to the owner (0: none)
  uintptr_t wParam = 0;
  bool hide = false;             // hide the chooser
};

class SkinChooserModel {
 public:
  // The pointer entered or left a control, or a control was clicked.
  SkinChooserStep MouseEnter(std::u16string_view controlName);
  SkinChooserStep MouseLeave(std::u16string_view controlName);
  // A click on anything but a tile counts as a click on tile 1.
  SkinChooserStep Click(std::u16string_view controlName);
  // The chooser was hidden (focus lost, Escape): a preview still showing ends, so that the
  // main window never keeps a skin the user only hovered.
  SkinChooserStep Hidden();

  // The tile whose skin is being previewed (0: none).
  int Previewing() const { return previewing_; }

 private:
  int previewing_ = 0;
};

// The main window ignores a "skin" click that comes less than 300 ms after the chooser hid itself
// on losing focus: that click is what took the focus away. The tick wraps at 2^32.
class PopupReopenGuard {
 public:
  static constexpr uint32_t kGapMs = 300;
  void Hidden(uint32_t tick);
  // True when a click at tick may open the pop-up.
  bool MayOpen(uint32_t tick) const;

 private:
  uint32_t hiddenAt_ = 0;
  bool hidden_ = false;
};
