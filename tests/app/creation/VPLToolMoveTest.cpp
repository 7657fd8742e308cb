#include "app/creation/VPLToolMove.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
// A pixel is about this much of the world at the block's distance.
constexpr float kPixelTolerance = 0.15f;
constexpr MM3DColor kRed{1.0f, 0.0f, 0.0f, 0.0f};
const Rgb kRedPixel{255, 0, 0};

class VPLToolMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mObject = mStage.AddBlock(kOrigin);
    mTool = mStage.Make(kVPLToolMove);
    ASSERT_NE(mTool, nullptr);
  }

  ToolStage mStage;
  VPLObjCreation* mObject = nullptr;
  std::unique_ptr<VPLTool> mTool;
};

TEST_F(VPLToolMoveTest, TheObjectFollowsThePointerInThePlaneFacingTheCamera) {
  const MM3DVector to(3.0f, 2.0f, 0.0f, 1.0f);
  mStage.Drag(*mTool, {kOrigin, MM3DVector(1.0f, 1.0f, 0.0f, 1.0f), to});
  const MM3DVector at = mObject->GetWorldPosition();
  EXPECT_NEAR(at.mX, to.mX, kPixelTolerance);
  EXPECT_NEAR(at.mY, to.mY, kPixelTolerance);
  EXPECT_NEAR(at.mZ, to.mZ, kPixelTolerance);
  EXPECT_FALSE(mTool->IsEngaged());
}

TEST_F(VPLToolMoveTest, WithShiftUpTheScreenGoesAwayFromTheCameraAtTheSameHeight) {
  mStage.Drag(*mTool, {kOrigin, MM3DVector(0.0f, 3.0f, 0.0f, 1.0f)}, kVPLAlternate);
  const MM3DVector at = mObject->GetWorldPosition();
  EXPECT_EQ(at.mY, 0.0f);
  EXPECT_NEAR(at.mX, 0.0f, kPixelTolerance);
  // The camera stands on -z.
  EXPECT_NEAR(at.mZ, 3.0f, kPixelTolerance);
}

// Wherever the camera stands around the axis, up the screen is away from
// it along the ground.
TEST_F(VPLToolMoveTest, WithShiftTheWayAwayFollowsTheCameraRoundTheAxis) {
  for (const MM3DVector& eye :
       {MM3DVector(30.0f, 0.0f, 0.0f, 1.0f), MM3DVector(-21.0f, 0.0f, 21.0f, 1.0f),
        MM3DVector(12.0f, 10.0f, -16.0f, 1.0f)}) {
    mObject->SetLocation(kOrigin);
    mStage.Creation().GetCamera().SetEye(eye);
    mStage.Drag(*mTool, {kOrigin, MM3DVector(0.0f, 3.0f, 0.0f, 1.0f)}, kVPLAlternate);
    const float horizontal = std::sqrt(eye.mX * eye.mX + eye.mZ * eye.mZ);
    const MM3DVector at = mObject->GetWorldPosition();
    EXPECT_EQ(at.mY, 0.0f) << eye.mX;
    EXPECT_NEAR(at.mX, -3.0f * eye.mX / horizontal, kPixelTolerance) << eye.mX;
    EXPECT_NEAR(at.mZ, -3.0f * eye.mZ / horizontal, kPixelTolerance) << eye.mX;
  }
}

TEST_F(VPLToolMoveTest, AClickEndsWithTheObjectsOwnPosition) {
  const MM3DVector place(0.4f, -0.3f, 0.2f, 1.0f);
  mObject->SetLocation(place);
  for (int32_t flags : {0, static_cast<int32_t>(kVPLAlternate)}) {
    mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld | flags);
    mStage.Send(*mTool, kOrigin, kVPLRelease | flags);
    EXPECT_TRUE(mObject->GetWorldPosition().Equals(place)) << flags;
  }
}

TEST_F(VPLToolMoveTest, TheIdleRepetitionOfTheLastEventMovesNothing) {
  const MM3DVector to(2.0f, 1.0f, 0.0f, 1.0f);
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, to, kVPLHeld);
  const MM3DVector moved = mObject->GetWorldPosition();
  mStage.Send(*mTool, to, kVPLHeld);
  mStage.Send(*mTool, to, kVPLHeld);
  EXPECT_TRUE(mObject->GetWorldPosition().Equals(moved));
}

// The child's way: the stage's input reaches the area, which hands it to
// its current tool, and the next frame shows the block where it was let go.
TEST_F(VPLToolMoveTest, APressDragAndReleaseOnTheStageMovesTheBlockUnderThePointer) {
  const MM3DVector to(4.0f, -2.0f, 0.0f, 1.0f);
  mObject->SetColor(kRed);
  InterfaceStage& stage = mStage.Stage();
  stage.RunFrame();
  ASSERT_TRUE(Near(stage.PixelAt(mStage.PixelOf(kOrigin)), kRedPixel));
  mStage.Area().SetTool(kVPLToolMove);
  stage.Press(mStage.PixelOf(kOrigin));
  stage.Drag(mStage.PixelOf(MM3DVector(2.0f, -1.0f, 0.0f, 1.0f)));
  stage.Release(mStage.PixelOf(to));
  stage.RunFrame();
  EXPECT_NEAR(mObject->GetWorldPosition().mX, to.mX, kPixelTolerance);
  EXPECT_NEAR(mObject->GetWorldPosition().mY, to.mY, kPixelTolerance);
  EXPECT_TRUE(Near(stage.PixelAt(mStage.PixelOf(to)), kRedPixel));
  EXPECT_FALSE(Near(stage.PixelAt(mStage.PixelOf(kOrigin)), kRedPixel));
}

}  // namespace
