#include "mm/stage/MMSceneParentMolecule.h"

#include "mm/stage/MM2DMolecule.h"
#include "mm/tasks/MMTaskClient.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Where the child view shows the child enclosure in the parent enclosure.
const UURect kChildRect(100, 100, 200, 200);
// A point inside the child view, and the box of the child enclosure under it.
constexpr UUPoint kInChild{110, 110};
const UURect kChildBox(0, 0, 50, 50);

// Logs the events the scene is handed.
class RecordingScene : public MMScene {
 public:
  RecordingScene(MMSceneServices* host, void* userData, StageLog& log)
      : MMScene(host, userData), mLog(log) {}
  void AppActivated() override { mLog.push_back("app-activated"); }
  void AppDeactivated() override { mLog.push_back("app-deactivated"); }
  void WindowActivated() override { mLog.push_back("window-activated"); }
  void WindowDeactivated() override { mLog.push_back("window-deactivated"); }
  void StagePaused() override { mLog.push_back("stage-paused"); }
  void StageResumed() override { mLog.push_back("stage-resumed"); }

 private:
  StageLog& mLog;
};

class KeyMolecule : public MMMolecule {
 public:
  KeyMolecule(MMScene* scene, StageLog& log) : MMMolecule(scene), mLog(log) {}
  void GainFocus() override { mLog.push_back("gain"); }
  void LoseFocus() override { mLog.push_back("lose"); }
  bool HandleKey(const MMKeyEvent& event) override {
    mLog.push_back("key " + std::to_string(event.mKeyCode));
    return true;
  }

 private:
  StageLog& mLog;
};

struct MMSceneParentMoleculeTest : ::testing::Test, SceneOnStage {
  MMSceneParentMoleculeTest() { mChildEnclosure.AddVisual(&mBox); }
  ~MMSceneParentMoleculeTest() override {
    mChildEnclosure.RemoveVisual(&mBox);
    mChildScene.ResignFocus();
    mChildView.Detach();
    mParent.Detach();
  }
  std::vector<UURect> Dirty() {
    const MMRegion& region = static_cast<MM2DAct*>(Act())->GetDirtyRegion();
    std::vector<UURect> rects;
    for (int32_t i = 0; i < region.GetCount(); ++i) rects.push_back(region.GetRect(i));
    return rects;
  }
  // Draws a frame; answers whether the child enclosure's box was drawn.
  bool FrameDrawsTheChild() {
    mBox.mClips.clear();
    mRun.Frame();
    return !mBox.mClips.empty();
  }
  MMSceneParentMolecule::ViewVisual& ViewVisual() { return *mParent.GetViewVisuals().Front(); }

  StageLog mChildLog;
  MMSceneParentMolecule mParent{&mScene};
  MM2DPlanarEnclosure mChildEnclosure{mRun.mStage};
  MM2DPlanarView mChildView{mParent.GetViewServices(), &mChildEnclosure, kChildRect, 3};
  RecordingScene mChildScene{mParent.GetSceneServices(), &mChildEnclosure, mChildLog};
  RecordingBoxVisual mBox{kChildBox, 0};
};

TEST_F(MMSceneParentMoleculeTest, ItDrawsAndHitsTheChildViewThroughItsViewVisual) {
  ASSERT_EQ(mParent.GetViewVisuals().Count(), 1);
  EXPECT_EQ(ViewVisual().GetView(), &mChildView);
  EXPECT_EQ(ViewVisual().GetEnclosure(), &mEnclosure);
  EXPECT_EQ(ViewVisual().GetDepth(), 3);
  EXPECT_EQ(mChildScene.GetHost()->GetAct(), Act());
  EXPECT_TRUE(FrameDrawsTheChild());

  int fired = 0;
  MM2DMouseVisualMolecule button(&mChildScene, Counter(fired), kChildBox, 1, nullptr);
  Mouse(kInChild.mX, kInChild.mY, kMMMousePress | kMMMouseButtonDown);
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, button.GetInterpreter());
  EXPECT_TRUE(Act()->GetMouseTarget().ContainsView(&mChildView));
  RunTasks();
  EXPECT_EQ(fired, 1);
  button.Detach();
}

TEST_F(MMSceneParentMoleculeTest, AHiddenChildViewIsNeitherDrawnNorHit) {
  int fired = 0;
  MM2DMouseVisualMolecule button(&mChildScene, Counter(fired), kChildBox, 1, nullptr);
  mRun.Frame();
  mChildView.SetVisibility(kMMHidden);
  EXPECT_EQ(ViewVisual().GetViewVisibility(), kMMHidden);
  EXPECT_EQ(ViewVisual().GetVisibility(), kMMShown);
  EXPECT_EQ(Dirty(), std::vector<UURect>{kChildRect});
  EXPECT_FALSE(FrameDrawsTheChild());
  Mouse(kInChild.mX, kInChild.mY, kMMMousePress | kMMMouseButtonDown);
  RunTasks();
  EXPECT_EQ(fired, 0);
  button.Detach();
}

