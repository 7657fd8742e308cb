#include "app/creation/VPLObjCreationGroup.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/creation/CreationFixture.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

using namespace app_fixtures;
using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kAnchor(2.0f, 1.0f, 3.0f, 1.0f);
const MM3DVector kOffset(10.0f, 0.0f, 0.0f, 0.0f);
constexpr float kQuarter = std::numbers::pi_v<float> / 2.0f;
constexpr float kTolerance = 1e-4f;
constexpr int32_t kFrame = 30;

MM3DVector Plus(const MM3DVector& a, const MM3DVector& offset) {
  return MM3DVector(a.mX + offset.mX, a.mY + offset.mY, a.mZ + offset.mZ, a.mW);
}

float Distance(const VPLObj& a, const VPLObj& b) {
  return std::sqrt(a.GetWorldPosition().Direction(b.GetWorldPosition()).LengthSquared());
}

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected, const char* what) {
  EXPECT_NEAR(actual.mX, expected.mX, kTolerance) << what;
  EXPECT_NEAR(actual.mY, expected.mY, kTolerance) << what;
  EXPECT_NEAR(actual.mZ, expected.mZ, kTolerance) << what;
}

float ScaleX(const VPLObj& object) { return object.GetScaleNode()->GetMatrix().mElement[0][0]; }

class VPLObjCreationGroupTransformTest : public CreationFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreationFixture::SetUp());
    mFirst = Quad(kAnchor);
    mSecond = Quad(Plus(kAnchor, kOffset));
    mGroup = GroupOf({mFirst, mSecond}, &mCreation);
    mCreation.AddObject(mGroup);
  }

  void Later(int32_t ms) { At(mStage.Stage()->GetTaskManager()->GetNow() + ms); }
  // A scale drag through the steps, one frame apart.
  void ScaleDrag(std::initializer_list<MM3DVector> steps) {
    Later(kFrame);
    mGroup->BeginScale(1, 1, 1);
    for (const MM3DVector& step : steps) {
      Later(kFrame);
      mGroup->DragScale(step.mX, step.mY, step.mZ);
    }
    mGroup->EndScale();
  }

  VPLObjCreation* mFirst = nullptr;
  VPLObjCreation* mSecond = nullptr;
  VPLObjCreationGroup* mGroup = nullptr;
};

TEST_F(VPLObjCreationGroupTransformTest, AMovedGroupKeepsItsOffsetsAndStandsAtItsAnchor) {
  const MM3DVector place(-5.0f, 2.0f, 7.0f, 1.0f);
  mGroup->BeginMove();
  mGroup->DragMove(1, 1, 1);
  mGroup->EndMove(place.mX, place.mY, place.mZ);
  ExpectNear(mFirst->GetWorldPosition(), place, "anchor");
  ExpectNear(mSecond->GetWorldPosition(), Plus(place, kOffset), "member");
  EXPECT_TRUE(mGroup->GetWorldPosition().Equals(mFirst->GetWorldPosition()));
  EXPECT_FALSE(mCreation.IsQueued(mGroup));
}

TEST_F(VPLObjCreationGroupTransformTest, TurningCarriesTheOffsetAndTurnsEachMemberInPlace) {
  mGroup->BeginRotate(0, 0, 0);
  mGroup->DragRotate(0, kQuarter, 0);
  MM3DMatrix turn;
  MM3DMatrixRotationXYZ(turn, 0, kQuarter, 0);
  MM3DVector turned;
  turn.TransformDirection(turned, kOffset);
  ExpectNear(mFirst->GetWorldPosition(), kAnchor, "anchor stays");
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, turned), "offset turned");
  EXPECT_NEAR(Distance(*mFirst, *mSecond), 10.0f, kTolerance);
  EXPECT_TRUE(mFirst->GetRotationNode()->GetMatrix() == mSecond->GetRotationNode()->GetMatrix());
  EXPECT_TRUE(mSecond->GetRotationNode()->GetMatrix() == turn);
}

TEST_F(VPLObjCreationGroupTransformTest, ScalingDoublesMembersAndOffsetsAndRefusesTheLeastStep) {
  At(1000);
  mGroup->BeginScale(1, 1, 1);
  At(1030);
  mGroup->DragScale(2, 2, 2);
  EXPECT_FLOAT_EQ(ScaleX(*mFirst), 2.0f);
  EXPECT_FLOAT_EQ(ScaleX(*mSecond), 2.0f);
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, MM3DVector(20, 0, 0, 0)), "offset");
  At(1060);
  mGroup->DragScale(2, VPLObjCreation::kLeastScaleStep, 2);
  EXPECT_FLOAT_EQ(ScaleX(*mSecond), 2.0f);
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, MM3DVector(20, 0, 0, 0)), "refused");
}

TEST_F(VPLObjCreationGroupTransformTest, JiggleFollowsOnlyALastStepThatChanged) {
  struct Case {
    const char* mName;
    MM3DVector mLast;
    bool mJiggling;
  };
  const Case cases[] = {
      {"changed on one axis", MM3DVector(2, 1, 2, 0), true},
      {"held still", MM3DVector(2, 2, 2, 0), false},
  };
  for (const Case& c : cases) {
    ScaleDrag({MM3DVector(2, 2, 2, 0), c.mLast});
    EXPECT_EQ(mGroup->IsJiggling(), c.mJiggling) << c.mName;
  }
}

