#include "platform/user_data.h"

#include <mutex>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/thread.h"
#include "platform/user_config.h"
#include "platform/worker.h"

namespace {
std::mutex g_lock;
SystemTime g_runStart;
bool g_deferred = false;

// The first read of the schema: kBusy when another program holds the file's lock.
DbOutcome ProbeDatabase() { return Exec(u"select count(*) from sqlite_master"); }

void LoadAndStamp() {
  RunDataSteps(DataPhase::kAfterOpen);
  std::u16string version = FileVersionText(ExecutablePath());
  // Written only when it changed: a write waits for the disk, a read does not.
  if (GetUserConfig(u"lv") != version) SetUserConfig(version, u"lv");
}

// The deferred loader's body: waits for the lock to go, then does what the start-up left.
void LoadWhenFree(const std::stop_token& stop, const std::function<void()>& ready, Event& wake) {
  SetDbBusyWait(1000);
  for (;;) {
    if (stop.stop_requested()) return;
    DbOutcome outcome = ProbeDatabase();
    if (outcome == DbOutcome::kOk) break;
    if (outcome != DbOutcome::kBusy) return;  // gone or damaged: nothing will come
    wake.Wait(500);  // set by the stop
  }
  if (stop.stop_requested()) return;
  LoadAndStamp();
  LogError(u"user data: user.dat is free again; its settings are read");
  if (ready && !stop.stop_requested()) ready();
}

Worker g_loader;  // guarded by g_lock
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
  // With the file locked, every loader's statement would wait for the lock or fail; the caller
  // goes on with the defaults and CompleteDeferredUserData fills in later.
  bool busy = ProbeDatabase() == DbOutcome::kBusy;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    g_deferred = busy;
  }
  if (busy) {
    LogError(u"user data: user.dat is locked by another program; starting with the defaults");
    return;
  }
  LoadAndStamp();
}

bool UserDataDeferred() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_deferred;
}

void CompleteDeferredUserData(std::function<void()> ready) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_deferred || g_loader.Running()) return;
  auto wake = std::make_shared<Event>(true);
  if (!g_loader.Start([ready = std::move(ready), wake](std::stop_token stop) { LoadWhenFree(stop, ready, *wake); },
                      [wake] { wake->Set(); })) {
    LogError(u"user data: the thread that waits for user.dat could not be started");
    return;
  }
}

void OpenUserData() { OpenUserDataIn(ProgramDirectory()); }

void CloseUserData() {
  Worker loader;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    loader = std::move(g_loader);
    g_deferred = false;
  }
  // Its statements end with the database at the latest; one that outlives the wait ends on its own.
  loader.Stop(1500);
  RunDataSteps(DataPhase::kBeforeClose);
  int seconds = RunSeconds(RunStartTime(), LocalNow());
  SetUserConfig(IntToText(seconds), u"lrt");
  CloseDatabase();
  StopLogWriter();
}
