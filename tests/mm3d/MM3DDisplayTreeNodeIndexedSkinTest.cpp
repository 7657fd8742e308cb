#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"

#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"
#include "tests/mm3d/MM3DMeshSupport.h"
#include "tests/mm3d/MM3DRendererSupport.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;

struct InfluenceSpec {
  int32_t mJoint;
  std::vector<MM3DSkinWeight> mWeights;
};

// One part of one block with these influences.
MM3DSkinInfluences OneBlock(const std::vector<InfluenceSpec>& influences) {
  UUGrowableArray<MM3DSkinInfluence> block;
  for (const InfluenceSpec& influence : influences) {
    block.Append(MM3DSkinInfluence{influence.mJoint, MakeArray(influence.mWeights)});
  }
  UUGrowableArray<UUGrowableArray<MM3DSkinInfluence>> part;
  part.Append(std::move(block));
  MM3DSkinInfluences all;
  all.Append(std::move(part));
  return all;
}

void ExpectVector(const MM3DVector& actual, const MM3DVector& expected) {
  EXPECT_NEAR(actual.mX, expected.mX, 1e-5f);
  EXPECT_NEAR(actual.mY, expected.mY, 1e-5f);
  EXPECT_NEAR(actual.mZ, expected.mZ, 1e-5f);
  EXPECT_EQ(actual.mW, expected.mW);
}

// An arm along x: the shoulder joint at the origin, the elbow joint 2
// further out, bound straight. The skin holds one lit mesh of one block.
class MM3DDisplayTreeNodeIndexedSkinTest : public ::testing::Test {
 protected:
  MM3DDisplayTreeNodeIndexedSkinTest() {
    mShoulder = new MM3DDisplayTreeNodeJoint;
    mRoot.AddChild(Owned(mShoulder));
    mElbow = new MM3DDisplayTreeNodeJoint;
    mElbow->SetTranslationX(2);
    mShoulder->AddChild(Owned(mElbow));
  }

  MM3DDisplayTreeNodeIndexedSkin* AddSkin(MM3DSkinInfluences&& influences,
                                          const std::vector<MM3DDisplayTreeNodeJoint*>& joints,
                                          const std::vector<MM3DMatrix>& binds,
                                          const std::vector<MM3DVector>& positions,
                                          const std::vector<MM3DVector>& normals = {},
                                          UURefCount<MM3DMaterial> material = MakeMaterial(true)) {
    auto* skin = new MM3DDisplayTreeNodeIndexedSkin(std::move(influences), MakeArray(joints),
                                                    MakeArray(binds));
    mRoot.AddChild(Owned(skin));
    auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
    MM3DIndexedMeshPart part;
    part.mMaterial = material;
    part.mBlocks.Append(MakeBlock(positions, normals));
    mesh->AddPart(part);
    skin->AddChild(Owned(mesh));
    return skin;
  }

  const DrawnBlock& Draw() {
    mBench.Render(mRoot);
    EXPECT_EQ(mBench.mPipeline.mDrawn.size(), 1u);
    return mBench.mPipeline.mDrawn.back();
  }

  MeshBench mBench;
  MM3DDisplayTreeNodeRoot mRoot;
  MM3DDisplayTreeNodeJoint* mShoulder;
  MM3DDisplayTreeNodeJoint* mElbow;
};

}  // namespace

