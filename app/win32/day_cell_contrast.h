#pragma once
// A day cell in the system's high-contrast mode, where the skin's pictures are not drawn: the
// day-off and make-up-day badges become the characters 休 and 班, today gets a thick frame and the
// selected day a thin one (all in the system's text colour), days of the neighbouring months are
// drawn in the system's grey.
#include "app/logic/day_cell.h"
#include "ui/container.h"

namespace app {

// Sets (highContrast) or clears what the mode adds to the cell.
void DressDayCellForContrast(tvui::Container& cell, const DayCellLook& look, bool highContrast);

}  // namespace app
