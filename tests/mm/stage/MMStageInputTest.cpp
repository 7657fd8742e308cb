#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"

namespace {

class MMStageInputTest : public ::testing::Test {
 protected:
  MMStageInputTest() : mRun(nullptr) {}
  MMStage* Stage() { return mRun.mStage; }
  MMTaskCallback Binding(std::string entry) {
    return MMTaskCallback(Stage()->GetTaskClient(),
                          new (ALGlobalAllocator) StageLogCallback(mRun.mLog, std::move(entry)));
  }

  StageOnTestThread mRun;
};

TEST_F(MMStageInputTest, AMouseEventWithoutAnActStillUpdatesTheStage) {
  mRun.Start();
  ASSERT_EQ(Stage()->GetAct(), nullptr);
  const MMMouseEvent event{1234, 5, -6, kMMMouseButtonDown};
  Stage()->HandleMouse(event);
  EXPECT_EQ(Stage()->GetLastMouseEvent(), event);
  EXPECT_TRUE(Stage()->IsMouseInside());
  Stage()->HandleMouseLeave(1300);
  EXPECT_FALSE(Stage()->IsMouseInside());
}

TEST_F(MMStageInputTest, ARegisteredEventQueuesItsCallbackForTheNextRun) {
  mRun.Start();
  mRun.mLog.clear();
  Stage()->RegisterEvent(7, Binding("first"));
  Stage()->RegisterEvent(7, Binding("second"));  // the first stays
  EXPECT_TRUE(Stage()->IsEventRegistered(7));
  EXPECT_FALSE(Stage()->IsEventRegistered(8));

  Stage()->HandleRegisteredEvent(MMRegisteredEvent{0, 8});
  Stage()->HandleRegisteredEvent(MMRegisteredEvent{0, 7});
  EXPECT_TRUE(mRun.mLog.empty());
  Stage()->GetTaskManager()->RunUntil(Stage()->GetTaskManager()->GetNow());
  EXPECT_EQ(mRun.mLog, StageLog{"first"});
  Stage()->GetTaskManager()->RunUntil(Stage()->GetTaskManager()->GetNow());
  EXPECT_EQ(mRun.mLog.size(), 1u);

  Stage()->UnregisterEvent(7);
  EXPECT_FALSE(Stage()->IsEventRegistered(7));
}

TEST_F(MMStageInputTest, WindowAndStageCoordinatesDifferByTheControlsOrigin) {
  const UURect rect(30, 20, 330, 220);
  MMStageWindow* window = MakeStageWindow();
  auto* stage = new (ALGlobalAllocator) TestStage(window, rect, nullptr, nullptr);
  UUPoint point{3, 4};
  stage->StageToWindow(point);
  EXPECT_EQ(point, (UUPoint{33, 24}));
  stage->Init();
  UURect box(0, 0, 10, 10);
  stage->StageToWindow(box);
  EXPECT_EQ(box, UURect(30, 20, 40, 30));
  MMRegion region;
  region.Set(box);
  stage->WindowToStage(region);
  EXPECT_EQ(region.GetRect(0), UURect(0, 0, 10, 10));
  stage->WindowToStage(point);
  EXPECT_EQ(point, (UUPoint{3, 4}));
  EXPECT_EQ(stage->GetLocalRect(), UURect(0, 0, 300, 200));
  delete window;
}

}  // namespace
