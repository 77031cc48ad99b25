#pragma once
// The month grid under the keyboard: which day a key takes the selection to, and which month
// the grid then shows. The selection is a date; the month on show is always the selected date's
// month, so a move onto a day of the neighbouring month turns the grid to that month, as a click
// on such a day would. Nothing moves outside the months the year selector lists.
#include "platform/system_time.h"

enum class GridKey { kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome };

struct GridDay {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const GridDay&, const GridDay&) = default;
};

struct GridMove {
  GridDay day;    // the newly selected day (the month on show is its month)
  int cell = 0;   // its place in the month's grid (0 … 41)
  int rows = 0;   // the month's row count (4, 5 or 6)
  bool monthChanged = false;
};

// `bigStep` is Shift or Ctrl held: Page Up/Down then change the year instead of the month (the day
// kept, the 29th of February becoming the 28th). Page Up/Down keep the day, or take the month's
// last when it has fewer. Home goes to `today` (clamped to the supported months). A key that
// would leave January 1950 … December 2050 leaves the selection where it is.
GridMove MoveGridSelection(const GridDay& from, GridKey key, bool bigStep, const SystemTime& today);

// The day a date names, clamped to the supported months (for today and stored dates).
GridDay SupportedGridDay(int year, int month, int day);
