// The tube tool in the creation area, on the plane z = 0.
#include "app/creation/VPLToolTubeDraw.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLFirstBlock.h"
#include "mm/stage/MMEnclosure.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using namespace tool_support;

constexpr int16_t kSquareRow = 2;
constexpr int32_t kSquareVertices = 4;
constexpr int32_t kSquareIndices = 6;
constexpr int32_t kSquareSlots = 12;
constexpr float kNear = 1e-4f;

class VPLToolTubeDrawTest : public ::testing::Test {
 protected:
  VPLToolTubeDrawTest()
      : mTool(std::make_unique<VPLToolTubeDraw>(mWorld.Area().GetView(), &mWorld.Creation(),
                                                &mWorld.Area(), 493)),
        mSound(mWorld.RecordSounds(*mTool)) {
    UseRow(kSquareRow);
  }

  void UseRow(int16_t row) {
    mWorld.Area().SetToolOption(static_cast<int16_t>(row / VPLToolTubeDraw::kSizesPerOption));
    mWorld.Area().SetDrawSize(static_cast<int16_t>(row % VPLToolTubeDraw::kSizesPerOption));
  }
  // Presses at the origin and drags along x through every place given.
  void DragAlongX(std::initializer_list<float> xs) {
    mTool->Begin(Through(0, 0), false);
    for (const float x : xs) mTool->Drag(Through(x, 0), false);
  }
  MM3DIndexedMeshVertexData& TubeBlock() { return *VPLFirstBlock(*mTool->GetTube()).Block(); }
  size_t Objects() { return mWorld.Creation().GetUserObjects().size(); }

  ToolWorld mWorld;
  std::unique_ptr<VPLToolTubeDraw> mTool;
  RecordingSound& mSound;
};

TEST_F(VPLToolTubeDrawTest, TheOptionAndSizeChooseTheProfileRow) {
  mWorld.Area().SetToolOption(1);
  mWorld.Area().SetDrawSize(3);
  EXPECT_EQ(mTool->ProfileRow(), 8);
}

TEST_F(VPLToolTubeDrawTest, APressWithoutASweepableProfileMakesNothing) {
  for (const int16_t row : {kProfileRows, kMeshlessRow, kIslandsRow}) {
    UseRow(row);
    mTool->Begin(Through(0, 0), false);
    EXPECT_EQ(mTool->GetTube(), nullptr) << row;
    mTool->Drag(Through(3, 0), false);
    mTool->End(Through(3, 0), false);
  }
  EXPECT_EQ(Objects(), 0u);
}

TEST_F(VPLToolTubeDrawTest, ADragWithinOneUnitIsDiscardedWithoutAChange) {
  // Released on the plane, and off it: a tube without rings is nothing.
  const VPLSegment releases[] = {Through(0.9f, 0), {{0, 0, 1, 1}, {5, 0, 1, 1}}};
  for (const VPLSegment& release : releases) {
    DragAlongX({0.5f, 0.9f});
    ASSERT_NE(mTool->GetTube(), nullptr);
    EXPECT_TRUE(mTool->IsFirstRingPending());
    mTool->End(release, false);
    EXPECT_EQ(Objects(), 0u);
    EXPECT_FALSE(mWorld.Creation().IsModified());
    EXPECT_EQ(mTool->GetTube(), nullptr);
  }
}

TEST_F(VPLToolTubeDrawTest, AFourPointProfileConesOverItsFirstThreePoints) {
  DragAlongX({1.5f});
  EXPECT_FALSE(mTool->IsFirstRingPending());
  EXPECT_EQ(mTool->GetSlotCount(), kSquareSlots);
  const MM3DIndexedMeshVertexData& block = TubeBlock();
  // The profile's own two triangles, then a fan of three.
  ASSERT_EQ(block.mIndices.Count(), kSquareIndices + 9);
  EXPECT_EQ(block.GetVertexCount(), kSquareVertices + 1);
  for (int32_t i = kSquareIndices; i < block.mIndices.Count(); ++i) {
    EXPECT_NE(block.mIndices[i], 3);
  }
  // The tip at the start, the ring turned to face along x.
  EXPECT_EQ(block.mPositions[kSquareVertices].mX, 0.0f);
  EXPECT_NEAR(block.mPositions[0].mX, 1.5f, kNear);
}

