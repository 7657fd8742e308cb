#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"

#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "tests/mm3d/MM3DMeshSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;
using Vectors = std::vector<MM3DVector>;

const Vectors kStored = {{1, 1, 1, 1}, {2, 2, 2, 1}, {3, 3, 3, 1}};

// A lit mesh of one block below the node.
void AddMesh(MM3DDisplayTreeNodeWithChildren& node, const Vectors& positions,
             const Vectors& normals = {}) {
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = MakeMaterial(true);
  part.mBlocks.Append(MakeBlock(positions, normals));
  mesh->AddPart(part);
  node.AddChild(Owned(mesh));
}

const DrawnBlock& Draw(MeshBench& bench, MM3DDisplayTreeNode& node) {
  bench.Render(node);
  EXPECT_EQ(bench.mPipeline.mDrawn.size(), 1u);
  return bench.mPipeline.mDrawn.back();
}

void ExpectPositions(const Vectors& actual, const Vectors& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_FLOAT_EQ(actual[i].mX, expected[i].mX) << i;
    EXPECT_FLOAT_EQ(actual[i].mY, expected[i].mY) << i;
    EXPECT_FLOAT_EQ(actual[i].mZ, expected[i].mZ) << i;
    EXPECT_EQ(actual[i].mW, expected[i].mW) << i;
  }
}

struct WeightCase {
  std::vector<float> mWeights;
  Vectors mExpected;
};

}  // namespace

// Two dense targets: +x by 2 on every vertex, and +y by 4 on the first
// two vertices only (a target shorter than the block).
TEST(MM3DDisplayTreeNodeBlendShapeTest, DenseTargetsAddTheirWeightedOffsets) {
  const std::vector<Vectors> targets = {{{2, 0, 0, 0}, {2, 0, 0, 0}, {2, 0, 0, 0}},
                                        {{0, 4, 0, 0}, {0, 4, 0, 0}}};
  const WeightCase cases[] = {
      {{0.0f, -0.0f}, kStored},
      {{1.0f, 0.0f}, {{3, 1, 1, 1}, {4, 2, 2, 1}, {5, 3, 3, 1}}},
      {{0.5f, 0.5f}, {{2, 3, 1, 1}, {3, 4, 2, 1}, {4, 3, 3, 1}}},
      {{-1.0f, 0.25f}, {{-1, 2, 1, 1}, {0, 3, 2, 1}, {1, 3, 3, 1}}},
  };
  for (const WeightCase& weights : cases) {
    MeshBench bench;
    MM3DDisplayTreeNodeIndexedBlendShapeArray node(
        MakeArray(weights.mWeights), OneBlockTargets(targets), MM3DMeshTargets<MM3DVector>());
    AddMesh(node, kStored);
    ExpectPositions(Draw(bench, node).mPositions, weights.mExpected);
  }
}

TEST(MM3DDisplayTreeNodeBlendShapeTest, SparseTargetsMoveOnlyTheVerticesTheyList) {
  const std::vector<std::vector<MM3DBlendShapeDelta>> targets = {
      {{{1, 0, 0, 0}, 2}, {{1, 0, 0, 0}, 2}, {{0, 0, 5, 0}, 0}, {{9, 9, 9, 0}, 3}},
      {{{7, 7, 7, 0}, 1}}};
  const float kNotANumber = std::numeric_limits<float>::quiet_NaN();
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedBlendShape node(MakeArray<float>({2.0f, kNotANumber}),
                                            OneBlockTargets(targets),
                                            MM3DMeshTargets<MM3DBlendShapeDelta>());
  AddMesh(node, kStored);
  // Vertex 2 is listed twice, vertex 3 lies beyond the block, and a weight
  // that is not a number is passed over.
  ExpectPositions(Draw(bench, node).mPositions, {{1, 1, 11, 1}, {2, 2, 2, 1}, {7, 3, 3, 1}});
}