// The elbow bends a quarter turn: the forearm, bound 2 out along x, turns
// to point along y. Worked by hand:
//   (1, 0, 0), shoulder 1:         stays (1, 0, 0)
//   (3, 0, 0), elbow 1:            bind (1, 0, 0), turned (0, 1, 0), + (2, 0, 0) = (2, 1, 0)
//   (2.5, 0, 0), half and half:    (2.5, 0, 0) and (2, 0.5, 0) give (2.25, 0.25, 0)
// and the forearm's up normal (0, 1, 0) turns to (-1, 0, 0).
TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, ABentArmMovesItsVerticesByTheirJoints) {
  mElbow->SetRotationZ(std::numbers::pi_v<float> / 2);
  AddSkin(OneBlock({{0, {{0, 1.0f}, {2, 0.5f}}}, {1, {{1, 1.0f}, {2, 0.5f}}}}), {mShoulder, mElbow},
          {MM3DMatrixIdentity, Translation(-2, 0, 0)},
          {{1, 0, 0, 1}, {3, 0, 0, 1}, {2.5f, 0, 0, 1}},
          {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}});
  const DrawnBlock& drawn = Draw();
  ASSERT_EQ(drawn.mPositions.size(), 3u);
  ExpectVector(drawn.mPositions[0], {1, 0, 0, 1});
  ExpectVector(drawn.mPositions[1], {2, 1, 0, 1});
  ExpectVector(drawn.mPositions[2], {2.25f, 0.25f, 0, 1});
  ExpectVector(drawn.mNormals[0], {0, 1, 0, 0});
  ExpectVector(drawn.mNormals[1], {-1, 0, 0, 0});
  EXPECT_EQ(drawn.mModelMatrix, MM3DMatrixIdentity);
}

// The same arm drawn through the engine's pipeline and renderer: the
// driver receives the forearm's corner where the elbow took it.
TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, TheEnginesPipelineHandsTheDriverTheDeformedArm) {
  mElbow->SetRotationZ(std::numbers::pi_v<float> / 2);
  UURefCount<MM3DMaterial> material(new MM3DMaterialVertexColor);
  material->AddTextureLayer(MM3DMaterialTextureLayer(MM3DBlendFactors(), MM3DTextureHandle()));
  AddSkin(OneBlock({{0, {{1, 1.0f}, {2, 0.5f}}}, {1, {{0, 1.0f}, {2, 0.5f}}}}), {mShoulder, mElbow},
          {MM3DMatrixIdentity, Translation(-2, 0, 0)},
          {{3, 0, 0, 1}, {1, 0, 0, 1}, {2.5f, 0, 0, 1}}, {}, material);
  auto* driver = new DrawRecordingDriver;
  MM3DStandardRenderer renderer{UURefCount<MM3DDriver>(driver)};
  MM3DStandardPipeline pipeline;
  renderer.BeginFrame();
  mRoot.Render(mBench.mContext, pipeline, renderer);
  renderer.EndFrame();
  const std::vector<float> tags = driver->DrawnTags();
  ASSERT_EQ(tags.size(), 1u);
  EXPECT_NEAR(tags[0], 2.0f, 1e-5f);
}

TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, WeightsAreUsedAsStored) {
  // Bound at (4, 0, 0) for both joints, neither of which moves.
  AddSkin(OneBlock({{0, {{0, 0.5f}, {1, 0.5f}}}, {1, {{0, 0.5f}, {1, 0.25f}}}}),
          {mShoulder, mElbow}, {Translation(4, 0, 0), Translation(2, 0, 0)},
          {{0, 0, 0, 1}, {0, 0, 0, 1}, {9, 9, 9, 1}});
  const DrawnBlock& drawn = Draw();
  ExpectVector(drawn.mPositions[0], {4, 0, 0, 1});
  ExpectVector(drawn.mPositions[1], {3, 0, 0, 1});
  // No influence: the origin.
  ExpectVector(drawn.mPositions[2], {0, 0, 0, 1});
}

TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, IdentityJointsKeepPositionsAndRenormaliseNormals) {
  AddSkin(OneBlock({{0, {{0, 1.0f}}}}), {mShoulder}, {MM3DMatrixIdentity}, {{1, 2, 3, 1}},
          {{0, 0, 2, 0}});
  const DrawnBlock& drawn = Draw();
  ExpectVector(drawn.mPositions[0], {1, 2, 3, 1});
  ExpectVector(drawn.mNormals[0], {0, 0, 1, 0});
}

TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, ASkinWithoutJointsMovesEveryVertexToTheOrigin) {
  MM3DDisplayTreeNodeIndexedSkin* skin =
      AddSkin(OneBlock({}), {}, {}, {{1, 2, 3, 1}, {4, 5, 6, 1}});
  skin->BeginFrame();
  EXPECT_TRUE(skin->IsInFrame());
  skin->EndFrame();
  const DrawnBlock& drawn = Draw();
  ExpectVector(drawn.mPositions[0], {0, 0, 0, 1});
  ExpectVector(drawn.mPositions[1], {0, 0, 0, 1});
}

// Whatever cannot be followed leaves the vertex, or the whole block, as
// stored: a joint the file never resolved, a block the skin has no
// influences for, fewer bind matrices than joints, and a weight for a
// vertex beyond the block or of a joint beyond the list.
TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, WhatLiesOutsideTheArraysLeavesTheMeshUndeformed) {
  const std::vector<MM3DVector> stored = {{1, 2, 3, 1}};
  AddSkin(OneBlock({{0, {{0, 1.0f}}}}), {nullptr}, {Translation(5, 0, 0)}, stored);
  AddSkin(MM3DSkinInfluences(), {mShoulder}, {Translation(5, 0, 0)}, stored);
  AddSkin(OneBlock({{0, {{0, 1.0f}}}}), {mShoulder}, {}, stored);
  AddSkin(OneBlock({{0, {{0, 1.0f}, {7, 1.0f}}}, {1, {{0, 1.0f}}}, {-1, {{0, 1.0f}}}}), {mShoulder},
          {Translation(5, 0, 0)}, stored);
  mBench.Render(mRoot);
  const std::vector<DrawnBlock>& drawn = mBench.mPipeline.mDrawn;
  ASSERT_EQ(drawn.size(), 4u);
  ExpectVector(drawn[0].mPositions[0], stored[0]);
  ExpectVector(drawn[1].mPositions[0], stored[0]);
  ExpectVector(drawn[2].mPositions[0], stored[0]);
  ExpectVector(drawn[3].mPositions[0], {6, 2, 3, 1});
}

// A skin inside another bends what the outer one bent, each by its own
// joints: the outer moves (1, 2, 3) out to (6, 2, 3), then the elbow,
// turned a quarter about z and 2 out, takes it to (0, 6, 3) and turns the
// up normal to (-1, 0, 0).
TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, NestedSkinsDeformInTurnEachByItsOwnJoints) {
  mElbow->SetRotationZ(std::numbers::pi_v<float> / 2);
  auto* outer = new MM3DDisplayTreeNodeIndexedSkin(
      OneBlock({{0, {{0, 1.0f}}}}), MakeArray<MM3DDisplayTreeNodeJoint*>({mShoulder}),
      MakeArray(std::vector<MM3DMatrix>{Translation(5, 0, 0)}));
  mRoot.AddChild(Owned(outer));
  auto* inner = new MM3DDisplayTreeNodeIndexedSkin(
      OneBlock({{0, {{0, 1.0f}}}}), MakeArray<MM3DDisplayTreeNodeJoint*>({mElbow}),
      MakeArray(std::vector<MM3DMatrix>{MM3DMatrixIdentity}));
  outer->AddChild(Owned(inner));
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = MakeMaterial(true);
  part.mBlocks.Append(MakeBlock({{1, 2, 3, 1}}, {{0, 1, 0, 0}}));
  mesh->AddPart(part);
  inner->AddChild(Owned(mesh));
  const DrawnBlock& drawn = Draw();
  ExpectVector(drawn.mPositions[0], {0, 6, 3, 1});
  // Renormalised twice with the fast inverse square root.
  EXPECT_NEAR(drawn.mNormals[0].mX, -1.0f, 1e-4f);
  EXPECT_NEAR(drawn.mNormals[0].mY, 0.0f, 1e-4f);
}

TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, ASkinIsAtTheOriginWhateverItsParents) {
  MM3DDisplayTreeNodeTransform parent(Translation(3, 4, 5));
  auto* skin = new MM3DDisplayTreeNodeIndexedSkin;
  parent.AddChild(Owned(skin));
  auto* child = new MM3DDisplayTreeNodeLocator;
  skin->AddChild(Owned(child));
  MM3DMatrix world;
  child->GetWorldMatrix(world);
  EXPECT_EQ(world, MM3DMatrixIdentity);
}

TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, ASkinReadsBackWithItsJointsInBothByteOrders) {
  AddSkin(OneBlock({{1, {{0, 0.75f}, {1, -0.5f}}}, {0, {}}}), {mElbow, mShoulder},
          {Translation(1, 2, 3), Translation(4, 5, 6)}, {{1, 0, 0, 1}, {2, 0, 0, 1}});
  mRoot.AddChild(Owned(new MM3DDisplayTreeNodeIndexedSkin));
  MM3DModDatabase database;
  Owned read = RoundTripInBothByteOrders(mRoot, database);
  ASSERT_FALSE(read.IsEmpty());
  auto& root = static_cast<MM3DDisplayTreeNodeWithChildren&>(*read);
  auto& skin = static_cast<MM3DDisplayTreeNodeIndexedSkin&>(*root.GetChild(1));
  auto& shoulder = static_cast<MM3DDisplayTreeNodeWithChildren&>(*root.GetChild(0));
  ASSERT_EQ(skin.GetJointCount(), 2);
  EXPECT_EQ(skin.GetJoint(0), shoulder.GetChild(0));
  EXPECT_EQ(skin.GetJoint(1), &shoulder);
  EXPECT_EQ(skin.GetInfluences()[0][0][0].mWeights[1].mWeight, -0.5f);
  EXPECT_EQ(skin.GetChildCount(), 1);
  auto& empty = static_cast<MM3DDisplayTreeNodeIndexedSkin&>(*root.GetChild(2));
  EXPECT_EQ(empty.GetJointCount(), 0);
  EXPECT_EQ(empty.GetChildCount(), 0);
}

// Hand-made records of a skin without children: its fields after the
// node's kind and reference index.
// Joint indexes outside the list and too few bind matrices are kept (the
// drawing skips them) and write back the same bytes; bad counts fail.
TEST_F(MM3DDisplayTreeNodeIndexedSkinTest, RecordsOutsideTheirTablesReadBackAndBadCountsFail) {
  const auto record = [](int32_t jointIndex, int32_t jointCount, int32_t matrixCount) {
    std::vector<uint8_t> bytes;
    for (int32_t value : {int32_t{kMM3DNodeIndexedSkin}, 0, 1, 1, 1, jointIndex, 0, jointCount}) {
      AppendInt32(bytes, value);
    }
    for (int32_t j = 0; j < jointCount; ++j) AppendInt32(bytes, -1);
    AppendInt32(bytes, matrixCount);
    for (int32_t m = 0; m < 16 * matrixCount; ++m) AppendFloat(bytes, 0.0f);
    AppendInt32(bytes, 0);  // children
    AppendInt32(bytes, 0);  // delayed-reference table
    return bytes;
  };
  MM3DModDatabase database;
  for (const std::vector<uint8_t>& bytes :
       {record(0, 1, 1), record(1, 1, 1), record(-1, 1, 1), record(0, 1, 0)}) {
    Owned read = ReadTree(bytes, database);
    ASSERT_FALSE(read.IsEmpty());
    EXPECT_EQ(WriteTree(*read, database), bytes);
  }
  EXPECT_TRUE(ReadTree(record(0, -1, 0), database).IsEmpty());
  MM3DDisplayTreeNodeIndexedSkin skin(OneBlock({{0, {{0, 1.0f}}}}),
                                      MakeArray<MM3DDisplayTreeNodeJoint*>({nullptr}),
                                      MakeArray(std::vector<MM3DMatrix>{MM3DMatrixIdentity}));
  ExpectEveryTruncationFails(skin, database);
}
