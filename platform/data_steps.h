#pragma once
// Steps that the layers above plug into the program's data start-up and shutdown (OpenUserData
// and CloseUserData, platform/user_data.h) without platform/ knowing any of them.
//
// kAfterOpen steps run once the database is open, before the version stamp is written;
// kBeforeClose steps run first thing at shutdown, while the database is still open. Within a
// phase steps run in ascending rank, equal ranks in registration order. Registering again under
// the same phase and name replaces the step; an empty step removes it. Callable from any thread;
// a step runs on the thread that opens or closes the data (or, when user.dat was locked at
// start-up, on the thread that waits for it), without any lock held.
#include <functional>
#include <string>

enum class DataPhase { kAfterOpen, kBeforeClose };

void RegisterDataStep(DataPhase phase, std::string name, int rank, std::function<void()> step);
void RunDataSteps(DataPhase phase);
// Forgets every step of both phases.
void ClearDataSteps();
