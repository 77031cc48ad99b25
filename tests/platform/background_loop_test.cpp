#include "platform/background_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/database.h"
#include "platform/thread.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

// Counts its turns and asks for the next one after periodMs; remembers the thread of its turns
// and of its last one.
struct CountingTask : LoopTask {
  explicit CountingTask(int periodMs) : periodMs(periodMs) {}
  int Turn() override {
    onLoop = onLoop && background_loop::OnLoopThread();
    ++turns;
    turned.Set();
    return periodMs;
  }
  void Finish() override {
    finishedOnLoop = background_loop::OnLoopThread();
    ++finishes;
  }
  const int periodMs;
  std::atomic<int> turns{0}, finishes{0};
  std::atomic<bool> onLoop{true}, finishedOnLoop{false};
  Event turned{false};
};

// A turn that takes a while, as a database statement waiting for another program's lock does.
struct SlowTask : LoopTask {
  int Turn() override {
    std::this_thread::sleep_for(300ms);
    ++turns;
    return kUntilWoken;
  }
  std::atomic<int> turns{0};
};

}  // namespace

TEST(BackgroundLoop, TasksShareOneThreadAtTheirOwnPaceAndLeaveWithALastTurn) {
  auto often = std::make_shared<CountingTask>(10);
  auto woken = std::make_shared<CountingTask>(LoopTask::kUntilWoken);
  ASSERT_TRUE(background_loop::Join(often));
  ASSERT_TRUE(background_loop::Join(woken));
  EXPECT_FALSE(background_loop::Join(often)) << "a task is in the loop once";
  EXPECT_FALSE(background_loop::OnLoopThread());

  // The first turns come at once; the periodic task goes on, the other waits to be woken.
  ASSERT_TRUE(woken->turned.Wait(5000));
  std::this_thread::sleep_for(200ms);
  EXPECT_GE(often->turns.load(), 5);
  EXPECT_EQ(woken->turns.load(), 1);
  for (int i = 2; i <= 4; ++i) {
    background_loop::Wake(woken.get());
    ASSERT_TRUE(woken->turned.Wait(5000));
    EXPECT_EQ(woken->turns.load(), i);
  }
  EXPECT_TRUE(often->onLoop && woken->onLoop) << "every turn runs on the loop's thread";

  // Leaving: the last turn, on the loop's thread, and no turn after it.
  ASSERT_TRUE(background_loop::Leave(often.get(), 5000));
  EXPECT_EQ(often->finishes.load(), 1);
  EXPECT_TRUE(often->finishedOnLoop);
  const int turnsAtLeave = often->turns.load();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(often->turns.load(), turnsAtLeave);
  EXPECT_TRUE(background_loop::Leave(often.get(), 0)) << "a task no longer in the loop";
  background_loop::Wake(often.get());  // nothing: it is gone
  ASSERT_TRUE(background_loop::Leave(woken.get(), 5000));
  EXPECT_EQ(woken->finishes.load(), 1);
}

TEST(BackgroundLoop, ALeaveThatCannotWaitReturnsAndTheTaskFinishesAfterTheTurnInHand) {
  auto slow = std::make_shared<SlowTask>();
  auto other = std::make_shared<CountingTask>(LoopTask::kUntilWoken);
  ASSERT_TRUE(background_loop::Join(slow));
  std::this_thread::sleep_for(50ms);  // the slow turn is under way
  ASSERT_TRUE(background_loop::Join(other));
  EXPECT_FALSE(background_loop::Leave(other.get(), 10)) << "the loop was busy with the slow turn";
  ASSERT_TRUE(background_loop::Leave(other.get(), 5000));
  EXPECT_EQ(other->finishes.load(), 1);
  EXPECT_EQ(slow->turns.load(), 1);
  ASSERT_TRUE(background_loop::Leave(slow.get(), 5000));
}

TEST(BackgroundLoop, ATaskThatUsesTheDatabaseIsRefusedInsteadOfWaitingForItself) {
  struct QueryingTask : LoopTask {
    int Turn() override {
      outcome.store(Exec(u"select 1"));
      done.Set();
      return kUntilWoken;
    }
    std::atomic<DbOutcome> outcome{DbOutcome::kOk};
    Event done{true};
  };
  tvtest::TempDir temp;
  OpenDatabase(temp.Dir() + u"user.dat", DbOpenMode::kCreate);
  EXPECT_EQ(Exec(u"select 1"), DbOutcome::kOk);
  auto task = std::make_shared<QueryingTask>();
  ASSERT_TRUE(background_loop::Join(task));
  ASSERT_TRUE(task->done.Wait(5000)) << "the turn waited for the database's turn";
  EXPECT_EQ(task->outcome.load(), DbOutcome::kUnusable);
  ASSERT_TRUE(background_loop::Leave(task.get(), 5000));
  CloseDatabase();
}