TEST_F(MMSceneParentMoleculeTest, HidingTheMoleculeHidesItsViewsAndStopsTheirInvalidations) {
  mRun.Frame();
  mParent.SetVisibility(kMMHidden);
  EXPECT_EQ(ViewVisual().GetVisibility(), kMMHidden);
  EXPECT_EQ(Dirty(), std::vector<UURect>{kChildRect});
  EXPECT_FALSE(FrameDrawsTheChild());
  mChildEnclosure.Invalidate(kChildBox);
  EXPECT_TRUE(Dirty().empty());

  mParent.SetVisibility(kMMShown);
  EXPECT_EQ(Dirty(), std::vector<UURect>{kChildRect});
  EXPECT_TRUE(FrameDrawsTheChild());
  mChildEnclosure.Invalidate(kChildBox);
  EXPECT_EQ(Dirty(), std::vector<UURect>{UURect(100, 100, 150, 150)});
}

TEST_F(MMSceneParentMoleculeTest, ViewVisualsFollowTheDepthsAndLivesOfTheirViews) {
  mChildView.SetDepth(5);
  EXPECT_EQ(ViewVisual().GetDepth(), 5);
  ViewVisual().SetDepth(7);
  EXPECT_EQ(mChildView.GetDepth(), 7);
  {
    MM2DPlanarView second(mParent.GetViewServices(), &mChildEnclosure, UURect(0, 0, 10, 10), 0);
    EXPECT_EQ(mParent.GetViewVisuals().Count(), 2);
    EXPECT_EQ(mEnclosure.GetVisuals().Count(), 2);
  }
  EXPECT_EQ(mParent.GetViewVisuals().Count(), 1);
  EXPECT_EQ(mEnclosure.GetVisuals().Count(), 1);
  // A view made while the molecule is hidden starts hidden.
  mParent.SetVisibility(kMMHidden);
  MM2DPlanarView hidden(mParent.GetViewServices(), &mChildEnclosure, UURect(0, 0, 10, 10), 0);
  EXPECT_EQ(mParent.GetViewVisuals().Back()->GetVisibility(), kMMHidden);
}

TEST_F(MMSceneParentMoleculeTest, TheParentScenesEventsReachEveryChildScene) {
  StageLog secondLog;
  RecordingScene second(mParent.GetSceneServices(), nullptr, secondLog);
  EXPECT_EQ(mParent.GetChildScenes().Front(), &mChildScene);
  EXPECT_EQ(mParent.GetChildScenes().Back(), &second);
  Act()->AppActivated();
  Act()->AppDeactivated();
  Act()->WindowActivated();
  Act()->WindowDeactivated();
  Act()->Pause();
  Act()->Resume();
  const StageLog expected = {"app-activated",      "app-deactivated", "window-activated",
                             "window-deactivated", "stage-paused",    "stage-resumed"};
  EXPECT_EQ(mChildLog, expected);
  EXPECT_EQ(secondLog, expected);

  auto* sound = static_cast<RecordingSoundGroup*>(mChildScene.GetSoundGroup());
  mScene.Pause();
  EXPECT_EQ(mChildScene.GetPauseDepth(), 1);
  EXPECT_TRUE(mChildScene.GetTaskClient()->IsPaused());
  EXPECT_EQ(sound->mPauses, 1);
  EXPECT_EQ(second.GetPauseDepth(), 1);
  mScene.Resume();
  EXPECT_FALSE(mChildScene.GetTaskClient()->IsPaused());
  EXPECT_EQ(sound->mResumes, 1);
  EXPECT_EQ(second.GetPauseDepth(), 0);
}

TEST_F(MMSceneParentMoleculeTest, AGoneMoleculeLeavesNoCallbackInItsScene) {
  { MMSceneParentMolecule other(&mScene); }
  Act()->AppActivated();  // would reach the deleted molecule's callbacks
  EXPECT_EQ(mChildLog, StageLog{"app-activated"});
}

TEST_F(MMSceneParentMoleculeTest, AChildsFocusRequestTravelsUpAndKeysComeDown) {
  KeyMolecule molecule(&mChildScene, mChildLog);
  mChildScene.SetFocusMolecule(&molecule);
  EXPECT_FALSE(mParent.HandleKey(MMKeyEvent{0, 3, 0, 0}));  // no focus scene yet

  mChildScene.TakeFocus();
  EXPECT_EQ(Act()->GetFocusScene(), &mScene);
  EXPECT_EQ(mScene.GetFocusMolecule(), &mParent);
  EXPECT_EQ(mParent.GetFocusScene(), &mChildScene);
  EXPECT_TRUE(mParent.HasFocus());
  EXPECT_TRUE(mChildScene.HasFocus());
  mRun.mStage->HandleKey(MMKeyEvent{0, 12, 0, 0});
  EXPECT_EQ(mChildLog, (StageLog{"gain", "key 12"}));

  mScene.ResignFocus();
  EXPECT_FALSE(mParent.HasFocus());
  EXPECT_FALSE(mChildScene.HasFocus());
  EXPECT_EQ(mChildLog.back(), "lose");
  molecule.Detach();
}

}  // namespace
