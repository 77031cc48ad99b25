// tvcal: the lunar calendar in a terminal.
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "app/tvcal/commands.h"
#include "app/tvcal/console.h"

namespace {

class ConsoleSink : public TextSink {
 public:
  explicit ConsoleSink(Stream stream) : stream_(stream) {}
  void Write(std::string_view utf8) override { WriteText(stream_, utf8); }

 private:
  Stream stream_;
};

CalendarDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &now) != 0) return {};
#else
  if (localtime_r(&now, &local) == nullptr) return {};
#endif
  return CalendarDate::Of(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int main(int argc, char** argv) {
  PrepareConsole();
  std::vector<std::string_view> args(argv + 1, argv + argc);
  TvcalOptions options;
  options.today = LocalToday();
  // TVCAL_TODAY=YYYY-MM-DD pins "today" (reproducible output); NO_COLOR turns colours off.
  if (const char* pinned = std::getenv("TVCAL_TODAY"); pinned && *pinned)
    options.today = ParseDateArgument(pinned);
  const char* noColor = std::getenv("NO_COLOR");
  options.color = IsColorTerminal(Stream::kOut) && !(noColor && *noColor);
  ConsoleSink out(Stream::kOut), err(Stream::kErr);
  return RunTvcal(args, options, out, err);
}
