#include "app/objects/VPLSceneUIBase.h"

#include "foundation/al/ALAllocator.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/app/support/RecordingControl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace app_fixtures;

// Controls stand in front of the interface camera, which looks along +z.
const MM3DVector kCentre(0, 0, 10, 1);
const MM3DVector kRightOfCentre(3, 0, 10, 1);
const MM3DVector kNearerCentre(0, 0, 5, 1);
const MM3DVector kNowhere(20, 20, 10, 1);

class VPLSceneUIBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  // A control added to the scene's interface objects at the position.
  RecordingControl* Add(const std::string& name, const MM3DVector& at,
                        const MMTaskCallback& callback = MMTaskCallback()) {
    auto* control = new RecordingControl(&mStage.Scene(), MakeQuad(), mLog, name, callback);
    control->SetPosition(at);
    mStage.Plain().AppendInterfaceObject(control);
    return control;
  }
  // A callback on the scene's task client that logs its entry.
  MMTaskCallback Logging(const std::string& entry, std::function<void()> action = {}) {
    return MMTaskCallback(mStage.Scene().GetTaskClient(),
                          new (ALGlobalAllocator) StageLogCallback(mLog, entry, std::move(action)));
  }
  UUPoint At(const MM3DVector& world) { return mStage.ScreenPointOf(world); }
  ControlLog TakeLog() { return std::exchange(mLog, {}); }

  AppFiles mFiles;
  InterfaceStage mStage;
  ControlLog mLog;
};

TEST_F(VPLSceneUIBaseTest, HoverFollowsThePointerOnAndOffEachControl) {
  Add("a", kCentre);
  Add("b", kRightOfCentre);
  mStage.Move(At(kCentre));
  mStage.Move(At(kNowhere));
  mStage.Move(At(kRightOfCentre));
  mStage.Move(At(kCentre));
  EXPECT_EQ(mLog,
            (ControlLog{"a hover-on", "a hover-off", "b hover-on", "b hover-off", "a hover-on"}));
}

TEST_F(VPLSceneUIBaseTest, ADragKeepsTheMouseUntilTheReleaseOutside) {
  Add("a", kCentre);
  Add("b", kRightOfCentre);
  mStage.Press(At(kCentre));
  EXPECT_TRUE(mStage.Scene().IsMouseHeld());
  mStage.Drag(At(kRightOfCentre));
  mStage.Release(At(kRightOfCentre));
  EXPECT_FALSE(mStage.Scene().IsMouseHeld());
  EXPECT_EQ(TakeLog(), (ControlLog{"a hover-on", "a press", "a drag", "a release-outside"}));
  // The pointer is over b now: the next move hands the hover over.
  mStage.Move(At(kRightOfCentre));
  EXPECT_EQ(TakeLog(), (ControlLog{"a hover-off", "b hover-on"}));
}

TEST_F(VPLSceneUIBaseTest, AClickFiresTheCallbackAtTheNextFrame) {
  Add("a", kCentre, Logging("clicked"));
  mStage.Press(At(kCentre));
  mStage.Release(At(kCentre));
  EXPECT_FALSE(mStage.Scene().IsMouseHeld());
  EXPECT_EQ(TakeLog(), (ControlLog{"a hover-on", "a press", "a release"}));
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), ControlLog{"clicked"});
}

TEST_F(VPLSceneUIBaseTest, ADoubleClickThenTheButtonUpIsOneDoubleClick) {
  Add("a", kCentre);
  mStage.Press(At(kCentre));
  mStage.Release(At(kCentre));
  mStage.DoubleClick(At(kCentre));
  mStage.Release(At(kCentre));
  EXPECT_EQ(mLog, (ControlLog{"a hover-on", "a press", "a release", "a double-click"}));
}

TEST_F(VPLSceneUIBaseTest, OfOverlappingControlsTheNearestTakesTheMouse) {
  Add("far", kCentre);
  Add("near", kNearerCentre);
  mStage.Move(At(kCentre));
  EXPECT_EQ(mLog, ControlLog{"near hover-on"});
}

TEST_F(VPLSceneUIBaseTest, OfOverlappingControlsAtOneDepthTheFirstListedTakesTheMouse) {
  Add("first", kCentre);
  Add("second", kCentre);
  mStage.Move(At(kCentre));
  EXPECT_EQ(mLog, ControlLog{"first hover-on"});
}

