#include "ui/keyboard_focus.h"

#include <algorithm>

namespace tvui {

bool KeyboardFocus::Focus(Control* control) {
  if (control == current_) return false;
  current_ = control;
  return true;
}

Control* KeyboardFocus::Step(bool backwards) {
  const int count = static_cast<int>(stops_.size());
  if (count == 0) return current_;
  const auto at = std::find(stops_.begin(), stops_.end(), current_);
  int index = at == stops_.end() ? (backwards ? count : -1) : static_cast<int>(at - stops_.begin());
  for (int tried = 0; tried < count; ++tried) {
    index = (index + (backwards ? count - 1 : 1)) % count;
    Control* stop = stops_[index];
    if (stop && stop->IsShown() && stop->IsEnabled()) {
      current_ = stop;
      break;
    }
  }
  return current_;
}

void KeyboardFocus::Forget(const Control* control) {
  if (current_ == control) current_ = nullptr;
  std::replace(stops_.begin(), stops_.end(), const_cast<Control*>(control), static_cast<Control*>(nullptr));
}

}  // namespace tvui
