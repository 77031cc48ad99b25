#pragma once
// tvcal's commands, independent of the console: arguments in, UTF-8 text and an exit code out.
#include <optional>
#include <string_view>
#include <vector>

#include "app/tvcal/day_info_provider.h"

class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void Write(std::string_view utf8) = 0;
};

struct TvcalOptions {
  std::optional<Day> today;            // the local date; marks today and fills the header
  const DayInfoProvider* provider = nullptr;  // nullptr: the plain engine provider
  bool color = false;                  // ANSI colours on standard output
  bool database = false;               // user.dat is open (the reminders can be read)
};

constexpr int kExitOk = 0;
constexpr int kExitDatabase = 1;  // the database could not be used (missing, damaged, locked)
constexpr int kExitUsage = 2;  // bad arguments or a date outside the supported range

// args excludes the program name:
//   (none) | month [YYYY-MM] | day YYYY-MM-DD | dump FROM TO | occurs RULE FROM_YEAR TO_YEAR
//   | remind list [FROM TO] | help
int RunTvcal(const std::vector<std::string_view>& args, const TvcalOptions& options,
             TextSink& out, TextSink& err);

// Strict "YYYY-MM-DD"; nothing for any other text or a day that does not exist.
std::optional<Day> ParseDateArgument(std::string_view text);
