#include "mm/tasks/MMCooperativeThread.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Runs the body it is given; the body logs into the same log as the test,
// which is safe only because the two threads never run at the same time.
class ScriptedBodyThread : public MMCooperativeThread {
 public:
  using Script = std::function<void(ScriptedBodyThread&)>;
  ScriptedBodyThread(MMTaskClient* client, Log* log, Script body)
      : MMCooperativeThread(client), mLog(log), mBody(std::move(body)) {}
  // Stops a waiting body while the parts it uses still exist.
  ~ScriptedBodyThread() override { Terminate(); }

  void Body() override { mBody(*this); }
  void Note(const std::string& what) {
    mLog->push_back(what + "@" + std::to_string(GetTaskClient()->GetTime()));
  }

  using MMCooperativeThread::HandBack;
  using MMCooperativeThread::HasBodyThread;
  using MMCooperativeThread::Sleep;
  using MMCooperativeThread::SleepUntil;

 private:
  Log* mLog;
  Script mBody;
};

class MMCooperativeThreadTest : public ::testing::Test {
 protected:
  Log Take() { return std::exchange(mLog, {}); }
  std::unique_ptr<ScriptedBodyThread> MakeThread(ScriptedBodyThread::Script body) {
    return std::make_unique<ScriptedBodyThread>(&mClient, &mLog, std::move(body));
  }

  MMTaskManager mManager;
  MMTaskClient mClient{&mManager};
  Log mLog;
};

TEST_F(MMCooperativeThreadTest, AStraightLineBodyStepsOnTheClientsClock) {
  auto thread = MakeThread([](ScriptedBodyThread& t) {
    t.Note("begin");
    EXPECT_TRUE(t.Sleep(100));
    t.Note("middle");
    EXPECT_TRUE(t.SleepUntil(250));
    t.Note("end");
  });
  thread->Start();
  mManager.RunUntil(0);
  EXPECT_TRUE(thread->HasBodyThread());
  mLog.push_back("stage");
  mManager.RunUntil(1000);
  EXPECT_EQ(Take(), (Log{"begin@0", "stage", "middle@100", "end@250"}));
  EXPECT_EQ(thread->GetState(), MMAbstractThread::kStopped);
  EXPECT_FALSE(thread->HasBodyThread());  // the finished body's thread was joined and closed
}

TEST_F(MMCooperativeThreadTest, TheBodyCountsAsTheStageThread) {
  ALThread* bodySees = nullptr;
  auto thread = MakeThread([&bodySees](ScriptedBodyThread&) { bodySees = ALCurrentThread(); });
  thread->Start();
  mManager.RunUntil(0);
  EXPECT_EQ(bodySees, ALCurrentThread());
  EXPECT_EQ(bodySees, ALGetMainThread());
}

TEST_F(MMCooperativeThreadTest, StoppingAWaitingBodyLetsItReturn) {
  auto thread = MakeThread([](ScriptedBodyThread& t) {
    while (t.Sleep(10)) t.Note("tick");
    t.Note("stopping");
  });
  thread->Start();
  mManager.RunUntil(25);
  thread->Stop();
  EXPECT_EQ(Take(), (Log{"tick@10", "tick@20", "stopping@25"}));
  EXPECT_EQ(thread->GetState(), MMAbstractThread::kStopped);
  EXPECT_FALSE(thread->HasBodyThread());
  mManager.RunUntil(100);
  EXPECT_EQ(Take(), Log{});

  thread->Start();  // a stopped thread starts a new body
  mManager.RunUntil(110);
  EXPECT_EQ(Take(), Log{"tick@110"});
}

TEST_F(MMCooperativeThreadTest, DeletingAWaitingThreadStopsItsBody) {
  auto thread = MakeThread([](ScriptedBodyThread& t) {
    while (t.Sleep(10)) {
    }
    t.Note("released");
  });
  thread->Start();
  mManager.RunUntil(5);
  thread.reset();
  EXPECT_EQ(Take(), Log{"released@5"});
}

TEST_F(MMCooperativeThreadTest, HandingBackWaitsUntilWoken) {
  auto thread = MakeThread([](ScriptedBodyThread& t) {
    t.HandBack();
    t.Note("woken");
  });
  thread->Start();
  mManager.RunUntil(100);
  EXPECT_TRUE(thread->IsSuspended());
  EXPECT_EQ(Take(), Log{});
  thread->WakeNow();
  mManager.RunUntil(100);
  EXPECT_EQ(Take(), Log{"woken@100"});
  EXPECT_FALSE(thread->HasBodyThread());
}

}  // namespace
