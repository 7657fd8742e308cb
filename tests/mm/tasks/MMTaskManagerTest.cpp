#include "mm/tasks/MMTaskManager.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskTime.h"
#include "tests/mm/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

class MMTaskManagerTest : public ::testing::Test, public TaskLog {
 protected:
  MMTaskClient mClient{&mManager};
};

TEST_F(MMTaskManagerTest, ScriptedVirtualTimeRunsTasksInTimeThenReverseSchedulingOrder) {
  mClient.ScheduleTask(Make("a"), 30);
  mClient.ScheduleTask(Make("b"), 10);
  mClient.ScheduleTask(Make("c"), 10);
  mClient.ScheduleTask(Make("d"), 50);
  mClient.ScheduleTask(Make("never"), INT_MAX);

  mManager.RunUntil(5);
  EXPECT_EQ(Take(), Log{});
  EXPECT_EQ(mManager.GetNow(), 5);
  mManager.RunUntil(30);  // due exactly at the target runs
  EXPECT_EQ(Take(), (Log{"c@10", "b@10", "a@30"}));
  EXPECT_EQ(mManager.GetNow(), 30);
  mManager.RunUntil(100);
  EXPECT_EQ(Take(), Log{"d@50"});
  EXPECT_EQ(mManager.GetNow(), 100);
  mManager.RunUntil(INT_MAX - 1);
  mManager.RunUntil(INT_MAX);
  EXPECT_EQ(Take(), Log{});
}

TEST_F(MMTaskManagerTest, TheNextDueTimeIsThatOfTheFirstTaskThatCanRun) {
  constexpr int32_t kDue = 40;
  constexpr int32_t kHeldBackDue = 10;
  constexpr int32_t kLater = 20;
  EXPECT_EQ(mManager.GetNextDueTime(), kMMNever);
  mClient.ScheduleTask(Make("never"), kMMNever);
  EXPECT_EQ(mManager.GetNextDueTime(), kMMNever);
  mClient.ScheduleTask(Make("due"), kDue);
  MMTaskClient paused(&mManager);
  paused.Pause();
  paused.ScheduleTask(Make("held back"), kHeldBackDue);
  EXPECT_EQ(mManager.GetNextDueTime(), kDue);
  mManager.RunUntil(kLater);
  mClient.AddImmediateTask(Make("immediate"));
  EXPECT_EQ(mManager.GetNextDueTime(), kLater);
  mManager.RunUntil(kLater);
  EXPECT_EQ(mManager.GetNextDueTime(), kDue);
}

TEST_F(MMTaskManagerTest, TasksAddedAndRemovedFromInsideTasks) {
  const UURefCount<UUCallback> cancelled = Make("cancelled");
  mClient.ScheduleTask(Make("b"), 15);
  mClient.ScheduleTask(cancelled, 20);
  mClient.ScheduleTask(Make("a",
                            [&] {
                              mClient.ScheduleTask(Make("sameRun"), 10);
                              mClient.ScheduleTask(Make("later"), 40);
                              mClient.ScheduleTask(Make("past"), 3);
                              mClient.AddImmediateTask(Make("immediate"));
                              mClient.CancelTasks(cancelled);
                            }),
                       10);

  mManager.RunUntil(30);
  EXPECT_EQ(Take(), (Log{"a@10", "immediate@10", "past@3", "sameRun@10", "b@15"}));
  mManager.RunUntil(40);
  EXPECT_EQ(Take(), Log{"later@40"});
}

TEST_F(MMTaskManagerTest, ImmediateTasksQueuedByARunningOneGoFirst) {
  mClient.AddImmediateTask(Make("p", [&] {
    mClient.AddImmediateTask(Make("r", [&] { mClient.AddImmediateTask(Make("s")); }));
  }));
  mClient.AddImmediateTask(Make("q"));
  mClient.ScheduleTask(Make("scheduled", [&] { mClient.AddImmediateTask(Make("t")); }), 0);
  mClient.ScheduleTask(Make("next"), 0);

  mManager.RunUntil(0);
  EXPECT_EQ(Take(), (Log{"p@0", "r@0", "s@0", "q@0", "next@0", "scheduled@0", "t@0"}));
}

