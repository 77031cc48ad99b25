#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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
class TestThread : public TThread {
 public:
  TestThread(std::atomic<int>* destroyed, Event* release) : destroyed_(destroyed), release_(release) {}
  ~TestThread() override { ++*destroyed_; }
  void Run() override {
    ran = CurrentThreadId();
    while (!StopRequested()) {
      if (release_->Wait(5)) break;
    }
  }
  std::atomic<uint32_t> ran{0};

 private:
  std::atomic<int>* destroyed_;
  Event* release_;
};
}  // namespace

TEST(TThread, RunsStopsAndDeletesItselfWhenAsked) {
  std::atomic<int> destroyed{0};
  Event release(true);

  auto* owned = new TestThread(&destroyed, &release);
  EXPECT_TRUE(StartThread(owned));
  EXPECT_FALSE(owned->Start());  // only once
  EXPECT_FALSE(owned->WaitForEnd(20));
  owned->RequestStop();
  ASSERT_TRUE(owned->WaitForEnd(5000));
  EXPECT_NE(owned->ran.load(), 0u);
  EXPECT_NE(owned->ran.load(), CurrentThreadId());
  EXPECT_EQ(owned->ThreadId(), owned->ran.load());
  EXPECT_EQ(destroyed.load(), 0);
  delete owned;
  EXPECT_EQ(destroyed.load(), 1);

  auto* self = new TestThread(&destroyed, &release);
  self->SetDeleteWhenDone(true);
  ASSERT_TRUE(self->Start());
  release.Set();
  for (int i = 0; i < 500 && destroyed.load() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(destroyed.load(), 2);

  // An owner that gives up waiting hands the object over to its thread.
  release.Reset();
  auto* late = new TestThread(&destroyed, &release);
  ASSERT_TRUE(late->Start());
  EXPECT_FALSE(late->WaitForEnd(10));
  EXPECT_FALSE(late->ReleaseWhenDone());
  release.Set();
  for (int i = 0; i < 500 && destroyed.load() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(destroyed.load(), 3);
}
