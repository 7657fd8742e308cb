#include "app/creation/VPLToolRotate.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLObjCreationUser.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
// The plane's horizontal direction runs along -x for the tests' camera:
// travel that way turns the object +12 degrees a unit.
const MM3DVector kTwoUnitsAlong(-2.0f, 0.0f, 0.0f, 1.0f);
constexpr float kRadiansPerUnit = 12.0f * 3.14159265f / 180.0f;
constexpr float kPixelTolerance = 0.03f;

// Notes the angles the release hands on.
class EndRecordingBlock : public VPLObjCreationUser {
 public:
  using VPLObjCreationUser::VPLObjCreationUser;
  void EndRotate(float ax, float ay, float az) override {
    mEnd = MM3DVector(ax, ay, az, 0.0f);
    VPLObjCreationUser::EndRotate(ax, ay, az);
  }
  MM3DVector mEnd{0.0f, 0.0f, 0.0f, 0.0f};
};

class VPLToolRotateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mTool = mStage.Make(kVPLToolRotate);
    ASSERT_NE(mTool, nullptr);
  }
  EndRecordingBlock* AddRecordingBlock() {
    auto* object = new EndRecordingBlock(&mStage.Area(), MakeBlock(), &mStage.Creation());
    mStage.Creation().AddObjectAt(object, kOrigin);
    return object;
  }
  static float YawOf(const VPLObj& object) {
    const MM3DMatrix& m = object.GetRotationNode()->GetMatrix();
    return std::atan2(m.mElement[0][2], m.mElement[0][0]);
  }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
};

TEST_F(VPLToolRotateTest, SidewaysTravelTurnsTwelveDegreesAUnitAboutTheVerticalAxis) {
  VPLObjCreation* object = mStage.AddBlock(kOrigin);
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, MM3DVector(-1.0f, 0.0f, 0.0f, 1.0f), kVPLHeld);
  mStage.Send(*mTool, kTwoUnitsAlong, kVPLHeld);
  EXPECT_NEAR(std::fabs(YawOf(*object)), 2.0f * kRadiansPerUnit, 2.0f * kPixelTolerance);
}

// The release measures from the hit before the last: after a rest it hands
// on no turn (a group stops), after a flick it does (a group spins on).
TEST_F(VPLToolRotateTest, TheReleaseHandsOnTheLastStepsTurnOnlyAfterAMovement) {
  EndRecordingBlock* object = AddRecordingBlock();
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, kTwoUnitsAlong, kVPLHeld);
  mStage.Send(*mTool, kTwoUnitsAlong, kVPLHeld);
  mStage.Send(*mTool, kTwoUnitsAlong, kVPLRelease);
  EXPECT_TRUE(object->mEnd.Equals(MM3DVector(0.0f, 0.0f, 0.0f, 0.0f)));

  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, kTwoUnitsAlong, kVPLRelease);
  EXPECT_NEAR(object->mEnd.mY, 2.0f * kRadiansPerUnit, 2.0f * kPixelTolerance);
}

// Wherever the camera stands, travel toward the plane's side point turns
// the object the positive way.
TEST_F(VPLToolRotateTest, TheTurnFollowsTheCameraRoundTheAxis) {
  EndRecordingBlock* object = AddRecordingBlock();
  for (const MM3DVector& eye :
       {MM3DVector(30.0f, 0.0f, 0.0f, 1.0f), MM3DVector(-21.0f, 5.0f, 21.0f, 1.0f)}) {
    mStage.Creation().GetCamera().SetEye(eye);
    const MM3DVector side = VPLSideOf(eye);
    const float length = std::sqrt(side.mX * side.mX + side.mZ * side.mZ);
    const MM3DVector along(2.0f * side.mX / length, 0.0f, 2.0f * side.mZ / length, 1.0f);
    mStage.Drag(*mTool, {kOrigin, along});
    EXPECT_NEAR(object->mEnd.mY, 2.0f * kRadiansPerUnit, 2.0f * kPixelTolerance) << eye.mX;
  }
}

TEST_F(VPLToolRotateTest, AGroupReleasedAfterARestStopsAndAfterAFlickSpinsOn) {
  VPLObjCreation* left = mStage.AddBlock(MM3DVector(-1.5f, 0.0f, 0.0f, 1.0f));
  VPLObjCreation* right = mStage.AddBlock(MM3DVector(1.5f, 0.0f, 0.0f, 1.0f));
  for (VPLObjCreation* member : {left, right}) mStage.Creation().DetachObject(member);
  VPLObjCreationGroup* group = GroupOf({left, right}, &mStage.Creation());
  mStage.Creation().AddObject(group);
  const MM3DVector press(-1.5f, 0.0f, -kBlockHalfSide, 1.0f);
  const MM3DVector along(-3.0f, 0.0f, -kBlockHalfSide, 1.0f);
  mStage.Drag(*mTool, {press, along, along, along});
  EXPECT_FALSE(group->IsSpinning());
  const MM3DVector further(-4.5f, 0.0f, -kBlockHalfSide, 1.0f);
  mStage.Drag(*mTool, {press, along, further});
  EXPECT_TRUE(group->IsSpinning());
}

TEST_F(VPLToolRotateTest, WithShiftVerticalTravelAlsoTipsTheObject) {
  EndRecordingBlock* object = AddRecordingBlock();
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld | kVPLAlternate);
  mStage.Send(*mTool, MM3DVector(0.0f, 2.0f, 0.0f, 1.0f), kVPLRelease | kVPLAlternate);
  EXPECT_NEAR(std::fabs(object->mEnd.mX) + std::fabs(object->mEnd.mZ), 2.0f * kRadiansPerUnit,
              2.0f * kPixelTolerance);
  EXPECT_NEAR(object->mEnd.mY, 0.0f, kPixelTolerance);
}

}  // namespace
