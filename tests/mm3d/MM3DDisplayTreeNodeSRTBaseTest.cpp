#include "mm3d/MM3DDisplayTreeNodeSRTBase.h"

#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr float kTolerance = 1e-5f;
constexpr float kQuarterTurn = 1.5707964f;

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected) {
  EXPECT_NEAR(actual.mX, expected.mX, kTolerance);
  EXPECT_NEAR(actual.mY, expected.mY, kTolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, kTolerance);
}

MM3DVector Place(MM3DDisplayTreeNode& node, const MM3DVector& point) {
  MM3DMatrix world;
  node.GetWorldMatrix(world);
  MM3DVector out;
  world.TransformPoint(out, point);
  return out;
}

// Counts how often its local matrix is built.
template <typename Base>
class Counting : public Base {
 public:
  void BuildLocalMatrix(MM3DMatrix& out) override {
    ++mBuilds;
    Base::BuildLocalMatrix(out);
  }

  int mBuilds = 0;
};

TEST(MM3DDisplayTreeNodeSRTBaseTest, ScalingHappensAboutTheScalePivot) {
  MM3DDisplayTreeNodeSRTTransform node;
  node.SetScalePivot(MM3DVector(1, 0, 0, 1));
  node.SetScaleX(2);
  node.SetScaleY(2);
  node.SetScaleZ(2);
  ExpectNear(Place(node, {1, 0, 0, 1}), {1, 0, 0, 1});
  ExpectNear(Place(node, {0, 0, 0, 1}), {-1, 0, 0, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, RotationHappensAboutTheRotatePivot) {
  MM3DDisplayTreeNodeSRTTransform node;
  node.SetRotatePivotX(1);
  node.SetRotationZ(kQuarterTurn);
  ExpectNear(Place(node, {1, 0, 0, 1}), {1, 0, 0, 1});
  ExpectNear(Place(node, {0, 0, 0, 1}), {1, -1, 0, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, PivotTranslationsAndTheTranslationAddUp) {
  MM3DDisplayTreeNodeSRTTransform node;
  node.SetScalePivotTranslation(MM3DVector(1, 0, 0, 0));
  node.SetRotatePivotTranslation(MM3DVector(0, 2, 0, 0));
  node.SetTranslation(MM3DVector(0, 0, 3, 1));
  ExpectNear(Place(node, {0, 0, 0, 1}), {1, 2, 3, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, ASetterGivenTheCurrentValueChangesNothing) {
  Counting<MM3DDisplayTreeNodeSRTTransform> node;
  MM3DMatrix world;
  node.GetWorldMatrix(world);
  ASSERT_EQ(node.mBuilds, 1);
  node.SetScaleX(1);
  node.SetRotationY(0);
  node.SetTranslationZ(0);
  node.SetRotatePivotX(0);
  node.GetWorldMatrix(world);
  EXPECT_EQ(node.mBuilds, 1);
  node.SetTranslationZ(4);
  node.SetTranslationX(4);  // one rebuild for any number of changes
  node.GetWorldMatrix(world);
  EXPECT_EQ(node.mBuilds, 2);
  EXPECT_FLOAT_EQ(world.mElement[3][2], 4);
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, AComponentChangeReachesTheSubtree) {
  MM3DDisplayTreeNodeSRTTransform top;
  auto* child = new MM3DDisplayTreeNodeTransform(Translation(1, 0, 0));
  top.AddChild(UUOwned<MM3DDisplayTreeNode>(child));
  ExpectNear(WorldTranslation(*child), {1, 0, 0, 1});
  top.SetRotationZ(kQuarterTurn);
  ExpectNear(WorldTranslation(*child), {0, 1, 0, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, AJointScaleBecomesItsChildJointsParentScale) {
  MM3DDisplayTreeNodeJoint parent;
  auto* child = new MM3DDisplayTreeNodeJoint;
  parent.AddChild(UUOwned<MM3DDisplayTreeNode>(child));
  child->SetTranslationX(1);
  parent.SetScaleX(2);
  EXPECT_FLOAT_EQ(child->GetParentScale().mX, 2);
  EXPECT_FLOAT_EQ(child->GetParentScaleInverse().mX, 0.5f);
  // The child cancels the parent's scale: its world matrix has none.
  MM3DMatrix world;
  child->GetWorldMatrix(world);
  EXPECT_NEAR(world.mElement[0][0], 1, kTolerance);
  ExpectNear(Place(*child, {1, 0, 0, 1}), {3, 0, 0, 1});  // translation (1) scaled, then 1
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, AJointAppliesScaleRotationThenOrientation) {
  MM3DDisplayTreeNodeJoint joint;
  joint.SetScaleY(3);
  joint.SetRotationZ(kQuarterTurn);
  joint.SetOrientX(kQuarterTurn);
  joint.SetTranslationZ(1);
  // (0, 1, 0) scales to (0, 3, 0), turns about z to (-3, 0, 0), about x
  // stays, then moves by z 1.
  ExpectNear(Place(joint, {0, 1, 0, 1}), {-3, 0, 1, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, AZeroParentScaleLeavesThatAxisAlone) {
  MM3DDisplayTreeNodeJoint joint;
  joint.SetParentScaleY(0);
  EXPECT_FLOAT_EQ(joint.GetParentScaleInverse().mY, 1);
  ExpectNear(Place(joint, {1, 1, 1, 1}), {1, 1, 1, 1});
}

TEST(MM3DDisplayTreeNodeSRTBaseTest, ReadingAppliesTheValuesThroughTheSetters) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeJoint joint;
  joint.SetScaleZ(2);
  joint.SetOrientY(0.5f);
  joint.SetParentScaleZ(4);
  UUOwned<MM3DDisplayTreeNode> read = ReadNodeRecord(WriteNodeRecord(joint, database), database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeJoint&>(*read);
  EXPECT_FLOAT_EQ(copy.GetScale().mZ, 2);
  EXPECT_FLOAT_EQ(copy.GetOrient().mY, 0.5f);
  EXPECT_FLOAT_EQ(copy.GetParentScaleInverse().mZ, 0.25f);
  MM3DMatrix expected;
  MM3DMatrix actual;
  joint.GetWorldMatrix(expected);
  copy.GetWorldMatrix(actual);
  EXPECT_TRUE(actual.ApproxEquals(expected));
}

}  // namespace
