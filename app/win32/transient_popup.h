#pragma once
// TransientPopup: a pop-up of the main window that goes away as soon as the user turns elsewhere:
// Escape and losing the focus or the activation hide it. A click on the main window's button
// that opens it is what takes the focus away, so a click within 300 ms of such a hide does not
// open it again (the button then closes the pop-up instead of flashing it).
#include <cstdint>

#include "app/logic/skin_chooser.h"
#include "ui/win32/window_impl_base.h"

class TransientPopup : public tvui::WindowImplBase {
 public:
  // Escape, losing the focus or the activation hides it.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;

  // Hides the window (OnHidden follows even when it was hidden already).
  void Hide(bool lostFocus = false);
  bool MayReopen(uint32_t tick) const { return reopen_.MayOpen(tick); }

 protected:
  virtual void OnHidden() {}

 private:
  PopupReopenGuard reopen_;
  bool hiding_ = false;
};
