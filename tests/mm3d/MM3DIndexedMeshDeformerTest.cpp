#include "mm3d/MM3DIndexedMeshDeformer.h"

#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A deformer that moves every position by its own offset into its own
// array, so the chain's order shows in the result.
class OffsetDeformer : public MM3DIndexedMeshDeformingNode {
 public:
  explicit OffsetDeformer(float offset) : mOffset(offset) {}
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedShape; }
  void DeformPositions(MM3DVertexArrays& arrays) override {
    mResult.EraseRange(0, mResult.Count());
    for (int32_t i = 0; i < arrays.mVertexCount; ++i) {
      MM3DVector moved = arrays.mPositions[i];
      moved.mX = moved.mX * 10 + mOffset;
      mResult.Append(moved);
    }
    arrays.mPositions = MM3DScratchData(mResult);
  }
  void DeformNormals(MM3DVertexArrays&) override {}

 private:
  float mOffset;
  UUGrowableArray<MM3DVector> mResult;
};

// Notes the deformer list it sees and deforms a one-vertex view through it.
class DeformedProbe : public MM3DDisplayTreeNodeLocator {
 public:
  void Render(MM3DRenderContext& context, MM3DPipeline&, MM3DRenderer&) override {
    const auto& deformers = context.GetDeformers();
    mSeen.assign(deformers.begin(), deformers.end());
    MM3DVector position(0, 0, 0, 1);
    MM3DVertexArrays arrays;
    arrays.mVertexCount = 1;
    arrays.mPositions = &position;
    for (MM3DIndexedMeshDeformer* deformer : deformers) deformer->DeformPositions(arrays);
    mX = arrays.mPositions[0].mX;
  }

  std::vector<MM3DIndexedMeshDeformer*> mSeen;
  float mX = 0;
};

}  // namespace

TEST(MM3DIndexedMeshDeformerTest, NestedDeformersChainOutermostFirstForTheirSubtreeOnly) {
  auto* outerPointer = new OffsetDeformer(1.0f);
  auto* innerPointer = new OffsetDeformer(2.0f);
  auto* probePointer = new DeformedProbe;
  UUOwned<MM3DDisplayTreeNode> outer(outerPointer);
  innerPointer->AddChild(UUOwned<MM3DDisplayTreeNode>(probePointer));
  outerPointer->AddChild(UUOwned<MM3DDisplayTreeNode>(innerPointer));
  RenderBench bench;
  OffsetDeformer before(0.0f);
  bench.mContext.PushDeformer(&before);
  bench.Render(*outerPointer);
  EXPECT_EQ(probePointer->mSeen,
            (std::vector<MM3DIndexedMeshDeformer*>{&before, outerPointer, innerPointer}));
  // ((0 x 10 + 0) x 10 + 1) x 10 + 2
  EXPECT_EQ(probePointer->mX, 12.0f);
  ASSERT_EQ(bench.mContext.GetDeformers().Count(), 1);
  EXPECT_EQ(bench.mContext.GetDeformers()[0], &before);
}

TEST(MM3DIndexedMeshDeformerTest, FrameAndPartStateFollowTheCalls) {
  OffsetDeformer deformer(0.0f);
  EXPECT_FALSE(deformer.IsInFrame());
  deformer.BeginFrame();
  deformer.SelectPart(3, 1);
  EXPECT_TRUE(deformer.IsInFrame());
  EXPECT_EQ(deformer.GetPartIndex(), 3);
  EXPECT_EQ(deformer.GetBlockIndex(), 1);
  deformer.EndFrame();
  EXPECT_FALSE(deformer.IsInFrame());
}

TEST(MM3DIndexedMeshDeformerTest, ScratchGrowsOnlyAndKeepsLaterEntries) {
  UUGrowableArray<MM3DVector> scratch;
  EXPECT_EQ(MM3DScratchData(scratch), nullptr);
  MM3DGrowScratch(scratch, 4, MM3DVector(0, 0, 0, 1));
  ASSERT_EQ(scratch.Count(), 4);
  EXPECT_EQ(scratch[3].mW, 1.0f);
  scratch[3].mX = 7.0f;
  MM3DGrowScratch(scratch, 2, MM3DVector(0, 0, 0, 0));
  EXPECT_EQ(scratch.Count(), 4);
  EXPECT_EQ(scratch[3].mX, 7.0f);
  EXPECT_EQ(MM3DScratchData(scratch), scratch.Begin());
}

TEST(MM3DIndexedMeshDeformerTest, NormalsBecomeUnitLengthKeepingWAndZero) {
  MM3DVector normals[3] = {{3, 0, 4, 0}, {0, 0, 0, 0}, {0, -2, 0, 0.5f}};
  MM3DNormalizeNormals(normals, 3);
  EXPECT_NEAR(normals[0].mX, 0.6f, 1e-4f);
  EXPECT_NEAR(normals[0].mZ, 0.8f, 1e-4f);
  EXPECT_EQ(normals[1].mX, 0.0f);
  EXPECT_EQ(normals[1].mZ, 0.0f);
  EXPECT_NEAR(normals[2].mY, -1.0f, 1e-4f);
  EXPECT_EQ(normals[2].mW, 0.5f);
  MM3DNormalizeNormals(nullptr, 0);
}
