#include "app/creation/VPLToolAlign.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kLeft(-3.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(3.0f, 1.0f, 0.0f, 1.0f);
const MM3DVector kEmpty(0.0f, 6.0f, 0.0f, 1.0f);
// The middles of the blocks' faces toward the camera.
const MM3DVector kLeftFace(-3.0f, 0.0f, -kBlockHalfSide, 1.0f);
const MM3DVector kRightFace(3.0f, 1.0f, -kBlockHalfSide, 1.0f);
constexpr float kPixelTolerance = 0.15f;

void ExpectNear(const MM3DVector& at, const MM3DVector& expected) {
  EXPECT_NEAR(at.mX, expected.mX, kPixelTolerance);
  EXPECT_NEAR(at.mY, expected.mY, kPixelTolerance);
  EXPECT_NEAR(at.mZ, expected.mZ, kPixelTolerance);
}

class VPLToolAlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mFirst = mStage.AddBlock(kLeft);
    mSecond = mStage.AddBlock(kRight);
    mTool = mStage.Make(kVPLToolAlign);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
  }

  ToolStage mStage;
  VPLObjCreation* mFirst = nullptr;
  VPLObjCreation* mSecond = nullptr;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
};

// Pressed and released at the middles of the faces, so that the pressed
// point lands on the released-on point: the blocks coincide.
TEST_F(VPLToolAlignTest, ThePressedObjectJoinsTheOneReleasedOn) {
  mStage.Drag(*mTool, {kLeftFace, kRightFace});
  ExpectNear(mFirst->GetWorldPosition(), kRight);
  EXPECT_TRUE(mSecond->GetWorldPosition().Equals(kRight));
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

TEST_F(VPLToolAlignTest, WithShiftTheObjectReleasedOnMovesInstead) {
  mStage.Drag(*mTool, {kLeftFace, kRightFace}, kVPLAlternate);
  ExpectNear(mSecond->GetWorldPosition(), kLeft);
  EXPECT_TRUE(mFirst->GetWorldPosition().Equals(kLeft));
}

TEST_F(VPLToolAlignTest, ReleasedOnTheSameObjectItMovesByTheWayBetweenThePoints) {
  const MM3DVector inside(kLeftFace.mX + 0.5f, kLeftFace.mY + 0.5f, kLeftFace.mZ, 1.0f);
  mStage.Drag(*mTool, {kLeftFace, inside});
  ExpectNear(mFirst->GetWorldPosition(), MM3DVector(inside.mX, inside.mY, kLeft.mZ, 1.0f));
}

TEST_F(VPLToolAlignTest, AReleaseOverNothingOnlySoundsTheActionAtThePressedObject) {
  mStage.Drag(*mTool, {kLeft, kEmpty});
  EXPECT_TRUE(mFirst->GetWorldPosition().Equals(kLeft));
  EXPECT_TRUE(mStage.Area().IsUntouched());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 1);
  EXPECT_TRUE(mSound->mLastAt.Equals(kLeft));
}

}  // namespace
