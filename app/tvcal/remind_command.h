#pragma once
// tvcal remind list [FROM TO]: the stored reminders' occurrences from FROM to TO (YYYY-MM-DD;
// default: today and the 365 days after it), one line each in date and time order:
// "YYYY-MM-DD 八月十五<TAB>HH:MM<TAB>title<TAB>rule".
// tvcal remind export FILE [FROM]: every occurrence from FROM (default today) for ten years as an
// iCalendar file.
#include <string_view>
#include <vector>

#include "app/tvcal/command_io.h"

// args excludes "remind". The database must be open (options.database).
int RunRemind(const std::vector<std::string_view>& args, const TvcalOptions& options, TextSink& out,
              TextSink& err);
