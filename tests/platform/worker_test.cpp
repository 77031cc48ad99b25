#include "platform/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <utility>

#include "platform/thread.h"

namespace {
// What a body shares with its owner; says when it goes.
struct Shared {
  explicit Shared(std::shared_ptr<Event> gone) : gone(std::move(gone)) {}
  ~Shared() { gone->Set(); }
  std::shared_ptr<Event> gone;  // the test's too: it outlives a thread that sets it late
  std::atomic<int> turns{0};
};
}  // namespace

TEST(Worker, StopReachesTheBodyJoinsAndARestartRunsAgain) {
  auto gone = std::make_shared<Event>(true);
  std::weak_ptr<Shared> watch;
  std::atomic<uint32_t> ranOn{0};
  {
    Worker worker;
    EXPECT_FALSE(worker.Start(nullptr));
    EXPECT_FALSE(worker.Running());
    EXPECT_TRUE(worker.WaitForEnd(0));  // nothing runs
    EXPECT_TRUE(worker.Stop(0));

    auto shared = std::make_shared<Shared>(gone);
    watch = shared;
    // Woken by the stop itself, not by polling; the token has turned by then.
    auto woke = std::make_shared<Event>(true);
    auto sawStop = std::make_shared<std::atomic<bool>>(false);
    ASSERT_TRUE(worker.Start(
        [shared, &ranOn, woke, sawStop](std::stop_token stop) {
          ranOn = CurrentThreadId();
          woke->Wait();
          *sawStop = stop.stop_requested();
          ++shared->turns;
        },
        [woke] { woke->Set(); }));
    EXPECT_TRUE(worker.Running());
    EXPECT_FALSE(worker.Start([](std::stop_token) {}));  // one thread at a time
    EXPECT_FALSE(worker.WaitForEnd(20));
    shared.reset();
    EXPECT_FALSE(watch.expired());  // the body holds it
    EXPECT_TRUE(worker.Stop(-1));
    EXPECT_FALSE(worker.Running());
    EXPECT_NE(ranOn.load(), 0u);
    EXPECT_NE(ranOn.load(), CurrentThreadId());
    EXPECT_TRUE(sawStop->load());
    ASSERT_TRUE(gone->IsSet()) << "a joined body has released what it held";
    gone->Reset();

    // The same owner starts it again; leaving the scope stops and joins it.
    shared = std::make_shared<Shared>(gone);
    watch = shared;
    woke->Reset();
    ASSERT_TRUE(worker.Start(
        [shared, woke](std::stop_token stop) {
          while (!stop.stop_requested()) woke->Wait();
          ++shared->turns;
        },
        [woke] { woke->Set(); }));
    EXPECT_EQ(shared->turns.load(), 0);
    shared.reset();
  }
  EXPECT_TRUE(gone->IsSet()) << "the destructor joined";
  EXPECT_TRUE(watch.expired());
}

TEST(Worker, AnAbandonedWorkerNeverHoldsItsOwnerAndKeepsItsStateUntilItEnds) {
  // Shared with the thread: it may still be inside them when the test's waits end.
  auto gone = std::make_shared<Event>(true);
  auto ended = std::make_shared<Event>(true);
  auto sawStop = std::make_shared<std::atomic<int>>(0);
  std::weak_ptr<Shared> watch;
  auto release = std::make_shared<Event>(true);
  {
    Worker worker;
    auto shared = std::make_shared<Shared>(gone);
    watch = shared;
    // Stuck in a call that does not watch the stop (as a request to a slow server would be).
    ASSERT_TRUE(worker.Start([shared, release, ended, sawStop](std::stop_token stop) {
      release->Wait();
      shared->turns = 1;  // its state is still there to write to
      *sawStop = stop.stop_requested() ? 1 : -1;
      ended->Set();
    }));
    EXPECT_FALSE(worker.Stop(10));  // gives up and leaves it
    EXPECT_FALSE(worker.Running());
    EXPECT_TRUE(worker.Start([](std::stop_token) {})) << "the owner may start anew at once";
    worker.Join();
  }
  // The owner and its reference are gone; the abandoned body still holds the state.
  EXPECT_FALSE(ended->IsSet());
  EXPECT_FALSE(gone->IsSet());
  EXPECT_FALSE(watch.expired());
  release->Set();
  ASSERT_TRUE(ended->Wait(5000));
  EXPECT_EQ(sawStop->load(), 1);
  ASSERT_TRUE(gone->Wait(5000)) << "dropped once the body ended";
  EXPECT_TRUE(watch.expired());
}

TEST(Worker, AWorkerThatEndedOnItsOwnIsJoinedAndItsWakeDropped) {
  auto woken = std::make_shared<std::atomic<int>>(0);
  Worker worker;
  ASSERT_TRUE(worker.Start([](std::stop_token) {}, [woken] { ++*woken; }));
  ASSERT_TRUE(worker.WaitForEnd(-1));
  EXPECT_TRUE(worker.Running()) << "ended, not joined yet";
  EXPECT_TRUE(worker.Stop(0));
  EXPECT_EQ(woken->load(), 1);
  EXPECT_EQ(woken.use_count(), 1) << "the wake went with the thread";
  worker.RequestStop();  // nothing runs: no wake
  EXPECT_EQ(woken->load(), 1);
}