TEST_F(MMTaskManagerTest, StopRunEndsTheRunBeforeTheNextScheduledTask) {
  mClient.ScheduleTask(Make("b"), 10);
  mClient.ScheduleTask(Make("a",
                            [&] {
                              mManager.StopRun();
                              mClient.AddImmediateTask(Make("immediate"));
                            }),
                       10);
  mManager.RunUntil(20);
  EXPECT_EQ(Take(), (Log{"a@10", "immediate@10"}));
  EXPECT_EQ(mManager.GetNow(), 20);
  mManager.RunUntil(20);  // the stop request was cleared
  EXPECT_EQ(Take(), Log{"b@10"});
}

TEST_F(MMTaskManagerTest, CancelFindsTasksWhereverTheyWait) {
  MMTaskClient other(&mManager);
  const UURefCount<UUCallback> shared = Make("shared");
  mClient.AddImmediateTask(Make("first", [&] { mClient.CancelTasks(shared); }));
  mClient.AddImmediateTask(shared);  // in the run list when cancelled
  other.AddImmediateTask(shared);    // same callback, other client: stays
  mClient.ScheduleTask(shared, 5);
  mManager.RunUntil(10);
  EXPECT_EQ(Take(), (Log{"first@0", "shared@0"}));

  mClient.ScheduleTask(shared, 20);
  mClient.ScheduleTask(Make("kept"), 20);
  other.ScheduleTask(Make("otherKept"), 20);
  mClient.Pause();
  mClient.ScheduleTask(shared, 25);
  mClient.AddImmediateTask(shared);
  mClient.CancelTasks(shared);
  mClient.Resume();
  mManager.RunUntil(30);
  EXPECT_EQ(Take(), (Log{"otherKept@20", "kept@20"}));

  mClient.ScheduleTask(Make("x"), 40);
  mClient.AddImmediateTask(Make("y"));
  other.ScheduleTask(Make("z"), 40);
  mClient.CancelAllTasks();
  mManager.RunUntil(50);
  EXPECT_EQ(Take(), Log{"z@40"});
}

TEST_F(MMTaskManagerTest, ATaskMayDeleteItsOwnClientOrAnother) {
  auto doomed = std::make_unique<MMTaskClient>(&mManager);
  doomed->ScheduleTask(Make("suicide", [&] { doomed.reset(); }), 5);
  doomed->ScheduleTask(Make("gone"), 10);
  mClient.ScheduleTask(Make("after"), 10);
  mManager.RunUntil(10);
  EXPECT_EQ(Take(), (Log{"suicide@5", "after@10"}));

  doomed = std::make_unique<MMTaskClient>(&mManager);
  mClient.AddImmediateTask(Make("killer", [&] { doomed.reset(); }));
  doomed->AddImmediateTask(Make("waiting"));
  mManager.RunUntil(20);
  EXPECT_EQ(Take(), Log{"killer@10"});
}

TEST_F(MMTaskManagerTest, TheManagerHoldsEachCallbackUntilItsTaskIsDone) {
  int deletions = 0;
  {
    const UURefCount<UUCallback> callback = Make("kept", {}, &deletions);
    mClient.ScheduleTask(callback, 10);
    mClient.AddImmediateTask(callback);
  }
  mManager.RunUntil(5);
  EXPECT_EQ(deletions, 0);
  mManager.RunUntil(10);
  EXPECT_EQ(deletions, 1);
  EXPECT_EQ(Take(), (Log{"kept@0", "kept@10"}));

  mClient.ScheduleTask(Make("dropped", {}, &deletions), 20);
  mClient.CancelAllTasks();
  EXPECT_EQ(deletions, 2);
}

TEST_F(MMTaskManagerTest, AnOwnerTakesBackTheImmediateTasksPostedForItOnAnyClient) {
  MMTaskClient other(&mManager);
  const int owner = 0;
  const int someoneElse = 0;
  mClient.AddImmediateTask(Make("mine"), &owner);
  other.AddImmediateTask(Make("mine elsewhere"), &owner);
  mClient.AddImmediateTask(Make("theirs"), &someoneElse);
  mClient.AddImmediateTask(Make("nobody's"));
  mClient.AddImmediateTask(Make("cancels", [&] { mManager.CancelOwner(&owner); }));
  mClient.AddImmediateTask(Make("mine, queued behind"), &owner);
  mManager.CancelOwner(nullptr);
  mManager.RunUntil(0);
  EXPECT_EQ(Take(), (Log{"mine@0", "mine elsewhere@0", "theirs@0", "nobody's@0", "cancels@0"}));
}

}  // namespace
