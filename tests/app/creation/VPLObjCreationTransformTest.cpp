#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/app/creation/CreationFixture.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace app_fixtures;
using namespace creation_support;

constexpr int32_t kFrame = 30;

class VPLObjCreationTransformTest : public CreationFixture {
 protected:
  VPLObjCreation* Add(const MM3DVector& place = kCreationInterest) {
    auto* object = new VPLObjCreationUser(&mStage.Scene(), MakeQuad(), nullptr);
    mCreation.AddObjectAt(object, place);
    return object;
  }
  static float ScaleX(const VPLObj& object) {
    return object.GetScaleNode()->GetMatrix().mElement[0][0];
  }
  static std::vector<MM3DVector> Positions(const VPLObj& object) {
    std::vector<MM3DVector> positions;
    const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(object.GetDisplayTreeRoot());
    for (int32_t m = 0; m < meshes.Count(); ++m) {
      const auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[m]);
      const MM3DIndexedMeshVertexData& block = *mesh->GetPart(0).mBlocks[0];
      for (int32_t i = 0; i < block.mPositions.Count(); ++i)
        positions.push_back(block.mPositions[i]);
    }
    return positions;
  }
};

TEST_F(VPLObjCreationTransformTest, AScaleStepAtTheLeastFactorIsRefused) {
  VPLObjCreation* object = Add();
  At(1000);
  object->BeginScale(1, 1, 1);
  object->DragScale(0.15f, 1, 1);
  EXPECT_FLOAT_EQ(ScaleX(*object), 1.0f);
  object->DragScale(0.1501f, 1, 1);
  EXPECT_FLOAT_EQ(ScaleX(*object), 0.1501f);
}

TEST_F(VPLObjCreationTransformTest, ReleasingAfterHoldingStillLeavesNoJiggle) {
  VPLObjCreation* object = Add();
  At(1000);
  object->BeginScale(1, 1, 1);
  At(1030);
  object->DragScale(2, 2, 2);
  At(1060);
  object->DragScale(2, 2, 2);
  object->EndScale();
  EXPECT_FALSE(object->IsJiggling());
}

// From factor 1 with the next-to-last step at 2: the jiggle starts at 2
// and shrinks first, 0.07 a frame, never more however long the frame.
TEST_F(VPLObjCreationTransformTest, AJiggleSwingsBetweenTheLastFactorsAFrameStepAtATime) {
  VPLObjCreation* object = Add();
  At(1000);
  object->BeginScale(1, 1, 1);
  At(1000 + kFrame);
  object->DragScale(2, 2, 2);
  At(1000 + 2 * kFrame);
  object->DragScale(1.5f, 1.5f, 1.5f);
  object->EndScale();
  ASSERT_TRUE(object->IsJiggling());
  // The node shows the factors reached by the step before.
  int32_t now = 2000;
  object->Tick(now);
  EXPECT_FLOAT_EQ(ScaleX(*object), 2.0f);
  object->Tick(now += kFrame);
  EXPECT_NEAR(ScaleX(*object), 2.0f - 0.07f, 1e-5f);
  object->Tick(now += 10 * kFrame);
  object->Tick(now += kFrame);
  EXPECT_NEAR(ScaleX(*object), 2.0f - 3 * 0.07f, 1e-5f);
}

TEST_F(VPLObjCreationTransformTest, OnlyABoxWhollyOutsideTheWorldIsRemoved) {
  const float radius = VPLObjCreation::kWorldRadius;
  VPLObjCreation* straddling = Add();
  straddling->BeginMove();
  straddling->EndMove(radius, 0, 0);  // its box runs from radius - 1 to radius + 1
  VPLObjCreation* outside = Add();
  outside->BeginMove();
  outside->EndMove(radius + 2, 0, 0);
  EXPECT_FALSE(mCreation.IsQueued(straddling));
  EXPECT_TRUE(mCreation.IsQueued(outside));
  mCreation.Tick(100);
  ASSERT_EQ(mCreation.GetUserObjects().size(), 1u);
  EXPECT_EQ(mCreation.GetUserObjects().front(), straddling);
}

TEST_F(VPLObjCreationTransformTest, ARotateDragSpinsOnWithItsLastStep) {
  VPLObjCreation* still = Add();
  At(1000);
  still->BeginRotate(0, 0, 0);
  still->DragRotate(0, 0.1f, 0);
  still->DragRotate(0, 0, 0);
  still->EndRotate(0, 1, 0);
  EXPECT_FALSE(still->IsSpinning());

  VPLObjCreation* spinning = Add();
  spinning->BeginRotate(0, 0, 0);
  At(1100);
  spinning->DragRotate(0, 0.05f, 0);
  At(1100 + kFrame);
  spinning->DragRotate(0, 0.1f, 0);
  At(5000);  // a rest before the release changes nothing
  spinning->EndRotate(0, 0, 0);
  ASSERT_TRUE(spinning->IsSpinning());
  // The bake left the rotation node at rest; the spin turns 0.1 a period.
  spinning->Tick(6000);
  spinning->Tick(6000 + kFrame);
  spinning->Tick(6000 + kFrame + kFrame / 2);
  MM3DMatrix expected;
  MM3DMatrixRotationY(expected, 0.25f);
  EXPECT_TRUE(spinning->GetRotationNode()->GetMatrix().ApproxEquals(expected));
}

TEST_F(VPLObjCreationTransformTest, MirroringTwiceGivesTheMeshBack) {
  VPLObjCreation* object = Add();
  object->BeginRotate(0, 0, 0);
  object->DragRotate(0.3f, 0.2f, 0.1f);
  object->EndRotate(0, 0, 0);
  const std::vector<MM3DVector> before = Positions(*object);
  const MM3DVector eye(10.0f, 20.0f, 30.0f, 1.0f);
  object->MirrorLeftRight(eye, kCreationInterest);
  EXPECT_NE(Positions(*object)[0].mX, before[0].mX);
  object->MirrorLeftRight(eye, kCreationInterest);
  const std::vector<MM3DVector> after = Positions(*object);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_NEAR(after[i].mX, before[i].mX, 1e-4f);
    EXPECT_NEAR(after[i].mY, before[i].mY, 1e-4f);
    EXPECT_NEAR(after[i].mZ, before[i].mZ, 1e-4f);
  }
}

// A camera glide can bring the eye straight above the interest point: the
// view then has no horizontal direction and mirrors as seen along +z.
TEST_F(VPLObjCreationTransformTest, AMirrorFromStraightAboveIsTheMirrorSeenAlongZ) {
  VPLObjCreation* above = Add();
  VPLObjCreation* alongZ = Add();
  for (VPLObjCreation* object : {above, alongZ}) {
    object->BeginRotate(0, 0, 0);
    object->DragRotate(0.3f, 0.2f, 0.1f);
    object->EndRotate(0, 0, 0);
  }
  above->MirrorLeftRight(MM3DVector(0.0f, 30.0f, 0.0f, 1.0f), kCreationInterest);
  alongZ->MirrorLeftRight(MM3DVector(0.0f, 0.0f, -30.0f, 1.0f), kCreationInterest);
  const std::vector<MM3DVector> expected = Positions(*alongZ);
  const std::vector<MM3DVector> actual = Positions(*above);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_TRUE(std::isfinite(actual[i].mX));
    EXPECT_NEAR(actual[i].mX, expected[i].mX, 1e-5f);
    EXPECT_NEAR(actual[i].mZ, expected[i].mZ, 1e-5f);
  }
}

}  // namespace
