#include "app/creation/VPLToolDragPlane.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLToolShapePrimitive.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace creation_support;

constexpr float kPi = 3.14159265f;

TEST(VPLToolDragPlaneTest, YawsAreFiniteForEveryDirection) {
  struct Case {
    VPLFlatDirection mDirection;
    float mCosine;
    bool mNegate;
    float mYaw;
  };
  const VPLFlatDirection none(0.0f, 0.0f);
  const VPLFlatDirection alongX(3.0f, 0.0f);
  // Rounding may leave a unit component a hair beyond 1.
  for (const Case& c :
       {Case{none, none.mX, false, 0.0f}, Case{none, 1.0f, true, 0.0f},
        Case{alongX, alongX.mX, false, 0.0f}, Case{alongX, alongX.mZ, true, -kPi / 2},
        Case{alongX, 1.0000001f, false, 0.0f}, Case{alongX, -1.0000001f, false, kPi}})
    EXPECT_NEAR(VPLYaw(c.mDirection, c.mCosine, c.mNegate), c.mYaw, 1e-6f) << c.mCosine;
}

TEST(VPLToolDragPlaneTest, ACameraAboveTheAxisGivesAPlaneThatMeetsNothing) {
  const VPLToolDragPlane plane =
      VPLToolDragPlane::Through(MM3DVector(1.0f, 0.0f, 1.0f, 1.0f), MM3DVector(0, 30, 0, 1));
  MM3DVector out(0.0f, 0.0f, 0.0f, 1.0f);
  const VPLSegment down{MM3DVector(1, 10, -5, 1), MM3DVector(1, -10, 5, 1)};
  EXPECT_FALSE(plane.Meet(down, out));
}

// A glide can put the camera right above the world's axis: the drag tools'
// planes then have no horizontal direction. The press is still a change
// (checkpointed, marked modified), but nothing moves and no NaN reaches the
// object.
TEST(VPLToolDragPlaneTest, APressWithTheCameraAboveTheAxisChangesNoObject) {
  const MM3DVector origin(0.0f, 0.0f, 0.0f, 1.0f);
  for (int32_t value : {kVPLToolMove, kVPLToolRotate, kVPLToolScale, kVPLToolShapePrimitive}) {
    ToolStage stage;
    ASSERT_TRUE(stage.Ready());
    VPLObjCreation* object = stage.AddBlock(origin);
    std::unique_ptr<VPLTool> tool = stage.Make(value);
    ASSERT_NE(tool, nullptr);
    stage.Creation().SetModified(false);
    // The view stays; only the camera the tools read moves.
    stage.Area().GetCamera()->SetPosition(MM3DVector(0.0f, 30.0f, 0.0f, 1.0f));
    const MM3DVector side(2.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_FALSE(stage.Send(*tool, origin, kVPLPress | kVPLHeld)) << value;
    stage.Send(*tool, side, kVPLHeld);
    stage.Send(*tool, side, kVPLRelease);
    EXPECT_TRUE(object->GetWorldPosition().Equals(origin)) << value;
    EXPECT_TRUE(object->GetRotationNode()->GetMatrix().IsIdentity()) << value;
    EXPECT_TRUE(object->GetScaleNode()->GetMatrix().IsIdentity()) << value;
    EXPECT_EQ(stage.Creation().GetUserObjects().size(), 1u) << value;
    if (value == kVPLToolShapePrimitive) continue;
    EXPECT_TRUE(stage.Creation().IsModified()) << value;
    EXPECT_FALSE(stage.Area().IsUntouched()) << value;
  }
}

}  // namespace