TEST_F(VPLToolTubeDrawTest, RingsStopAtTheCapAndTheEndConeClosesTheLastRing) {
  mTool->Begin(Through(0, 0), false);
  for (int i = 1; i <= VPLToolTubeDraw::kMaxRings + 10; ++i) {
    mTool->Drag(Through(1.5f * static_cast<float>(i), 0), false);
  }
  EXPECT_EQ(mTool->GetRingCount(), VPLToolTubeDraw::kMaxRings);
  mTool->End(Through(1000, 0), false);
  ASSERT_EQ(Objects(), 1u);
  const MM3DIndexedMeshVertexData& block =
      *VPLFirstBlock(*mWorld.Creation().GetUserObjects()[0]).Block();
  const int32_t laterRings = VPLToolTubeDraw::kMaxRings - 1;
  EXPECT_EQ(block.GetVertexCount(),
            kSquareVertices + 1 + laterRings * 2 * kSquareSlots + kSquareSlots + 1);
  EXPECT_EQ(block.mIndices.Count(), kSquareIndices + 9 + laterRings * 18 + 9);
  const float lastRing = 1.5f * VPLToolTubeDraw::kMaxRings;
  EXPECT_FLOAT_EQ(block.mPositions[block.GetVertexCount() - 1].mX, lastRing);
  EXPECT_FLOAT_EQ(mSound.mReleasedAt.mX, lastRing);
}

TEST_F(VPLToolTubeDrawTest, SmoothRingsShareANormalPerPointAndFacetedOnesDoNot) {
  for (const int16_t row : {kSquareRow, kFacetedRow}) {
    UseRow(row);
    DragAlongX({1.5f, 3.0f});
    const MM3DIndexedMeshVertexData& block = TubeBlock();
    // The newest ring's three slots of point 1.
    const int32_t first = block.GetVertexCount() - kSquareSlots + 3;
    const bool shared = block.mNormals[first].Equals(block.mNormals[first + 1]) &&
                        block.mNormals[first].Equals(block.mNormals[first + 2]);
    EXPECT_EQ(shared, row == kSquareRow);
    EXPECT_EQ(mTool->IsSmooth(), row == kSquareRow);
    mTool->End(Through(3.0f, 0), false);
  }
}

TEST_F(VPLToolTubeDrawTest, AReleaseOffThePlaneKeepsTheLastRingAsTheEnd) {
  DragAlongX({1.5f, 3.0f});
  const int32_t vertices = TubeBlock().GetVertexCount();
  VPLObjCreationUser* tube = mTool->GetTube();
  mTool->End({{0.0f, 0.0f, 1.0f, 1.0f}, {5.0f, 0.0f, 1.0f, 1.0f}}, false);
  ASSERT_EQ(Objects(), 1u);
  EXPECT_EQ(mWorld.Creation().GetUserObjects()[0], tube);
  EXPECT_EQ(VPLFirstBlock(*tube).Block()->GetVertexCount(), vertices);
  EXPECT_FLOAT_EQ(mSound.mReleasedAt.mX, 3.0f);
}

TEST_F(VPLToolTubeDrawTest, ARingThatWouldOverflowTheIndicesIsNotMade) {
  DragAlongX({1.5f, 3.0f});
  // A block this full has room for no further ring and its end cone.
  MM3DIndexedMeshVertexData& block = TubeBlock();
  while (block.GetVertexCount() < MM3DIndexedMeshVertexData::kMaxVertexCount - 30) {
    block.mPositions.Append(block.mPositions[0]);
    block.mNormals.Append(block.mNormals[0]);
    block.mColors.Append(block.mColors[0]);
    block.mTextureCoordinates[0].Append(block.mTextureCoordinates[0][0]);
  }
  const int32_t vertices = block.GetVertexCount();
  mTool->Drag(Through(4.5f, 0), false);
  EXPECT_EQ(block.GetVertexCount(), vertices);
  mTool->End(Through(9, 0), false);
  ASSERT_EQ(Objects(), 1u);
  EXPECT_FLOAT_EQ(block.mPositions[block.GetVertexCount() - 1].mX, 3.0f);
  const int32_t count = block.GetVertexCount();
  EXPECT_TRUE(std::all_of(block.mIndices.begin(), block.mIndices.end(),
                          [count](uint16_t i) { return i < count; }));
}

TEST_F(VPLToolTubeDrawTest, AToolLeavingMidDragTakesItsTube) {
  MMEnclosure& enclosure = *mWorld.Area().GetEnclosure();
  const int32_t before = enclosure.GetVisuals().Count();
  DragAlongX({1.5f, 3.0f});
  mTool.reset();
  EXPECT_EQ(enclosure.GetVisuals().Count(), before);
  EXPECT_EQ(Objects(), 0u);
}

}  // namespace
