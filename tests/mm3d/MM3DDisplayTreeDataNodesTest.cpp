#include "mm3d/MM3DDisplayTreeDataNodes.h"

#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DLinearSpline.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;

UURefCount<MM3DSpline> MakeSpline() {
  UUGrowableArray<MM3DVector> points;
  points.Append(MM3DVector(0, 0, 0, 1));
  points.Append(MM3DVector(0, 1, 0, 1));
  return UURefCount<MM3DSpline>(new MM3DLinearSpline(points, false));
}

TEST(MM3DDisplayTreeDataNodesTest, ALocatorMovesWithTheTransformsAboveIt) {
  MM3DDisplayTreeNodeTransform top(Translation(10, 0, 0));
  auto* placed = new MM3DDisplayTreeNodeLocator(MM3DVector(1, 2, 3, 1));
  auto* plain = new MM3DDisplayTreeNodeLocator;
  top.AddChild(Owned(placed));
  top.AddChild(Owned(plain));
  EXPECT_TRUE(placed->GetWorldPosition().Equals(MM3DVector(11, 2, 3, 1)));
  EXPECT_TRUE(plain->GetWorldPosition().Equals(MM3DVector(10, 0, 0, 1)));
}

TEST(MM3DDisplayTreeDataNodesTest, DistancePointsStayAsStored) {
  MM3DDisplayTreeNodeTransform top(Translation(10, 0, 0));
  auto* distance = new MM3DDisplayTreeNodeDistance;
  top.AddChild(Owned(distance));
  distance->SetSecondPoint(MM3DVector(1, 1, 1, 1));
  EXPECT_TRUE(distance->GetFirstPoint().Equals(MM3DVector(0, 0, 0, 1)));
  EXPECT_TRUE(distance->GetSecondPoint().Equals(MM3DVector(1, 1, 1, 1)));
}

TEST(MM3DDisplayTreeDataNodesTest, DataNodesDrawNothingAndLeaveTheContextAlone) {
  MM3DDisplayTreeNodeWithVisibility top;
  top.AddChild(Owned(new MM3DDisplayTreeNodeSpline(MakeSpline())));
  top.AddChild(Owned(new MM3DDisplayTreeNodeLocator));
  top.AddChild(Owned(new MM3DDisplayTreeNodeDistance));
  top.AddChild(Owned(new MM3DDisplayTreeNodeBoundingData));
  top.AddChild(Owned(new MM3DDisplayTreeNodeSphereData));
  RenderBench bench;
  bench.mContext.TransformLights();
  bench.Render(top);
  EXPECT_FALSE(bench.mContext.HasModelMatrixChanged());
  EXPECT_TRUE(bench.mContext.GetModelMatrix().IsIdentity());
  EXPECT_EQ(bench.mContext.GetLights().Count(), 0);
  EXPECT_FALSE(bench.mContext.IsAllInside());
}

TEST(MM3DDisplayTreeDataNodesTest, SplineNodesShareOneSplineThroughTheTable) {
  MM3DDisplayTreeNodeWithVisibility top;
  const UURefCount<MM3DSpline> spline = MakeSpline();
  top.AddChild(Owned(new MM3DDisplayTreeNodeSpline(spline)));
  top.AddChild(Owned(new MM3DDisplayTreeNodeSpline(spline)));
  top.AddChild(Owned(new MM3DDisplayTreeNodeSpline));
  MM3DModDatabase database;
  const std::vector<uint8_t> bytes = WriteNodeRecord(top, database);
  ASSERT_EQ(database.GetSplines().Count(), 1);
  Owned read = ReadNodeRecord(bytes, database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeWithChildren&>(*read);
  auto& first = static_cast<MM3DDisplayTreeNodeSpline&>(*copy.GetChild(0));
  auto& second = static_cast<MM3DDisplayTreeNodeSpline&>(*copy.GetChild(1));
  auto& none = static_cast<MM3DDisplayTreeNodeSpline&>(*copy.GetChild(2));
  EXPECT_EQ(first.GetSpline(), spline);
  EXPECT_EQ(second.GetSpline(), spline);
  EXPECT_TRUE(none.GetSpline().IsEmpty());
}

TEST(MM3DDisplayTreeDataNodesTest, ASplineIndexOutsideTheTableFailsTheRead) {
  MM3DModDatabase database;
  for (int32_t index : {-2, 0}) {
    std::vector<uint8_t> bytes;
    for (int32_t value : {int32_t{kMM3DNodeSpline}, int32_t{0}, index}) AppendInt32(bytes, value);
    EXPECT_TRUE(ReadNodeRecord(bytes, database).IsEmpty()) << index;
  }
}

TEST(MM3DDisplayTreeDataNodesTest, SphereAndBoundingDataKeepTheirValues) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeSphereData sphere(MM3DVector(1, 2, 3, 1), 4);
  Owned read = ReadNodeRecord(WriteNodeRecord(sphere, database), database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeSphereData&>(*read);
  EXPECT_TRUE(copy.GetCentre().Equals(MM3DVector(1, 2, 3, 1)));
  EXPECT_FLOAT_EQ(copy.GetRadius(), 4);
  float values[16];
  for (int i = 0; i < 16; ++i) values[i] = static_cast<float>(i);
  MM3DDisplayTreeNodeBoundingData data(values);
  read = ReadNodeRecord(WriteNodeRecord(data, database), database);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_TRUE(static_cast<MM3DDisplayTreeNodeBoundingData&>(*read).GetVector(3).Equals(
      MM3DVector(12, 13, 14, 15)));
}

}  // namespace