TEST(MM3DDisplayTreeNodeBlendShapeTest, BlendedNormalsAreRenormalised) {
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedBlendShapeArray node(
      MakeArray<float>({0.0f, 1.0f}), MM3DMeshTargets<MM3DVector>(),
      OneBlockTargets<MM3DVector>({{{5, 0, 0, 0}}, {{0, 0, 4, 0}}}));
  AddMesh(node, {kStored[0], kStored[1]}, {{0, 3, 0, 0}, {0, 0.5f, 0, 0}});
  const DrawnBlock& drawn = Draw(bench, node);
  ASSERT_EQ(drawn.mNormals.size(), 2u);
  EXPECT_NEAR(drawn.mNormals[0].mY, 0.6f, 1e-4f);
  EXPECT_NEAR(drawn.mNormals[0].mZ, 0.8f, 1e-4f);
  EXPECT_NEAR(drawn.mNormals[1].mY, 1.0f, 1e-4f);
  // Positions had no targets for this block: they are the stored ones.
  ExpectPositions(drawn.mPositions, {kStored[0], kStored[1]});
}

// More weights than targets, a dense target longer than the block, and a
// mesh whose second block has no targets.
TEST(MM3DDisplayTreeNodeBlendShapeTest, WhatLiesOutsideTheArraysIsSkipped) {
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedBlendShapeArray node(
      MakeArray<float>({1.0f, 1.0f}),
      OneBlockTargets<MM3DVector>({Vectors(5, MM3DVector(1, 0, 0, 0))}),
      MM3DMeshTargets<MM3DVector>());
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = MakeMaterial(true);
  part.mBlocks.Append(MakeBlock({kStored[0]}));
  part.mBlocks.Append(MakeBlock({kStored[1]}));
  mesh->AddPart(part);
  node.AddChild(Owned(mesh));
  bench.Render(node);
  ASSERT_EQ(bench.mPipeline.mDrawn.size(), 2u);
  ExpectPositions(bench.mPipeline.mDrawn[0].mPositions, {{2, 1, 1, 1}});
  ExpectPositions(bench.mPipeline.mDrawn[1].mPositions, {kStored[1]});
}

// An outer blend shape moves the vertex by +1 in x, an inner skin doubles
// what it is given: (1 + 1) x 2 = 4, where the other order would give 3.
TEST(MM3DDisplayTreeNodeBlendShapeTest, DeformersChainOutermostFirst) {
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedBlendShapeArray outer(MakeArray<float>({1.0f}),
                                                  OneBlockTargets<MM3DVector>({{{1, 0, 0, 0}}}),
                                                  MM3DMeshTargets<MM3DVector>());
  auto* joint = new MM3DDisplayTreeNodeJoint;
  joint->SetScaleX(2);
  outer.AddChild(Owned(joint));
  MM3DSkinInfluences influences;
  influences.Append(UUGrowableArray<UUGrowableArray<MM3DSkinInfluence>>());
  influences[0].Append(UUGrowableArray<MM3DSkinInfluence>());
  influences[0][0].Append(MM3DSkinInfluence{0, MakeArray<MM3DSkinWeight>({{0, 1.0f}})});
  auto* inner = new MM3DDisplayTreeNodeIndexedSkin(
      std::move(influences), MakeArray<MM3DDisplayTreeNodeJoint*>({joint}),
      MakeArray(std::vector<MM3DMatrix>{MM3DMatrixIdentity}));
  outer.AddChild(Owned(inner));
  AddMesh(*inner, {{1, 0, 0, 1}});
  ExpectPositions(Draw(bench, outer).mPositions, {{4, 0, 0, 1}});
}

