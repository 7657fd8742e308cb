#include <gtest/gtest.h>

#include <algorithm>

#include "StageTestSupport.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/testhooks.h"

namespace {

using ::testing::Test;

// Runs on the test's thread in place of the stage thread.
class MMStageTest : public Test {
 protected:
  MMStageTest()
      : mRun([this](MMStage* stage) {
          return new (ALGlobalAllocator)
              LoggingAct(stage, mRun.mLog, "act" + std::to_string(++mActs));
        }) {}

  MMStage* Stage() { return mRun.mStage; }
  StageLog TakeLog() { return std::exchange(mRun.mLog, {}); }
  UURefCount<UUCallback> Logger(std::string entry, std::function<void()> action = {}) {
    return UURefCount<UUCallback>(
        new (ALGlobalAllocator) StageLogCallback(mRun.mLog, std::move(entry), std::move(action)));
  }

  int mActs = 0;
  StageOnTestThread mRun;
};

TEST_F(MMStageTest, AFrameAdvancesNotifiesDrawsPresentsNotifiesAndUpdatesSound) {
  mRun.Start();
  StageLogCallback first(mRun.mLog, "notify0");
  StageLogCallback second(mRun.mLog, "notify1");
  Stage()->AddEventNotification(MMStage::kAfterPresent, &second);
  Stage()->AddEventNotification(MMStage::kAfterAdvance, &first);
  const int32_t now = Stage()->GetTaskManager()->GetNow();
  Stage()->GetTaskClient()->ScheduleTask(Logger("task"), Stage()->GetTaskClient()->GetTime() + 40);
  TakeLog();

  Stage()->RequestUpdate(now + 40, true);
  Stage()->RunPendingUpdate();
  EXPECT_EQ(TakeLog(), (StageLog{"task", "notify0", "draw", "present", "notify1", "sound-update"}));
  EXPECT_EQ(Stage()->GetTaskManager()->GetNow(), now + 40);
  EXPECT_EQ(Stage()->GetPendingUpdateTime(), kMMNever);

  // Registrations persist; a frame without drawing only advances.
  Stage()->RequestUpdate(now + 50, false);
  Stage()->RunPendingUpdate();
  EXPECT_TRUE(TakeLog().empty());
  mRun.Frame();
  EXPECT_EQ(TakeLog(), (StageLog{"notify0", "draw", "present", "notify1", "sound-update"}));
}

TEST_F(MMStageTest, ALaterUpdateRequestReplacesTheEarlierOne) {
  Stage()->RequestUpdate(500, false);
  Stage()->RequestUpdate(300, true);
  EXPECT_EQ(Stage()->GetPendingUpdateTime(), 300);
  EXPECT_TRUE(Stage()->GetPendingUpdateDraws());
}

TEST_F(MMStageTest, NothingIsPresentedBeforeTheControlsFirstPaint) {
  mRun.Start(false);
  EXPECT_EQ(Stage()->GetFirstFrameState(), MMStage::kFrameWaitingForPaint);
  EXPECT_EQ(TakeLog(), (StageLog{"sound-unsuspend", "act1-built", "draw"}));
  EXPECT_TRUE(IsWindowVisible(Stage()->GetWindow()->GetHandle()));
  Stage()->GetBackSurface()->FillRect(UURect(0, 0, 640, 480), AFColor(AFRGB(255, 0, 0)));
  HWND control = Stage()->GetControl()->GetHandle();
  EXPECT_NE(vpl::platform::WindowPixelAt(control, POINT{10, 10}), 0xFF0000u);
  // Frames asked for meanwhile do nothing.
  mRun.Frame();
  EXPECT_TRUE(TakeLog().empty());

  // The paint came while the first frame was drawing: the whole stage is
  // presented.
  Stage()->OnPaint();
  EXPECT_EQ(Stage()->GetFirstFrameState(), MMStage::kFrameRunning);
  EXPECT_EQ(TakeLog(), (StageLog{"present", "sound-update"}));
  EXPECT_EQ(vpl::platform::WindowPixelAt(control, POINT{10, 10}), 0xFF0000u);
  EXPECT_EQ(vpl::platform::WindowPixelAt(control, POINT{639, 479}), 0xFF0000u);
  EXPECT_EQ(Stage()->GetDirtyRegion().GetCount(), 0);
}

TEST_F(MMStageTest, APaintBeforeTheFirstFrameSkipsTheFirstFrameStates) {
  Stage()->Init();
  Stage()->OnPaint();
  EXPECT_EQ(Stage()->GetFirstFrameState(), MMStage::kFrameRunning);
}

TEST_F(MMStageTest, PausesAreCountedAndAppliedByDrawingFrames) {
  mRun.Start();
  StageLogCallback after(mRun.mLog, "notify1");
  Stage()->AddEventNotification(MMStage::kAfterPresent, &after);
  Stage()->GetTaskClient()->ScheduleTask(Logger("task"), Stage()->GetTaskClient()->GetTime() + 10);
  TakeLog();

  Stage()->AddPause();
  Stage()->AddPause();
  mRun.Frame();
  EXPECT_EQ(TakeLog(),
            (StageLog{"draw", "sound-pause", "act-pause", "present", "notify1", "sound-update"}));
  EXPECT_TRUE(Stage()->IsPaused());

  // While paused time stands still and nothing is paused again.
  const int32_t before = Stage()->GetTaskManager()->GetNow();
  Stage()->RequestUpdate(before + 100, true);
  Stage()->RunPendingUpdate();
  EXPECT_EQ(TakeLog(), (StageLog{"draw", "present"}));
  EXPECT_EQ(Stage()->GetTaskManager()->GetNow(), before);

  Stage()->RemovePause();
  mRun.Frame();
  EXPECT_TRUE(Stage()->IsPaused());
  TakeLog();
  Stage()->RemovePause();
  mRun.Frame();
  EXPECT_FALSE(Stage()->IsPaused());
  // The resuming frame does not fire the after-present notifications.
  EXPECT_EQ(TakeLog(), (StageLog{"draw", "sound-resume", "act-resume", "present", "sound-update"}));
}

TEST_F(MMStageTest, AnActSwitchDestroysTheOldActRunsTasksThenBuildsTheNext) {
  mRun.Start();
  Stage()->GetTaskClient()->ScheduleTask(
      Logger("task",
             [this] { mRun.mLog.push_back(Stage()->GetAct() == nullptr ? "no-act" : "act"); }),
      Stage()->GetTaskClient()->GetTime() + 5);
  TakeLog();
  Stage()->RequestActSwitch();
  Stage()->RequestUpdate(Stage()->GetTaskManager()->GetNow() + 5, false);
  Stage()->RunPendingUpdate();
  EXPECT_EQ(TakeLog(), (StageLog{"act1-deleted", "task", "no-act", "act2-built"}));
  EXPECT_FALSE(Stage()->IsActSwitchPending());
  EXPECT_EQ(Stage()->GetCursorController()->GetBusyCount(), 0);
}

TEST_F(MMStageTest, AStepThatAsksForAnActSwitchIsFollowedAtOnceByAnother) {
  mRun.Start();
  StageLogCallback switcher(mRun.mLog, "switch", [this] {
    if (mActs == 1) Stage()->RequestActSwitch();
  });
  Stage()->AddEventNotification(MMStage::kAfterAdvance, &switcher);
  TakeLog();
  mRun.Frame();
  const StageLog log = TakeLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "act2-built"), log.end());
  EXPECT_EQ(mActs, 2);
}

