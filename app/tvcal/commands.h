#pragma once
// tvcal's commands, independent of the console: arguments in, UTF-8 text and an exit code out.
#include <string_view>
#include <vector>

#include "app/tvcal/command_io.h"

// args excludes the program name:
//   (none) | month [YYYY-MM] | day YYYY-MM-DD | dump FROM TO | occurs RULE FROM_YEAR TO_YEAR
//   | remind list [FROM TO] | help
int RunTvcal(const std::vector<std::string_view>& args, const TvcalOptions& options,
             TextSink& out, TextSink& err);
