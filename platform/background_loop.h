#pragma once
// The background loop: one thread that takes turns at the periodic and queued work of several
// owners (the log writer's flush, the usage recorder's write cycle, the database's queue) instead
// of a thread each; under Wine every thread keeps about 1 MiB resident, whatever it does.
//
// A task says after each turn when it wants the next one; its owner can make the next one due at
// once (Wake). Turns must be short: nothing that waits on the network or on another process runs
// here (such work gets a Worker of its own), and a task never waits for another task's turn.
//
// The thread starts with the first task and runs until the process's end; the tasks still in the
// loop then get their last turn (Finish) on it.
#include <memory>

class LoopTask {
 public:
  static constexpr int kUntilWoken = -1;

  virtual ~LoopTask() = default;
  // One turn of the work; returns the milliseconds until the next turn is due, or kUntilWoken.
  virtual int Turn() = 0;
  // The last turn, on the loop's thread, when the task leaves the loop.
  virtual void Finish() {}
};

namespace background_loop {

// Adds task to the loop with its first turn due at once. False when the task is in the loop
// already, or when the loop's thread cannot be made.
bool Join(std::shared_ptr<LoopTask> task);
// Makes the task's next turn due at once; nothing when it is not in the loop. Any thread.
void Wake(const LoopTask* task);
// Takes task out of the loop: it gets no further turn but its Finish, on the loop's thread. Waits
// up to waitMs (< 0: no limit) for that; false when it has not finished by then (it does later,
// holding the task). True as well when the task was not in the loop. Not from a turn.
bool Leave(const LoopTask* task, int waitMs);
// True on the loop's thread.
bool OnLoopThread();

}  // namespace background_loop
