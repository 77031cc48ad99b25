#pragma once
// The keyboard focus of one window: the control holding it, the ring of tab stops Tab and
// Shift+Tab walk, and whether its focus mark shows. As in the system's own windows the mark shows
// only once the keyboard was used, and a mouse press hides it again.
#include <vector>

#include "ui/control.h"

namespace tvui {

class KeyboardFocus {
 public:
  // The tab stops in Tab order; the focus stays where it is.
  void SetStops(std::vector<Control*> stops) { stops_ = std::move(stops); }
  const std::vector<Control*>& Stops() const { return stops_; }
  Control* Current() const { return current_; }
  // Gives the focus to a control (one of the stops or not: a day cell standing for its grid);
  // true when it moved.
  bool Focus(Control* control);
  // The next (or, backwards, the previous) shown and enabled stop after the current one, wrapping
  // around; from a control outside the ring, the first (or last). Returns the new focus.
  Control* Step(bool backwards);
  bool MarkShown() const { return markShown_; }
  void ShowMark(bool shown) { markShown_ = shown; }
  // A control leaves the tree.
  void Forget(const Control* control);

 private:
  std::vector<Control*> stops_;
  Control* current_ = nullptr;
  bool markShown_ = false;
};

}  // namespace tvui