TEST_F(MMStageTest, NotificationsAddedDuringAWalkRunAndRemovedOnesDoNot) {
  mRun.Start();
  StageLogCallback late(mRun.mLog, "late");
  StageLogCallback removed(mRun.mLog, "removed");
  StageLogCallback adder(mRun.mLog, "adder", [&] {
    Stage()->AddEventNotification(MMStage::kAfterAdvance, &late);
    Stage()->RemoveEventNotification(MMStage::kAfterAdvance, &removed);
    Stage()->RemoveEventNotification(MMStage::kAfterAdvance, &removed);  // absent now: nothing
  });
  Stage()->AddEventNotification(MMStage::kAfterAdvance, &adder);
  Stage()->AddEventNotification(MMStage::kAfterAdvance, &removed);
  TakeLog();
  mRun.Frame();
  EXPECT_EQ(TakeLog(), (StageLog{"adder", "late", "draw", "present", "sound-update"}));
  EXPECT_TRUE(Stage()->HasEventNotification(MMStage::kAfterAdvance, &late));
  EXPECT_FALSE(Stage()->HasEventNotification(MMStage::kAfterAdvance, &removed));
  EXPECT_FALSE(Stage()->HasEventNotification(MMStage::kAfterPresent, &late));
}

TEST_F(MMStageTest, TheCloseHandshakeIsRefusedWhileAnUpdateStepRuns) {
  mRun.Start();
  bool answer = true;
  StageLogCallback closer(mRun.mLog, "close", [&] { answer = Stage()->AgreeToClose(); });
  Stage()->AddEventNotification(MMStage::kAfterAdvance, &closer);
  mRun.Frame();
  EXPECT_FALSE(answer);
  EXPECT_FALSE(Stage()->IsQuitting());
  Stage()->RemoveEventNotification(MMStage::kAfterAdvance, &closer);
  TakeLog();

  EXPECT_TRUE(Stage()->AgreeToClose());
  EXPECT_TRUE(Stage()->IsQuitting());
  EXPECT_EQ(Stage()->GetControl(), nullptr);
  EXPECT_EQ(Stage()->GetAct(), nullptr);
  EXPECT_EQ(TakeLog(), StageLog{"act1-deleted"});
  EXPECT_FALSE(mRun.mWindow->CanClose());
}

TEST_F(MMStageTest, MakingTheCurrentStrategyCurrentAgainKeepsTheDisplay) {
  mRun.Start();
  MMDrawingSurface* back = Stage()->GetBackSurface();
  MMControlSurface* front = Stage()->GetFrontSurface();
  ASSERT_NE(back, nullptr);
  ASSERT_NE(front, nullptr);
  Stage()->SetDisplayModeStrategy(&MMStandard2DDisplayModeStrategy());
  Stage()->SetDisplayModeStrategy(nullptr);
  EXPECT_EQ(Stage()->GetBackSurface(), back);
  EXPECT_EQ(Stage()->GetFrontSurface(), front);
  EXPECT_FALSE(Stage()->LacksDisplay());
}

}  // namespace
