#include "app/creation/VPLToolColorSucker.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLObjCreation.h"
#include "app/objects/VPLMaterializer.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kLeft(-3.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(3.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kEmpty(0.0f, 6.0f, 0.0f, 1.0f);
constexpr MM3DColor kRed{1.0f, 0.0f, 0.0f, 0.0f};
constexpr MM3DColor kBlue{0.0f, 0.0f, 1.0f, 0.0f};
constexpr int32_t kCtrl = kVPLColorSucker;

// The creation screen's part the sucker calls: it counts the refreshes.
class PreviewCounter : public VPLCreationUIHooks {
 public:
  void AskUser(int32_t /*kind*/) override {}
  void RefreshPombleTool() override {}
  void SetCurrentToolButton(VPLObjButtonTool* /*button*/) override {}
  VPLObjButtonTool* GetCurrentToolButton() const override { return nullptr; }
  void RefreshAfterUndo() override {}
  bool IsPombleToolCurrent() const override { return false; }
  VPLSceneUIBase* GetCursorScene() override { return nullptr; }
  void UpdateToolPreview() override { ++mRefreshes; }
  int32_t mRefreshes = 0;
};

class VPLToolColorSuckerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mStage.AddBlock(kLeft)->SetColor(kRed);
    mStage.AddBlock(kRight)->SetColor(kBlue);
    mStage.Creation().SetModified(false);
    mStage.Area().SetUIHooks(&mPreview);
    ASSERT_NE(mStage.Area().GetColorSucker(), nullptr);
    mSound = &mStage.Record(*mStage.Area().GetColorSucker());
  }
  void TearDown() override { mStage.Area().SetUIHooks(&mStage.World().Screen()); }
  // Through the area, which routes by Ctrl.
  void Send(const MM3DVector& at, int32_t flags) {
    const UUPoint pixel = mStage.PixelOf(at);
    mStage.Area().OnMouse(MMMouseEvent{.mX = pixel.mX, .mY = pixel.mY, .mFlags = flags});
  }
  const MM3DColor& Material() { return mStage.Area().GetMaterializer()->GetColor(); }

  ToolStage mStage;
  PreviewCounter mPreview;
  RecordingSound* mSound = nullptr;
};

TEST_F(VPLToolColorSuckerTest, ACtrlDragCopiesEachMaterialInTurnAndTheLastWins) {
  Send(kLeft, kVPLPress | kVPLHeld | kCtrl);
  EXPECT_TRUE(Material() == kRed);
  Send(kEmpty, kVPLHeld | kCtrl);
  Send(kRight, kVPLRelease | kCtrl);
  EXPECT_TRUE(Material() == kBlue);
  EXPECT_EQ(mPreview.mRefreshes, 2);
  // The sucker changes only the current material.
  EXPECT_FALSE(mStage.Creation().IsModified());
  EXPECT_TRUE(mStage.Area().IsUntouched());
}

TEST_F(VPLToolColorSuckerTest, LettingGoOfCtrlFirstLeavesItEngagedSoTheNextPressIsADragStep) {
  Send(kEmpty, kVPLPress | kVPLHeld | kCtrl);
  EXPECT_TRUE(mStage.Area().GetColorSucker()->IsEngaged());
  Send(kEmpty, kVPLRelease);
  Send(kLeft, kVPLPress | kVPLHeld | kCtrl);
  EXPECT_TRUE(Material() == kRed);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kPress], 0);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kDrag], 1);
}

// The child's way: Ctrl held on the stage reaches the sucker through the
// area, whatever the current tool is.
TEST_F(VPLToolColorSuckerTest, ACtrlDragOnTheStageCopiesTheMaterialAndRefreshesThePreview) {
  InterfaceStage& stage = mStage.Stage();
  stage.Press(mStage.PixelOf(kRight), MK_CONTROL);
  stage.Drag(mStage.PixelOf(kEmpty), MK_CONTROL);
  stage.Release(mStage.PixelOf(kEmpty), MK_CONTROL);
  EXPECT_TRUE(Material() == kBlue);
  EXPECT_EQ(mPreview.mRefreshes, 1);
  EXPECT_FALSE(mStage.Area().GetColorSucker()->IsEngaged());
  EXPECT_FALSE(mStage.Area().GetCurrentTool()->IsEngaged());
}

}  // namespace
