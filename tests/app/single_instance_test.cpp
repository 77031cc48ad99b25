// One instance per session: who goes on, and how a losing start reaches the winner.
#include <gtest/gtest.h>

#include "app/logic/single_instance.h"

namespace {

// The session as the starts see it: one lock, the winner's window and its activation event (made
// once the winner has its window, some pauses after its claim).
struct Session {
  bool lockHeld = false;
  bool lockUnavailable = false;
  int eventAfterPauses = 0;  // -1: never
  bool windowExists = false;
  int signals = 0;
};

class FakeStart : public InstanceSystem {
 public:
  explicit FakeStart(Session& session) : s_(session) {}
  Claim ClaimLock() override {
    if (s_.lockUnavailable) return Claim::kUnavailable;
    if (s_.lockHeld) return Claim::kTaken;
    s_.lockHeld = true;
    return Claim::kOurs;
  }
  bool OtherWindowExists() override { return s_.windowExists; }
  bool SignalOther() override {
    if (s_.eventAfterPauses < 0 || pauses_ < s_.eventAfterPauses) return false;
    ++s_.signals;
    return true;
  }
  void Pause(int ms) override {
    ++pauses_;
    pausedMs_ += ms;
  }
  int pauses_ = 0;
  int pausedMs_ = 0;

 private:
  Session& s_;
};

}  // namespace

TEST(SingleInstance, OfTwoStartsAtOnceOnlyTheFirstGoesOnAndTheOtherSignalsIt) {
  Session session;
  session.eventAfterPauses = 7;  // the winner is still making its window
  FakeStart first(session), second(session);
  EXPECT_TRUE(ClaimSingleInstance(first));
  EXPECT_EQ(session.signals, 0);
  EXPECT_FALSE(ClaimSingleInstance(second)) << "no window yet, and still the second start ends";
  EXPECT_EQ(session.signals, 1) << "it waited for the winner's event and set it once";
  EXPECT_EQ(second.pauses_, 7);

  // A winner that never makes its event: the loser gives up after its bound and still ends.
  Session silent;
  silent.lockHeld = true;
  silent.eventAfterPauses = -1;
  FakeStart late(silent);
  EXPECT_FALSE(ClaimSingleInstance(late));
  EXPECT_EQ(late.pausedMs_, kInstanceSignalWaitMs);
  EXPECT_EQ(silent.signals, 0);
}

TEST(SingleInstance, WithoutTheLockTheWindowDecides) {
  Session session;
  session.lockUnavailable = true;
  FakeStart alone(session);
  EXPECT_TRUE(ClaimSingleInstance(alone)) << "no window: this start goes on";
  session.windowExists = true;
  FakeStart second(session);
  EXPECT_FALSE(ClaimSingleInstance(second));
  EXPECT_EQ(session.signals, 1);
  EXPECT_EQ(second.pauses_, 0) << "the window is there, so is its event: no waiting";
}