// Only a box wholly beyond the world's radius leaves; a group made very
// small stays.
TEST_F(VPLObjCreationGroupTransformTest, OnlyAGroupMovedOutOfTheWorldIsQueued) {
  ScaleDrag({MM3DVector(0.2f, 0.2f, 0.2f, 0), MM3DVector(0.16f, 0.16f, 0.16f, 0)});
  EXPECT_FALSE(mCreation.IsQueued(mGroup));
  mGroup->BeginMove();
  mGroup->EndMove(230, 0, 0);
  EXPECT_FALSE(mCreation.IsQueued(mGroup));
  mGroup->BeginMove();
  mGroup->EndMove(240, 0, 0);
  EXPECT_TRUE(mCreation.IsQueued(mGroup));
}

TEST_F(VPLObjCreationGroupTransformTest, ARotateReleasedAtRestLeavesTheGroupStill) {
  At(1000);
  mGroup->BeginRotate(0, 0, 0);
  At(1030);
  mGroup->DragRotate(0, 0.1f, 0);
  mGroup->EndRotate(0, 0, 0);
  EXPECT_FALSE(mGroup->IsSpinning());
  EXPECT_EQ(mGroup->GetSpinChannel(), nullptr);
}

TEST_F(VPLObjCreationGroupTransformTest, AReleasedSpinTurnsTheMembersByElapsedTime) {
  At(1000);
  mGroup->BeginRotate(0, 0, 0);
  At(1030);
  mGroup->DragRotate(0, 0.1f, 0);
  mGroup->EndRotate(0, 0.1f, 0);
  ASSERT_TRUE(mGroup->IsSpinning());
  mGroup->Tick(1030);
  mGroup->Tick(1090);
  MM3DMatrix turn;
  // The drag's step and two periods after it.
  MM3DMatrixRotationXYZ(turn, 0, 0.3f, 0);
  MM3DVector turned;
  turn.TransformDirection(turned, kOffset);
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, turned), "two periods");
}

// A creation file may hold any finite step: ticks many periods apart turn
// by a multiple of it that no float holds, and the members must still
// stand where a turn can put them.
TEST_F(VPLObjCreationGroupTransformTest, AHugeSpinStepKeepsTheMembersInTheWorld) {
  constexpr float kHugeStep = 3e38f;
  At(1000);
  mGroup->BeginRotate(0, 0, 0);
  At(1001);
  mGroup->DragRotate(0, kHugeStep, 0);
  mGroup->EndRotate(0, kHugeStep, 0);
  mGroup->Tick(1001);
  mGroup->Tick(1001 + kFrame);
  const MM3DVector second = mSecond->GetWorldPosition();
  for (float coordinate : {second.mX, second.mY, second.mZ}) {
    EXPECT_TRUE(std::isfinite(coordinate));
  }
  EXPECT_NEAR(Distance(*mFirst, *mSecond), kOffset.mX, kTolerance);
}

// Seen along +z, and from straight above (no horizontal direction), a
// left-right mirror flips each offset's x.
TEST_F(VPLObjCreationGroupTransformTest, MirroringFlipsTheOffsetsAcrossTheView) {
  const MM3DVector flipped = Plus(kAnchor, MM3DVector(-10, 0, 0, 0));
  mGroup->MirrorLeftRight(MM3DVector(0, 0, -40, 1), kOrigin);
  ExpectNear(mSecond->GetWorldPosition(), flipped, "along +z");
  mGroup->MirrorLeftRight(kOrigin, kOrigin);
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, kOffset), "from above");
  mGroup->MirrorUpDown(MM3DVector(0, 0, -40, 1), kOrigin);
  ExpectNear(mSecond->GetWorldPosition(), Plus(kAnchor, kOffset), "up-down keeps a level offset");
}

TEST_F(VPLObjCreationGroupTransformTest, ANestedGroupKeepsItsMembersOrientation) {
  VPLObjCreation* inside = Quad(Plus(kAnchor, MM3DVector(0, 0, 5, 0)));
  VPLObjCreationGroup* nested = GroupOf({inside}, &mCreation);
  mGroup->AddChild(nested, false);
  const MM3DMatrix before = inside->GetRotationNode()->GetMatrix();
  mGroup->BeginRotate(0, 0, 0);
  mGroup->DragRotate(0, kQuarter, 0);
  EXPECT_TRUE(inside->GetRotationNode()->GetMatrix() == before);
  EXPECT_NEAR(Distance(*mFirst, *inside), 5.0f, kTolerance);
  EXPECT_FALSE(inside->GetWorldPosition().Equals(Plus(kAnchor, MM3DVector(0, 0, 5, 0))));
}

TEST_F(VPLObjCreationGroupTransformTest, AnEmptyGroupMovesTurnsAndScalesNothing) {
  std::unique_ptr<VPLObjCreationGroup> empty(
      new VPLObjCreationGroup(&mStage.Scene(), UURefCount<MM3DModel>(), &mCreation));
  empty->BeginMove();
  empty->EndMove(300, 0, 0);
  empty->BeginRotate(0, 0.1f, 0);
  empty->DragRotate(0, 0.1f, 0);
  empty->EndRotate(0, 0.1f, 0);
  empty->BeginScale(1, 1, 1);
  empty->DragScale(2, 2, 2);
  empty->EndScale();
  empty->MirrorLeftRight(kCreationEye, kOrigin);
  empty->Tick(5000);
  EXPECT_TRUE(empty->GetWorldPosition().Equals(kOrigin));
}

}  // namespace
