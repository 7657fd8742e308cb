#include "mm/tasks/MMTaskClient.h"

#include "mm/tasks/MMTaskManager.h"
#include "tests/mm/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class MMTaskClientTest : public ::testing::Test, public TaskLog {};

TEST_F(MMTaskClientTest, ANewClientsClockStartsAtZero) {
  mManager.RunUntil(100);
  MMTaskClient client(&mManager);
  EXPECT_EQ(client.GetTime(), 0);
  EXPECT_EQ(client.ToManagerTime(30), 130);
  EXPECT_EQ(client.ToClientTime(250), 150);
  client.ScheduleTask(Make("a", [&] { EXPECT_EQ(client.GetTime(), 30); }), 30);
  mManager.RunUntil(200);
  EXPECT_EQ(Take(), Log{"a@130"});
  EXPECT_EQ(client.GetTime(), 100);
}

TEST_F(MMTaskClientTest, PausingShiftsTheClientsTasksByThePausedInterval) {
  MMTaskClient client(&mManager);
  MMTaskClient bystander(&mManager);
  client.ScheduleTask(Make("a"), 300);
  client.ScheduleTask(Make("b"), 150);
  bystander.ScheduleTask(Make("bystander"), 300);
  mManager.RunUntil(100);

  client.Pause();
  client.Pause();  // nested: only the outermost pair acts
  mManager.RunUntil(400);
  EXPECT_EQ(client.GetTime(), 100);
  client.ScheduleTask(Make("whilePaused"), 120);
  client.Resume();
  mManager.RunUntil(600);
  EXPECT_EQ(client.GetTime(), 100);
  EXPECT_EQ(Take(), Log{"bystander@300"});

  client.Resume();
  EXPECT_EQ(client.GetTime(), 100);
  EXPECT_EQ(client.ToManagerTime(150), 650);
  client.Resume();  // unbalanced: ignored
  mManager.RunUntil(2000);
  EXPECT_EQ(Take(), (Log{"whilePaused@620", "b@650", "a@800"}));
  EXPECT_EQ(client.GetTime(), 1500);
}

TEST_F(MMTaskClientTest, NeverStaysNeverAcrossPauses) {
  MMTaskClient client(&mManager);
  mManager.RunUntil(50);
  client.Pause();
  mManager.RunUntil(5000);
  client.Resume();
  EXPECT_EQ(client.ToManagerTime(INT_MAX), INT_MAX);
  EXPECT_EQ(client.ToClientTime(INT_MAX), INT_MAX);
  client.ScheduleTask(Make("never"), INT_MAX);
  mManager.RunUntil(INT_MAX);
  EXPECT_EQ(Take(), Log{});
}

TEST_F(MMTaskClientTest, DeletingAClientRemovesAllItsTasks) {
  int deletions = 0;
  auto* client = new MMTaskClient(&mManager);
  client->AddImmediateTask(Make("immediate", {}, &deletions));
  client->ScheduleTask(Make("scheduled", {}, &deletions), 10);
  client->Pause();
  client->ScheduleTask(Make("paused", {}, &deletions), 10);
  delete client;
  EXPECT_EQ(deletions, 3);
  mManager.RunUntil(100);
  EXPECT_EQ(Take(), Log{});
}

}  // namespace