TEST_F(VPLSceneUIBaseTest, KeysGoToTheHighestPriorityHandlerFirstAndNewestAmongEquals) {
  RecordingControl* low = Add("low", kNowhere);
  RecordingControl* older = Add("older", kNowhere);
  RecordingControl* newer = Add("newer", kNowhere);
  older->mTakesKeys = true;
  VPLSceneUIBase& scene = mStage.Scene();
  scene.AddKeyHandler(low, 1);
  scene.AddKeyHandler(older, 5);
  scene.AddKeyHandler(newer, 5);
  mStage.Type('x');
  EXPECT_EQ(TakeLog(), (ControlLog{"newer key", "older key"}));
  scene.RemoveKeyHandler(older);
  mStage.Type('x');
  EXPECT_EQ(TakeLog(), (ControlLog{"newer key", "low key"}));
}

TEST_F(VPLSceneUIBaseTest, AControlRemovedByItsOwnCallbackFreesTheMouse) {
  RecordingControl* a = Add("a", kCentre);
  a->SetCallback(Logging("closing", [&] { mStage.Scene().RemoveObject(a); }));
  mStage.Press(At(kCentre));
  mStage.Release(At(kCentre));
  mStage.RunFrame();
  EXPECT_EQ(mStage.Scene().GetInterfaceObjectCount(), 0);
  EXPECT_EQ(mStage.Scene().GetActiveControl(), nullptr);
  TakeLog();
  mStage.Move(At(kCentre));
  mStage.Press(At(kCentre));
  EXPECT_TRUE(mLog.empty());
  EXPECT_FALSE(mStage.Scene().IsMouseHeld());
}

TEST_F(VPLSceneUIBaseTest, AControlRemovedWhileItHandlesAPressGoesAfterTheEvent) {
  RecordingControl* a = Add("a", kCentre);
  a->mAfterHook = [&](const std::string& hook) {
    if (hook == "press") mStage.Scene().RemoveObject(a);
  };
  mStage.Press(At(kCentre));
  EXPECT_EQ(mStage.Scene().GetInterfaceObjectCount(), 0);
  EXPECT_FALSE(mStage.Scene().IsMouseHeld());
  EXPECT_EQ(mLog, (ControlLog{"a hover-on", "a press"}));
}

TEST_F(VPLSceneUIBaseTest, TheCallbackOfAControlRemovedBeforeItRunsIsWithdrawn) {
  RecordingControl* a = Add("a", kCentre, Logging("clicked"));
  mStage.Press(At(kCentre));
  mStage.Release(At(kCentre));
  mStage.Scene().RemoveObject(a);
  mStage.RunFrame();
  EXPECT_EQ(mLog, (ControlLog{"a hover-on", "a press", "a release"}));
}

TEST_F(VPLSceneUIBaseTest, ReleasingTheActiveControlEndsItsHover) {
  Add("a", kCentre);
  mStage.Move(At(kCentre));
  mStage.Scene().ReleaseActiveControl();
  EXPECT_EQ(mStage.Scene().GetActiveControl(), nullptr);
  EXPECT_EQ(mLog, (ControlLog{"a hover-on", "a hover-off"}));
}

TEST_F(VPLSceneUIBaseTest, TheBackdropComesFromItsTable) {
  ASSERT_NE(mStage.Scene().GetBackdrop(), nullptr);
  EXPECT_TRUE(mStage.Scene().GetBackdrop()->HasDisplayTree());
}

TEST_F(VPLSceneUIBaseTest, AGlowingControlIsDrawnInItsGlowUntilItIsHidden) {
  RecordingControl* a = Add("a", kCentre);
  const Rgb kRed{255, 0, 0};
  a->SetMeshColor(MM3DColor{1, 0, 0, 0});
  mStage.RunFrame();
  EXPECT_TRUE(Near(mStage.PixelAt(At(kCentre)), kRed)) << mStage.PixelAt(At(kCentre));
  a->SetVisibility(kMMHidden);
  mStage.RunFrame();
  EXPECT_FALSE(Near(mStage.PixelAt(At(kCentre)), kRed)) << mStage.PixelAt(At(kCentre));
}

}  // namespace
