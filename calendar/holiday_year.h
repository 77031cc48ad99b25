#pragma once
// The holiday record moved on to a new year (the window stays open across New Year's Eve).
#include "calendar/holiday_arrangement.h"

// Empties every holiday whose day text does not belong to `year` (a service document that already
// carried the new year's arrangement keeps it) and sets the record's year; false, unchanged, when
// the record already stands for `year`.
bool KeepHolidaysOfYear(HolidayArrangement& record, int year);

// The process-wide record: KeepHolidaysOfYear, then the year's table rows fill the holidays left
// empty. False when the record already stood for `year`.
bool RenewHolidayYear(int year);
