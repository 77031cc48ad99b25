#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/worker.h"

TEST(Event, ManualStaysSetAutoReleasesOneWaiter) {
  Event manual(true);
  EXPECT_FALSE(manual.Wait(10));
  manual.Set();
  EXPECT_TRUE(manual.Wait(0));
  EXPECT_TRUE(manual.Wait(0));
  manual.Reset();
  EXPECT_FALSE(manual.Wait(0));

  Event automatic(false, true);
  EXPECT_TRUE(automatic.Wait(0));
  EXPECT_FALSE(automatic.Wait(0));  // cleared by the first wait

  // Two waiters, one Set: exactly one wakes.
  std::atomic<int> woke{0};
  std::thread a([&] { woke += automatic.Wait(300) ? 1 : 0; });
  std::thread b([&] { woke += automatic.Wait(300) ? 1 : 0; });
  automatic.Set();
  a.join();
  b.join();
  EXPECT_EQ(woke.load(), 1);
}

namespace {
// What a worker's body holds; counts its own end.
struct Counted {
  explicit Counted(std::atomic<int>* destroyed) : destroyed(destroyed) {}
  ~Counted() { ++*destroyed; }
  std::atomic<int>* destroyed;
  std::atomic<uint32_t> ran{0};
};

Worker::Body Body(std::shared_ptr<Counted> counted, Event* release) {
  return [counted, release](std::stop_token stop) {
    counted->ran = CurrentThreadId();
    while (!stop.stop_requested()) {
      if (release->Wait(5)) break;
    }
  };
}
}  // namespace

TEST(Worker, RunsStopsAndReleasesWhatItHoldsWhenDone) {
  std::atomic<int> destroyed{0};
  Event release(true);

  auto owned = std::make_shared<Counted>(&destroyed);
  Worker worker;
  EXPECT_TRUE(worker.Start(Body(owned, &release)));
  EXPECT_FALSE(worker.Start(Body(owned, &release)));  // only once
  EXPECT_FALSE(worker.WaitForEnd(20));
  worker.RequestStop();
  ASSERT_TRUE(worker.WaitForEnd(5000));
  worker.Join();
  EXPECT_NE(owned->ran.load(), 0u);
  EXPECT_NE(owned->ran.load(), CurrentThreadId());
  EXPECT_EQ(destroyed.load(), 0);
  owned.reset();
  EXPECT_EQ(destroyed.load(), 1);

  // A thread that ends on its own lets go of what it held.
  Worker self;
  ASSERT_TRUE(self.Start(Body(std::make_shared<Counted>(&destroyed), &release)));
  release.Set();
  ASSERT_TRUE(self.WaitForEnd(5000));
  EXPECT_EQ(destroyed.load(), 2);
  self.Join();

  // An owner that gives up waiting leaves the state to its thread.
  release.Reset();
  Worker late;
  ASSERT_TRUE(late.Start(Body(std::make_shared<Counted>(&destroyed), &release)));
  EXPECT_FALSE(late.WaitForEnd(10));
  late.Abandon();
  EXPECT_EQ(destroyed.load(), 2);
  release.Set();
  for (int i = 0; i < 500 && destroyed.load() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(destroyed.load(), 3);
}
