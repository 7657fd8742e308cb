#include "mm/tasks/MMLightweightThread.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Logs "state@time" for each step and the hooks, and steps as told.
class ScriptedThread : public MMLightweightThread {
 public:
  ScriptedThread(MMTaskClient* client, Log* log) : MMLightweightThread(client), mLog(log) {}

  bool Step() override {
    mLog->push_back(std::to_string(GetState()) + "@" + std::to_string(GetTaskClient()->GetTime()));
    return mStep(*this);
  }
  void OnSuspend() override { mLog->push_back("suspend"); }
  void OnResume() override { mLog->push_back("resume"); }

  using MMLightweightThread::Sleep;
  using MMLightweightThread::SleepUntil;

  std::function<bool(ScriptedThread&)> mStep = [](ScriptedThread& t) {
    t.Sleep(100);
    return true;
  };

 private:
  Log* mLog;
};

class MMLightweightThreadTest : public ::testing::Test {
 protected:
  Log Take() { return std::exchange(mLog, {}); }

  MMTaskManager mManager;
  MMTaskClient mClient{&mManager};
  Log mLog;
  ScriptedThread mThread{&mClient, &mLog};
};

TEST_F(MMLightweightThreadTest, StepsRunAtTheTimesTheyNameUntilOneEnds) {
  int steps = 0;
  mThread.mStep = [&](ScriptedThread& t) {
    if (++steps == 3) return false;
    if (steps == 2) {
      t.SleepUntil(250);
    } else {
      EXPECT_EQ(t.Sleep(100), 100);
      t.Sleep(5);  // only the first sleep of a step counts
    }
    return true;
  };
  mThread.Start();
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStarted);
  mManager.RunUntil(99);
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kRunning);
  mManager.RunUntil(1000);
  EXPECT_EQ(Take(), (Log{"1@0", "2@100", "2@250"}));
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStopped);
}

TEST_F(MMLightweightThreadTest, StopGivesARunningThreadExactlyOneFinalStep) {
  mThread.Start();
  mManager.RunUntil(0);
  mThread.Stop();
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStopped);
  mManager.RunUntil(1000);
  EXPECT_EQ(Take(), (Log{"1@0", "3@0"}));

  mThread.Start();
  mThread.Stop();  // not yet stepped: the queued first step is cancelled
  mManager.RunUntil(2000);
  EXPECT_EQ(Take(), Log{});
}

TEST_F(MMLightweightThreadTest, ASleepWithoutLimitWaitsUntilWoken) {
  mThread.mStep = [](ScriptedThread& t) {
    t.Sleep(INT_MAX);
    return true;
  };
  mThread.Start();
  mManager.RunUntil(10);
  EXPECT_TRUE(mThread.IsSuspended());
  mManager.RunUntil(INT_MAX - 1);
  EXPECT_EQ(Take(), (Log{"1@0", "suspend"}));

  mManager.RunUntil(0);
  mThread.WakeIn(50);
  mManager.RunUntil(100);
  EXPECT_EQ(Take(), (Log{"resume", "2@50", "suspend"}));
  mThread.WakeNow();
  mManager.RunUntil(100);
  mThread.WakeAt(130);
  mManager.RunUntil(200);
  EXPECT_EQ(Take(), (Log{"resume", "2@100", "suspend", "resume", "2@130", "suspend"}));
}

TEST_F(MMLightweightThreadTest, WakeAndSuspendMoveThePendingStep) {
  mThread.Start();
  mManager.RunUntil(0);        // next step at 100
  mThread.WakeAt(40);          // moved earlier
  mThread.ScheduleStepAt(60);  // and one more
  mManager.RunUntil(70);
  EXPECT_EQ(Take(), (Log{"1@0", "2@40", "2@60"}));
  mThread.Suspend();  // cancels both pending steps (140 and 160)
  mThread.Suspend();
  mManager.RunUntil(500);
  EXPECT_EQ(Take(), Log{"suspend"});
}

TEST_F(MMLightweightThreadTest, AStartedThreadCanWaitBeforeItsFirstStep) {
  mThread.Start();
  mThread.WakeAt(INT_MAX);  // no hook: the thread has not stepped yet
  mManager.RunUntil(1000);
  EXPECT_EQ(Take(), Log{});
  mThread.WakeIn(0);
  mManager.RunUntil(1000);
  EXPECT_EQ(Take(), Log{"1@1000"});
}

TEST_F(MMLightweightThreadTest, DeletingAStartedThreadCancelsItsPendingStep) {
  for (const int32_t stepsBefore : {0, 1}) {
    auto* thread = new ScriptedThread(&mClient, &mLog);
    thread->Start();
    if (stepsBefore > 0) mManager.RunUntil(0);  // the next step is due at 100
    delete thread;
    Take();
    mManager.RunUntil(1000);
    EXPECT_EQ(Take(), Log{}) << stepsBefore;
  }
}

TEST_F(MMLightweightThreadTest, PausingTheClientDelaysTheNextStep) {
  mThread.Start();
  mManager.RunUntil(0);
  mManager.RunUntil(50);
  mClient.Pause();
  mManager.RunUntil(550);
  mClient.Resume();
  mManager.RunUntil(599);
  EXPECT_EQ(Take(), Log{"1@0"});
  mManager.RunUntil(600);
  EXPECT_EQ(Take(), Log{"2@100"});
}

TEST_F(MMLightweightThreadTest, PostedBindingsStartAndStopTheThread) {
  const MMTaskCallback start = mThread.MakeStartCallback();
  const MMTaskCallback stop = mThread.MakeStopCallback();
  start.Post();
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStopped);
  mManager.RunUntil(0);
  EXPECT_EQ(Take(), Log{"1@0"});
  mThread.MakeSuspendCallback().Post();
  mManager.RunUntil(500);
  EXPECT_EQ(Take(), Log{"suspend"});
  mThread.MakeWakeCallback().Post();
  stop.Post();
  mManager.RunUntil(500);
  EXPECT_EQ(Take(), (Log{"resume", "3@500"}));
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStopped);
}

}  // namespace
