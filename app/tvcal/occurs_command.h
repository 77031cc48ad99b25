#pragma once
// tvcal occurs RULE FROM_YEAR TO_YEAR: the days a recurrence rule falls on, one line each,
// "YYYY-MM-DD 八月十五". RULE is given as one argument or as several (they are joined by blanks).
#include <string>
#include <string_view>
#include <vector>

#include "app/tvcal/command_io.h"
#include "calendar/recurrence.h"

// args excludes "occurs".
int RunOccurs(const std::vector<std::string_view>& args, TextSink& out, TextSink& err);

// Appends "YYYY-MM-DD 八月十五" (the lunar date with 闰 for a leap month) and nothing else.
void AppendOccurrence(std::string& out, const Occurrence& occurrence);
