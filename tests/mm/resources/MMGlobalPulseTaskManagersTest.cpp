#include "mm/resources/MMGlobalPulseTaskManagers.h"

#include <gtest/gtest.h>

namespace {

class MMGlobalPulseTaskManagersTest : public testing::Test {
 protected:
  void TearDown() override { MMStopGlobalPulseTaskManagers(); }
};

TEST_F(MMGlobalPulseTaskManagersTest, StartMakesTwoRunningManagers) {
  EXPECT_TRUE(MMStartGlobalPulseTaskManagers());
  ASSERT_NE(MMGlobalPulseTaskManagerA, nullptr);
  ASSERT_NE(MMStreamingPulseTaskManager, nullptr);
  EXPECT_NE(MMGlobalPulseTaskManagerA, MMStreamingPulseTaskManager);
  EXPECT_TRUE(MMGlobalPulseTaskManagerA->IsRunning());
  EXPECT_TRUE(MMStreamingPulseTaskManager->IsRunning());
  EXPECT_EQ(MMGetStreamingPulseTaskManager(), MMStreamingPulseTaskManager);
}

TEST_F(MMGlobalPulseTaskManagersTest, StopDeletesBothAndMayBeRepeated) {
  MMStartGlobalPulseTaskManagers();
  MMStopGlobalPulseTaskManagers();
  EXPECT_EQ(MMGlobalPulseTaskManagerA, nullptr);
  EXPECT_EQ(MMStreamingPulseTaskManager, nullptr);
  MMStopGlobalPulseTaskManagers();
  EXPECT_EQ(MMGetStreamingPulseTaskManager(), nullptr);
}

TEST_F(MMGlobalPulseTaskManagersTest, StartingAgainKeepsTheManagers) {
  MMStartGlobalPulseTaskManagers();
  AFPulseTaskManager* const streaming = MMStreamingPulseTaskManager;
  MMStartGlobalPulseTaskManagers();
  EXPECT_EQ(MMStreamingPulseTaskManager, streaming);
  EXPECT_TRUE(streaming->IsRunning());
}

}  // namespace
