#pragma once
// What the pop-ups need of the window that opens them (the calendar window): its handle as the
// pop-ups' owner and the receiver of their messages, where it stands, the places of the controls a
// pop-up stands beside, its scale, and the background that the skins change.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/logic/placement.h"
#include "ui/geometry.h"
#include "ui/dpi_scale.h"

namespace app {

class PopupOwner {
 public:
  virtual HWND OwnerWindow() const = 0;
  // A control's rectangle in the owner's client coordinates (empty when the skin lacks it).
  virtual tvui::Rect ControlRect(std::u16string_view name) const = 0;
  virtual tvui::Scale OwnerScale() const = 0;
  // Where the owner stands by the taskbar, and its top edge on the screen.
  virtual const Anchor& OwnerAnchor() const = 0;
  virtual int OwnerTop() const = 0;
  // The skin's background picture of the owner; false when the owner's skin has no place for one.
  virtual bool SetSkinBackground(const std::u16string& image) = 0;
  virtual std::u16string SkinBackground() const = 0;

 protected:
  ~PopupOwner() = default;
};

}  // namespace app
