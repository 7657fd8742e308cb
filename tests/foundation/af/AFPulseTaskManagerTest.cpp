#include "foundation/af/AFPulseTask.h"

#include "foundation/al/ALMilliseconds.h"
#include "foundation/al/ALThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kGenerousWait = 10000;

// A task that records its calls in a shared log and answers its delay.
class ScriptedTask : public AFPulseTask {
 public:
  ScriptedTask(int id, std::vector<int>* log, int32_t delay) : mId(id), mLog(log), mDelay(delay) {}
  int32_t Pulse() override {
    if (mLog) mLog->push_back(mId);
    mCalls.fetch_add(1);
    if (mDuringPulse) mDuringPulse();
    return mDelay;
  }
  int mId;
  std::vector<int>* mLog;
  std::atomic<int32_t> mDelay;
  std::atomic<int> mCalls{0};
  std::function<void()> mDuringPulse;
};

class Event {
 public:
  Event() : mHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() { CloseHandle(mHandle); }
  void Set() { SetEvent(mHandle); }
  bool Wait() { return WaitForSingleObject(mHandle, kGenerousWait) == WAIT_OBJECT_0; }

 private:
  HANDLE mHandle;
};

TEST(AFPulseTaskManagerTest, PassesRunDueTasksInListOrderAndIntMaxMeansNever) {
  AFPulseTaskManager manager;
  std::vector<int> log;
  ScriptedTask never(1, &log, INT_MAX);
  ScriptedTask far(2, &log, 1000000);
  ScriptedTask always(3, &log, 0);
  EXPECT_EQ(manager.EarliestDue(), INT_MAX);
  manager.AddTask(&never);
  manager.AddTask(&far);
  manager.AddTask(&always);
  EXPECT_EQ(never.GetManager(), &manager);
  EXPECT_EQ(manager.EarliestDue(), 0);

  manager.RunDueTasks();
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(never.GetDueTime(), INT_MAX);
  EXPECT_GE(far.GetDueTime(), static_cast<int32_t>(ALMilliseconds()) + 1000000 - 1000);

  manager.RunDueTasks();
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 3}));
  EXPECT_LE(manager.EarliestDue(), static_cast<int32_t>(ALMilliseconds()));

  never.CallAgainIn(0);
  far.mDelay = INT_MAX;
  far.CallAgainIn(-5);
  manager.RunDueTasks();
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 3, 1, 2, 3}));
  manager.RemoveTask(&always);
  EXPECT_EQ(manager.EarliestDue(), INT_MAX);
}

// A call made while the task is inside its Pulse (as another thread's
// CallAgainIn may come) stands over the delay that Pulse answers.
TEST(AFPulseTaskManagerTest, ACallAgainDuringAPulseIsNotLost) {
  AFPulseTaskManager manager;
  ScriptedTask resting(1, nullptr, INT_MAX);
  ScriptedTask done(2, nullptr, INT_MAX);
  resting.mDelay = 250;
  resting.mDuringPulse = [&] { resting.CallAgainIn(0); };
  done.mDuringPulse = [&] { done.CallAgainIn(5); };
  manager.AddTask(&resting);
  manager.AddTask(&done);
  manager.RunDueTasks();
  const auto now = static_cast<int32_t>(ALMilliseconds());
  EXPECT_LE(resting.GetDueTime(), now);
  EXPECT_LE(done.GetDueTime(), now + 5);
  resting.mDuringPulse = nullptr;
  manager.RunDueTasks();  // a pulse without a call answers its delay again
  EXPECT_GE(resting.GetDueTime(), static_cast<int32_t>(ALMilliseconds()) + 200);
  manager.RemoveTask(&resting);
  manager.RemoveTask(&done);
}

