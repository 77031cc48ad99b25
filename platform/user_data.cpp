#include "platform/user_data.h"

#include <mutex>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"

namespace {
std::mutex g_lock;
SystemTime g_runStart;
}  // namespace

SystemTime RunStartTime() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_runStart;
}

int RunSeconds(const SystemTime& start, const SystemTime& now) {
  bool valid = IsValidDateTime(start) && IsValidDateTime(now);
  int hours = valid ? DaysBetween(start, now) * 24 + (now.wHour - start.wHour) : 0;
  int minutes = valid ? hours * 60 + (now.wMinute - start.wMinute) : 0;
  return minutes * 60 + (now.wSecond - start.wSecond);
}

void OpenUserDataIn(std::u16string_view directory) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_runStart = LocalNow();
  }
  CreateDirectoryLevels(directory);
  StartLogWriter(directory);
  OpenDatabase(std::u16string(directory) + u"user.dat");
  RunDataSteps(DataPhase::kAfterOpen);
  std::u16string version = FileVersionText(ExecutablePath());
  SetUserConfig(version, u"lv");
}

void OpenUserData() { OpenUserDataIn(ProgramDirectory()); }

void CloseUserData() {
  RunDataSteps(DataPhase::kBeforeClose);
  int seconds = RunSeconds(RunStartTime(), LocalNow());
  SetUserConfig(IntToText(seconds), u"lrt");
  CloseDatabase();
  StopLogWriter();
}
