#pragma once
// What every tvcal command is given and gives back: the text sinks, the options and the exit
// codes.
#include <optional>
#include <string_view>

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
