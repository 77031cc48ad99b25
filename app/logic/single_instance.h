#pragma once
// One running program per user session. The start's very first step claims the session's
// instance lock (a named mutex); only the start that holds it goes on. Two starts at the same
// moment cannot both win, as they could when each only looked for the other's window.
//
// A start that loses asks the running one to show itself (its activation event) and ends with 0.
// The winner makes that event only once its window exists, so the loser keeps trying for a few
// seconds. When the lock cannot be made at all, the start falls back to looking for a window.

// What the claim needs of the system (the Windows edge; tests bring their own).
class InstanceSystem {
 public:
  enum class Claim {
    kOurs,         // the lock is ours (also when a crashed holder left it)
    kTaken,        // another start holds it
    kUnavailable,  // the lock cannot be made
  };
  virtual ~InstanceSystem() = default;
  virtual Claim ClaimLock() = 0;
  virtual bool OtherWindowExists() = 0;
  // Sets the running program's activation event; false while there is none.
  virtual bool SignalOther() = 0;
  virtual void Pause(int ms) = 0;
};

// How long a losing start keeps trying to reach the winner's event, and its step.
inline constexpr int kInstanceSignalWaitMs = 5000;
inline constexpr int kInstanceSignalStepMs = 100;

// True: this start is the program's one instance and goes on. False: another runs (it was
// signalled when its event came within kInstanceSignalWaitMs); this start ends with 0.
bool ClaimSingleInstance(InstanceSystem& system);
