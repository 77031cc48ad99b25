#pragma once
// MonthGridView: the calendar window's month grid (the skin's "menology"): 42 day cells made from
// "day.xml" once, restyled for each month on show (today's frame, the selected day, badges, the
// lunar line), with the day records they show. Cells past the month's rows stay, hidden, for the
// next month. The window owns it and places itself by its row count.
#include <functional>
#include <string>
#include <vector>

#include "app/logic/month_layout.h"

namespace tvui {
class Container;
class Control;
class WindowImplBase;
}

class MonthGridView {
 public:
  // The skin's grid container (nullptr: the skin has none, and the grid shows nothing).
  void Attach(tvui::Container* menology) { menology_ = menology; }
  tvui::Container* Container() const { return menology_; }

  // Shows a month of `rows` rows from its day records: every cell restyled (the cells made through
  // the window the first time), those past the rows hidden. A setter that changes nothing
  // repaints nothing.
  void Show(tvui::WindowImplBase& window, MonthDays days, int rows, int month, int todayDay, int selectedDay);

  int Rows() const { return rows_; }
  // The records of the cells on show (the rest of the 42 stay empty).
  const MonthDays& Days() const { return days_; }
  // The cells made so far, in grid order.
  const std::vector<tvui::Container*>& Cells() const { return cells_; }
  // The day cell's clickable part at a grid index (nullptr outside the cells on show).
  tvui::Control* DayControl(int index) const;

  // The grid's lines of the state text: "cells", each "cell.N" (with the reminder lines of the
  // day in it) and "marks".
  std::u16string DescribeForTest(const std::function<std::u16string(int cell)>& remindersOf) const;

 private:
  bool EnsureCells(tvui::WindowImplBase& window);

  tvui::Container* menology_ = nullptr;
  std::vector<tvui::Container*> cells_;  // owned by menology_
  MonthDays days_;
  int rows_ = 0;
};
