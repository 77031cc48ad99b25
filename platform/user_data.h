#pragma once
// Start-up and shutdown of the program's data: log writer, database worker, the "lv" and "lrt"
// bookkeeping values, and the loaders that other modules register.
#include <functional>
#include <string>
#include <string_view>

#include "platform/system_time.h"

// Work that other modules plug into start-up and shutdown; any of them may be empty.
struct UserDataHooks {
  std::function<void()> loadCurrentCity;     // after the database is open
  std::function<void()> loadHolidays;        // after the current city
  std::function<void()> stopStatistics;      // first thing at shutdown
};
// Replaces all three at once.
void SetUserDataHooks(UserDataHooks hooks);
// Each module sets its own, leaving the others in place.
void SetLoadCurrentCityHook(std::function<void()> hook);
void SetLoadHolidaysHook(std::function<void()> hook);
void SetStopStatisticsHook(std::function<void()> hook);

// Opens everything in the program's directory ("user.dat" there); the directory is created
// level by level when it is missing, user.dat never is (without it the program runs on without
// settings). When another program holds user.dat's lock, the loaders and the version stamp are
// left for later instead of waiting on it (UserDataDeferred).
void OpenUserData();
// The same in another directory (ending with a path separator).
void OpenUserDataIn(std::u16string_view directory);
// Writes "lrt", closes the database, stops the log writer.
void CloseUserData();

// True when the start-up found user.dat locked and left its reads for later.
bool UserDataDeferred();
// Runs what the start-up left for later on a thread of its own once the lock is gone, then calls
// ready on that thread. Does nothing when nothing was left. CloseUserData ends the wait.
void CompleteDeferredUserData(std::function<void()> ready);

// Local time taken by OpenUserData.
SystemTime RunStartTime();
// Whole seconds from start to now, counted field by field over whole days; the hour and minute
// terms are 0 when either time is not a valid date and time.
int RunSeconds(const SystemTime& start, const SystemTime& now);
