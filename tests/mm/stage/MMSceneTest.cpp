#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MMMolecule.h"
#include "mm/stage/MMScene.h"
#include "mm/tasks/MMTaskClient.h"

namespace {

class RecordingMolecule : public MMMolecule {
 public:
  RecordingMolecule(MMScene* scene, StageLog& log) : MMMolecule(scene), mLog(log) {}
  void GainFocus() override { mLog.push_back("molecule-gain"); }
  void LoseFocus() override { mLog.push_back("molecule-lose"); }
  bool HandleKey(const MMKeyEvent& event) override {
    mLog.push_back("key " + std::to_string(event.mKeyCode));
    return true;
  }

 private:
  StageLog& mLog;
};

class MMSceneTest : public ::testing::Test {
 protected:
  MMSceneTest()
      : mRun([this](MMStage* stage) {
          return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
        }) {
    mRun.Start();
    mRun.mLog.clear();
  }
  MMAct* Act() { return mRun.mStage->GetAct(); }

  StageOnTestThread mRun;
};

TEST_F(MMSceneTest, RegistersWithItsHostAndKeepsItsOwnClock) {
  {
    MMScene scene(Act()->GetSceneServices(), &mRun);
    EXPECT_EQ(Act()->GetScenes().Count(), 1);
    EXPECT_EQ(scene.GetStage(), mRun.mStage);
    EXPECT_EQ(scene.GetUserData(), &mRun);
    EXPECT_EQ(scene.GetTaskClient()->GetManager(), mRun.mStage->GetTaskManager());
    EXPECT_NE(scene.GetSoundGroup(), nullptr);
  }
  EXPECT_EQ(Act()->GetScenes().Count(), 0);
}

TEST_F(MMSceneTest, NestedPausesStopTheClockOnceAndFireTheOutermostOnly) {
  MMScene scene(Act()->GetSceneServices(), nullptr);
  StageLogCallback paused(mRun.mLog, "paused");
  StageLogCallback resumed(mRun.mLog, "resumed");
  scene.AddNotification(&paused, kMMScenePaused);
  scene.AddNotification(&resumed, kMMSceneResumed);
  auto* group = static_cast<RecordingSoundGroup*>(scene.GetSoundGroup());

  scene.Pause();
  scene.Pause();
  scene.Resume();
  EXPECT_TRUE(scene.GetTaskClient()->IsPaused());
  EXPECT_EQ(group->mPauses, 1);
  EXPECT_EQ(mRun.mLog, StageLog{"paused"});
  scene.Resume();
  scene.Resume();  // unmatched: nothing
  EXPECT_FALSE(scene.GetTaskClient()->IsPaused());
  EXPECT_EQ(group->mResumes, 1);
  EXPECT_EQ(mRun.mLog, (StageLog{"paused", "resumed"}));
}

TEST_F(MMSceneTest, NotificationsFireByKindInOrderAndRemovalIsSafe) {
  MMScene scene(Act()->GetSceneServices(), nullptr);
  StageLogCallback first(mRun.mLog, "first");
  StageLogCallback other(mRun.mLog, "other");
  StageLogCallback remover(mRun.mLog, "remover",
                           [&] { scene.RemoveNotification(&other, kMMSceneAppActivated); });
  scene.AddNotification(&first, kMMSceneAppActivated);
  scene.AddNotification(&remover, kMMSceneAppActivated);
  scene.AddNotification(&other, kMMSceneAppActivated);
  scene.AddNotification(&other, kMMSceneStagePaused);
  scene.RemoveNotification(&first, kMMSceneWindowActivated);  // not present: nothing

  Act()->AppActivated();
  EXPECT_EQ(mRun.mLog, (StageLog{"first", "remover"}));
  EXPECT_TRUE(scene.HasNotificationCallback(&other));
  EXPECT_FALSE(scene.HasNotification(&other, kMMSceneAppActivated));
  Act()->Pause();
  EXPECT_EQ(mRun.mLog.back(), "other");
}

TEST_F(MMSceneTest, KeysAndFocusPassFromTheStageToTheFocusMolecule) {
  MMScene scene(Act()->GetSceneServices(), nullptr);
  RecordingMolecule molecule(&scene, mRun.mLog);
  EXPECT_FALSE(scene.HandleKey(MMKeyEvent{0, 3, 0, 0}));
  // Without the focus the molecule is only stored.
  scene.SetFocusMolecule(&molecule);
  EXPECT_TRUE(mRun.mLog.empty());

  scene.TakeFocus();  // scene -> act -> stage control
  EXPECT_EQ(Act()->GetFocusScene(), &scene);
  EXPECT_EQ(mRun.mStage->GetFocusAct(), Act());
  EXPECT_TRUE(mRun.mStage->HasFocus());
  EXPECT_TRUE(scene.HasFocus());
  EXPECT_EQ(mRun.mLog, (StageLog{"act-gain-focus", "molecule-gain"}));

  mRun.mStage->HandleKey(MMKeyEvent{0, 12, 0, 0});
  EXPECT_EQ(mRun.mLog.back(), "key 12");

  mRun.mLog.clear();
  scene.ResignFocus();
  EXPECT_EQ(Act()->GetFocusScene(), nullptr);
  EXPECT_EQ(mRun.mLog, StageLog{"molecule-lose"});
  scene.ResignFocus();  // no longer the focus scene: nothing
  mRun.mStage->SetFocusAct(nullptr);
  EXPECT_EQ(mRun.mLog, (StageLog{"molecule-lose", "act-lose-focus"}));
  mRun.mStage->HandleKey(MMKeyEvent{0, 12, 0, 0});  // no focus act: dropped
  EXPECT_EQ(mRun.mLog.size(), 2u);
}

}  // namespace