TEST(AFPulseTaskManagerTest, TaskAddedDuringAPassRunsInThatPassAndRemovedNeverRuns) {
  AFPulseTaskManager manager;
  std::vector<int> log;
  ScriptedTask first(1, &log, INT_MAX);
  ScriptedTask added(2, &log, INT_MAX);
  ScriptedTask removed(3, &log, 0);
  first.mDuringPulse = [&] { manager.AddTask(&added); };
  manager.AddTask(&first);
  manager.AddTask(&removed);
  manager.RemoveTask(&removed);
  EXPECT_EQ(removed.GetManager(), nullptr);
  manager.RemoveTask(&removed);  // not in the list: ignored
  manager.RunDueTasks();
  EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST(AFPulseTaskManagerTest, ThreadRunsATaskAddedWhileItSleepsAndStopsPromptly) {
  AFPulseTaskManager manager;
  EXPECT_FALSE(manager.IsRunning());
  manager.Start();
  EXPECT_TRUE(manager.IsRunning());
  Event ran;
  ScriptedTask task(1, nullptr, INT_MAX);
  task.mDuringPulse = [&] { ran.Set(); };
  manager.AddTask(&task);  // the thread sleeps without limit: the add wakes it
  EXPECT_TRUE(ran.Wait());
  manager.Stop();
  EXPECT_FALSE(manager.IsRunning());
  EXPECT_EQ(task.mCalls.load(), 1);
  manager.RemoveTask(&task);
}

TEST(AFPulseTaskManagerTest, RemoveWaitsForARunningPulseAndTheTaskIsNeverCalledAgain) {
  AFPulseTaskManager manager;
  Event entered;
  Event release;
  std::atomic<bool> pulseReturned{false};
  ScriptedTask task(1, nullptr, 0);
  task.mDuringPulse = [&] {
    if (task.mCalls.load() > 1) return;
    entered.Set();
    release.Wait();
    pulseReturned = true;
  };
  manager.Start();
  manager.AddTask(&task);
  ASSERT_TRUE(entered.Wait());

  Event removing;
  bool returnedFirst = false;
  std::thread remover([&] {
    removing.Set();
    manager.RemoveTask(&task);
    returnedFirst = pulseReturned.load();
  });
  ASSERT_TRUE(removing.Wait());
  for (int i = 0; i < 100; ++i) ALYield();
  release.Set();
  remover.join();
  EXPECT_TRUE(returnedFirst);

  const int calls = task.mCalls.load();
  manager.Stop();  // joins the thread: every call it made is counted
  EXPECT_EQ(task.mCalls.load(), calls);
}

// Takes itself out of its manager and deletes itself on its first Pulse.
class LeavingTask : public AFPulseTask {
 public:
  LeavingTask(std::vector<int>* log, Event* left) : mLog(log), mLeft(left) {}
  int32_t Pulse() override {
    if (mLog) mLog->push_back(0);
    Event* left = mLeft;
    GetManager()->RemoveTask(this);
    delete this;
    if (left) left->Set();
    return 0;
  }

 private:
  std::vector<int>* mLog;
  Event* mLeft;
};

// A task may leave the list from its own Pulse, on the pulse thread too,
// and be deleted there; the pass goes on with the next task.
TEST(AFPulseTaskManagerTest, ATaskRemovesAndDeletesItselfDuringItsPulse) {
  AFPulseTaskManager manager;
  std::vector<int> log;
  ScriptedTask staying(2, &log, INT_MAX);
  manager.AddTask(new LeavingTask(&log, nullptr));
  manager.AddTask(&staying);
  manager.RunDueTasks();
  EXPECT_EQ(log, (std::vector<int>{0, 2}));
  EXPECT_EQ(manager.EarliestDue(), INT_MAX);

  Event left;
  manager.Start();
  manager.AddTask(new LeavingTask(nullptr, &left));
  EXPECT_TRUE(left.Wait());
  manager.Stop();
  manager.RemoveTask(&staying);
}

TEST(AFPulseTaskManagerTest, RestartRunsTasksAgainAndTheDestructorStopsTheThread) {
  Event ran;
  ScriptedTask task(1, nullptr, INT_MAX);
  task.mDuringPulse = [&] { ran.Set(); };
  {
    AFPulseTaskManager manager;
    manager.AddTask(&task);
    manager.Start();
    ASSERT_TRUE(ran.Wait());
    manager.Start();
    task.CallAgainIn(0);
    EXPECT_TRUE(manager.IsRunning());
    manager.RemoveTask(&task);
  }
  EXPECT_GE(task.mCalls.load(), 1);
}

}  // namespace