TEST(MM3DDisplayTreeNodeBlendShapeTest, BothKindsReadBackInBothByteOrders) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedBlendShapeArray dense(
      MakeArray<float>({0.25f, -2.0f}),
      OneBlockTargets<MM3DVector>({{{1, 2, 3, 0}}, {{4, 5, 6, 0}, {7, 8, 9, 0}}}),
      OneBlockTargets<MM3DVector>({{}, {{0, 1, 0, 0}}}));
  dense.AddChild(Owned(new MM3DDisplayTreeNodeIndexedBlendShapeArray));
  MM3DDisplayTreeNodeIndexedBlendShape sparse(
      MakeArray<float>({0.5f}),
      OneBlockTargets<MM3DBlendShapeDelta>({{{{1, 2, 3, 0}, 4}, {{5, 6, 7, 0}, 0xFFFF}}}),
      MM3DMeshTargets<MM3DBlendShapeDelta>());
  for (MM3DDisplayTreeNode* node :
       {static_cast<MM3DDisplayTreeNode*>(&dense), static_cast<MM3DDisplayTreeNode*>(&sparse)}) {
    Owned read = RoundTripInBothByteOrders(*node, database);
    ASSERT_FALSE(read.IsEmpty()) << node->GetKind();
    EXPECT_EQ(read->GetKind(), node->GetKind());
  }
  Owned read = RoundTripInBothByteOrders(sparse, database);
  ASSERT_FALSE(read.IsEmpty());
  const auto& copy = static_cast<MM3DDisplayTreeNodeIndexedBlendShape&>(*read);
  EXPECT_EQ(copy.GetPositionTargets()[0][0][0][1].mVertexIndex, 0xFFFF);
  EXPECT_EQ(copy.GetWeights()[0], 0.5f);
}

TEST(MM3DDisplayTreeNodeBlendShapeTest, WithoutWeightsTheStoredGeometryIsDrawn) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedBlendShape node;
  AddMesh(node, kStored);
  Owned read = RoundTripInBothByteOrders(node, database);
  ASSERT_FALSE(read.IsEmpty());
  MeshBench bench;
  ExpectPositions(Draw(bench, *read).mPositions, kStored);
}

TEST(MM3DDisplayTreeNodeBlendShapeTest, DamagedRecordsFail) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedBlendShapeArray node(MakeArray<float>({1.0f}),
                                                 OneBlockTargets<MM3DVector>({{{1, 2, 3, 0}}}),
                                                 MM3DMeshTargets<MM3DVector>());
  ExpectEveryTruncationFails(node, database);
  const std::vector<uint8_t> bytes = WriteTree(node, database);
  // After kind and reference index: the target count, which must be the
  // weight count; then the part, block and offset counts.
  const auto withField = [&bytes](size_t offset, int32_t value) {
    std::vector<uint8_t> changed = bytes;
    std::vector<uint8_t> field;
    AppendInt32(field, value);
    std::copy(field.begin(), field.end(), changed.begin() + static_cast<ptrdiff_t>(offset));
    return changed;
  };
  EXPECT_FALSE(ReadTree(bytes, database).IsEmpty());
  EXPECT_TRUE(ReadTree(withField(8, 2), database).IsEmpty());
  EXPECT_TRUE(ReadTree(withField(8, -1), database).IsEmpty());
  EXPECT_TRUE(ReadTree(withField(12, -1), database).IsEmpty());
  EXPECT_TRUE(ReadTree(withField(20, 0x10001), database).IsEmpty());
}

// Without targets no block holds anything, so a huge block count costs
// nothing and reads back as no blocks.
TEST(MM3DDisplayTreeNodeBlendShapeTest, BlocksWithoutTargetsAreNotMade) {
  std::vector<uint8_t> bytes;
  for (int32_t value :
       {int32_t{kMM3DNodeIndexedBlendShapeArray}, 0, 0, 1, 0x7FFFFFFF, 0, 0, 0, 0}) {
    AppendInt32(bytes, value);
  }
  MM3DModDatabase database;
  Owned read = ReadTree(bytes, database);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(
      static_cast<MM3DDisplayTreeNodeIndexedBlendShapeArray&>(*read).GetPositionTargets().Count(),
      0);
}
