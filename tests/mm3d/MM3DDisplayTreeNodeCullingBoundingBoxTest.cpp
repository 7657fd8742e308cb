#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"

#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DOrientedBox.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The default volume looks along +z from near 1 to far 1000, about 2.7
// wide and 2 high on each side at z 5.
constexpr MM3DVector kInFrontMinimum = {-1, -1, 5, 1};
constexpr MM3DVector kInFrontMaximum = {1, 1, 6, 1};
constexpr MM3DVector kBehindMinimum = {-1, -1, -10, 1};
constexpr MM3DVector kBehindMaximum = {1, 1, -5, 1};
constexpr MM3DVector kAcrossLeftMinimum = {-100, -1, 5, 1};
constexpr MM3DVector kAcrossLeftMaximum = {0, 1, 6, 1};

using Owned = UUOwned<MM3DDisplayTreeNode>;

// An axis-aligned or oriented culling node for the same box.
UUOwned<MM3DDisplayTreeNodeCullingBase> MakeBox(bool oriented, const MM3DVector& minimum,
                                                const MM3DVector& maximum) {
  if (!oriented) {
    return UUOwned<MM3DDisplayTreeNodeCullingBase>(
        new MM3DDisplayTreeNodeCullingBoundingBox(minimum, maximum));
  }
  MM3DOrientedBox box;
  box.SetFromAxisAligned(minimum, maximum);
  return UUOwned<MM3DDisplayTreeNodeCullingBase>(
      new MM3DDisplayTreeNodeOrientedCullingBoundingBox(box));
}

ProbeNode* AddProbe(MM3DDisplayTreeNodeWithChildren& parent) {
  auto* probe = new ProbeNode;
  parent.AddChild(Owned(probe));
  return probe;
}

class MM3DDisplayTreeNodeCullingBoundingBoxTest : public ::testing::TestWithParam<bool> {
 protected:
  UUOwned<MM3DDisplayTreeNodeCullingBase> Box(const MM3DVector& minimum,
                                              const MM3DVector& maximum) {
    return MakeBox(GetParam(), minimum, maximum);
  }

  RenderBench mBench;
};

TEST_P(MM3DDisplayTreeNodeCullingBoundingBoxTest, ABoxBehindTheCameraDrawsNothing) {
  auto box = Box(kBehindMinimum, kBehindMaximum);
  ProbeNode* probe = AddProbe(*box);
  mBench.Render(*box);
  EXPECT_TRUE(probe->mSightings.empty());
}

TEST_P(MM3DDisplayTreeNodeCullingBoundingBoxTest, ABoxInsideSwitchesTheTestsOffForItsSubtree) {
  auto outer = Box(kInFrontMinimum, kInFrontMaximum);
  auto inner = Box(kBehindMinimum, kBehindMaximum);
  ProbeNode* probe = AddProbe(*inner);
  outer->AddChild(std::move(inner));
  mBench.Render(*outer);
  ASSERT_EQ(probe->mSightings.size(), 1u);  // drawn without testing the inner box
  EXPECT_TRUE(probe->mSightings[0].mAllInside);
  EXPECT_FALSE(mBench.mContext.IsAllInside());
}

TEST_P(MM3DDisplayTreeNodeCullingBoundingBoxTest, ABoxAcrossAPlaneDrawsAndLeavesTheFlag) {
  auto box = Box(kAcrossLeftMinimum, kAcrossLeftMaximum);
  ProbeNode* probe = AddProbe(*box);
  mBench.Render(*box);
  ASSERT_EQ(probe->mSightings.size(), 1u);
  EXPECT_FALSE(probe->mSightings[0].mAllInside);
  mBench.mContext.SetAllInside(true);
  mBench.Render(*box);  // an enclosing box already inside: no test
  EXPECT_TRUE(probe->mSightings[1].mAllInside);
  EXPECT_TRUE(mBench.mContext.IsAllInside());
}

TEST_P(MM3DDisplayTreeNodeCullingBoundingBoxTest, TheBoxIsPlacedByTheTreeAndTheCamera) {
  MM3DDisplayTreeNodeTransform top(Translation(0, 0, 15));
  auto box = Box(kBehindMinimum, kBehindMaximum);
  ProbeNode* probe = AddProbe(*box);
  top.AddChild(std::move(box));
  mBench.Render(top);
  EXPECT_EQ(probe->mSightings.size(), 1u);
  mBench.mPipeline.SetCameraMatrix(Translation(0, 0, -15));
  mBench.Render(top);
  EXPECT_EQ(probe->mSightings.size(), 1u);
}

