#pragma once
// Start-up and shutdown of the program's data: log writer, database worker, the "lv" and "lrt"
// bookkeeping values, and the steps other modules register (platform/data_steps.h).
#include <string>
#include <string_view>

#include "platform/data_steps.h"
#include "platform/system_time.h"

// Opens everything in the program's directory ("user.dat" there) and runs the kAfterOpen steps;
// the directory is created level by level when it is missing, user.dat never is (without it the
// program runs on without settings). When another program holds user.dat's lock, the kAfterOpen
// steps and the version stamp are left for later instead of waiting on it (UserDataDeferred).
void OpenUserData();
// The same in another directory (ending with a path separator).
void OpenUserDataIn(std::u16string_view directory);
// Runs the kBeforeClose steps, writes "lrt", closes the database, stops the log writer.
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