TEST_P(MM3DDisplayTreeNodeCullingBoundingBoxTest, TheBoxReadsBackFromItsRecord) {
  MM3DModDatabase database;
  auto box = Box(kAcrossLeftMinimum, kAcrossLeftMaximum);
  AddProbe(*box);
  Owned read = ReadNodeRecord(WriteNodeRecord(*box, database), database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeCullingBase&>(*read);
  MM3DVector expected[kMM3DBoxCornerCount];
  MM3DVector actual[kMM3DBoxCornerCount];
  box->GetCorners(expected);
  copy.GetCorners(actual);
  for (int32_t i = 0; i < kMM3DBoxCornerCount; ++i) EXPECT_TRUE(actual[i].Equals(expected[i]));
  EXPECT_EQ(copy.GetChildCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(AlignedAndOriented, MM3DDisplayTreeNodeCullingBoundingBoxTest,
                         ::testing::Bool());

TEST(MM3DOrientedBoxTest, CornersComeInTheirFixedOrder) {
  MM3DVector corners[kMM3DBoxCornerCount];
  MM3DBoxCorners({0, 0, 0, 1}, {1, 2, 3, 1}, corners);
  const MM3DVector expected[kMM3DBoxCornerCount] = {{0, 0, 0, 1}, {0, 2, 0, 1}, {1, 2, 0, 1},
                                                    {1, 0, 0, 1}, {0, 0, 3, 1}, {0, 2, 3, 1},
                                                    {1, 2, 3, 1}, {1, 0, 3, 1}};
  for (int32_t i = 0; i < kMM3DBoxCornerCount; ++i)
    EXPECT_TRUE(corners[i].Equals(expected[i])) << i;
  MM3DOrientedBox box;
  box.SetFromAxisAligned({0, 0, 0, 1}, {1, 2, 3, 1});
  box.GetCorners(corners);
  for (int32_t i = 0; i < kMM3DBoxCornerCount; ++i)
    EXPECT_TRUE(corners[i].Equals(expected[i])) << i;
}

TEST(MM3DOrientedBoxTest, ATurnedBoxRebuildsFromItsCorners) {
  const float values[16] = {1, 2, 3, 1, 1, 1, 0, 0, -2, 2, 0, 0, 0, 0, 0.5f, 0};
  const MM3DOrientedBox box(values);
  MM3DVector corners[kMM3DBoxCornerCount];
  box.GetCorners(corners);
  MM3DOrientedBox rebuilt;
  rebuilt.SetFromCorners(corners);
  EXPECT_TRUE(rebuilt.mCentre.Equals(box.mCentre));
  for (int32_t axis = 0; axis < 3; ++axis) {
    EXPECT_TRUE(rebuilt.mHalfAxes[axis].Equals(box.mHalfAxes[axis])) << axis;
  }
}

TEST(MM3DOrientedBoxTest, PlacementAgainstTheVolume) {
  struct Case {
    MM3DVector mMinimum;
    MM3DVector mMaximum;
    MM3DBoxPlacement mPlacement;
  };
  const Case cases[] = {
      {kInFrontMinimum, kInFrontMaximum, MM3DBoxPlacement::kInside},
      {kBehindMinimum, kBehindMaximum, MM3DBoxPlacement::kOutside},
      {kAcrossLeftMinimum, kAcrossLeftMaximum, MM3DBoxPlacement::kStraddling},
      {{-1, -1, 2000, 1}, {1, 1, 2001, 1}, MM3DBoxPlacement::kOutside},  // beyond far
      {{50, -1, 5, 1}, {60, 1, 6, 1}, MM3DBoxPlacement::kOutside},       // right of the view
      {{-1, -1, 0, 1}, {1, 1, 6, 1}, MM3DBoxPlacement::kStraddling},     // through the near plane
      {{0, 0, 5, 1}, {0, 0, 5, 1}, MM3DBoxPlacement::kInside},           // a point inside
  };
  const MM3DProjectionVolume volume;
  for (const Case& c : cases) {
    MM3DVector corners[kMM3DBoxCornerCount];
    MM3DBoxCorners(c.mMinimum, c.mMaximum, corners);
    EXPECT_EQ(MM3DPlaceBox(corners, MM3DMatrixIdentity, volume), c.mPlacement) << c.mMinimum.mX;
  }
}

}  // namespace
