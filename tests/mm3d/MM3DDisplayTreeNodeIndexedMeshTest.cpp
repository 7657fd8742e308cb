#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"

#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeInstancedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"
#include "tests/mm3d/MM3DMeshSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;

// A deformer that only logs the calls of the mesh protocol.
class LoggingDeformer : public MM3DIndexedMeshDeformingNode {
 public:
  explicit LoggingDeformer(EventLog& log) : mLog(log) {}
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedShape; }
  void BeginFrame() override { mLog.push_back("frame begin"); }
  void SelectPart(int32_t part, int32_t block) override {
    mLog.push_back("select " + std::to_string(part) + " " + std::to_string(block));
  }
  void DeformPositions(MM3DVertexArrays&) override {}
  void DeformNormals(MM3DVertexArrays&) override {}
  void EndFrame() override { mLog.push_back("frame end"); }

 private:
  EventLog& mLog;
};

// A mapper that only logs when a part begins and ends it.
class LoggingMapper : public MM3DIndexedMeshTextureCoordinateMapper {
 public:
  explicit LoggingMapper(EventLog& log) : mLog(log) {}
  void Begin() override { mLog.push_back("mapper begin"); }
  void Generate(MM3DVertexArrays&) const override {}
  void End() override { mLog.push_back("mapper end"); }

 private:
  EventLog& mLog;
};

const std::vector<MM3DVector> kTriangle = {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}};

MM3DIndexedMeshPart MakePart(const UURefCount<MM3DMaterial>& material, int32_t blockCount) {
  MM3DIndexedMeshPart part;
  part.mMaterial = material;
  for (int32_t b = 0; b < blockCount; ++b) part.mBlocks.Append(MakeBlock(kTriangle));
  return part;
}

MM3DDisplayTreeNodeIndexedMesh* AddMesh(MM3DDisplayTreeNodeWithChildren& parent,
                                        const UURefCount<MM3DMaterial>& material) {
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part = MakePart(material, 1);
  mesh->AddPart(part);
  parent.AddChild(Owned(mesh));
  return mesh;
}

}  // namespace

TEST(MM3DDisplayTreeNodeIndexedMeshTest, RasterizingDrivesDeformersMaterialsAndBlocksInOrder) {
  MeshBench bench;
  EventLog& log = bench.mLog;
  UURefCount<MM3DMaterial> first(new LoggingMaterial(false, "first", &log));
  UURefCount<MM3DMaterial> second(new LoggingMaterial(false, "second", &log));
  MM3DDisplayTreeNodeIndexedMesh mesh;
  MM3DIndexedMeshPart part = MakePart(first, 2);
  mesh.AddPart(part);
  EXPECT_EQ(part.mBlocks.Count(), 0);
  MM3DIndexedMeshPart empty = MakePart(second, 0);
  mesh.AddPart(empty);
  LoggingDeformer deformer(log);
  bench.mContext.PushDeformer(&deformer);
  LoggingMapper mapper(log);
  bench.mContext.PushMapper(&mapper);
  bench.Render(mesh);
  const EventLog expected = {"frame begin", "first begin",  "mapper begin", "select 0 0",
                             "render",      "select 0 1",   "render",       "mapper end",
                             "first end",   "second begin", "mapper begin", "mapper end",
                             "second end",  "frame end"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(bench.mContext.GetShaders().Count(), 0);
  ASSERT_EQ(bench.mPipeline.mDrawn.size(), 2u);
  EXPECT_EQ(bench.mPipeline.mDrawn[0].mBlock, mesh.GetPart(0).mBlocks[0].Get());
  // Under no deformer the view is the stored block itself.
  EXPECT_EQ(bench.mPipeline.mDrawn[1].mPositionPointer,
            mesh.GetPart(0).mBlocks[1]->mPositions.Begin());
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, ShadersSeeTheEyeInModelSpace) {
  MeshBench bench;
  auto* material = new LoggingMaterial(false);
  UURefCount<MM3DMaterial> handle(material);
  MM3DDisplayTreeNodeTransform top(Translation(1, 2, 3));
  AddMesh(top, handle);
  bench.mPipeline.SetCameraMatrix(Translation(0, 0, 10));
  bench.Render(top);
  EXPECT_EQ(bench.mContext.GetModelMatrix(), Translation(1, 2, 3));
  EXPECT_FLOAT_EQ(material->mEye.mX, -1.0f);
  EXPECT_FLOAT_EQ(material->mEye.mY, -2.0f);
  EXPECT_FLOAT_EQ(material->mEye.mZ, -13.0f);
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, LightsFollowTheModelMatrixOnlyWhenItChanges) {
  MeshBench bench;
  FakeLight light(kMM3DPointLight);
  bench.mContext.PushLight(&light);
  MM3DDisplayTreeNodeTransform here(Translation(1, 0, 0));
  MM3DDisplayTreeNodeTransform there(Translation(2, 0, 0));
  AddMesh(here, MakeMaterial(false));
  AddMesh(here, MakeMaterial(false));
  AddMesh(there, MakeMaterial(false));
  const std::vector<bool> expectedChanges = {true, false, true};
  std::vector<bool> changes;
  for (MM3DDisplayTreeNode* node :
       {static_cast<MM3DDisplayTreeNode*>(here.GetChild(0)), here.GetChild(1), there.GetChild(0)}) {
    node->Render(bench.mContext, bench.mPipeline, bench.mRenderer);
    changes.push_back(light.mLastForce);
  }
  EXPECT_EQ(changes, expectedChanges);
  EXPECT_EQ(light.mTransforms, 3);
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, APartWithoutMaterialIsPassedOver) {
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedMesh mesh;
  MM3DIndexedMeshPart part = MakePart(UURefCount<MM3DMaterial>(), 1);
  mesh.AddPart(part);
  bench.Render(mesh);
  EXPECT_TRUE(bench.mPipeline.mDrawn.empty());
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, EditingPartsSharesMaterialsAndHandsBlocksOver) {
  UURefCount<MM3DMaterial> first = MakeMaterial(false);
  UURefCount<MM3DMaterial> second = MakeMaterial(true);
  MM3DDisplayTreeNodeIndexedMesh mesh;
  MM3DIndexedMeshPart part = MakePart(first, 1);
  const MM3DIndexedMeshVertexData* original = part.mBlocks[0].Get();
  mesh.AddPart(part);
  mesh.SetPartShader(0, second);
  EXPECT_EQ(mesh.GetPart(0).mMaterial, second);
  MM3DIndexedMeshPart replacement = MakePart(first, 2);
  mesh.SetPart(0, replacement);
  EXPECT_EQ(mesh.GetPart(0).mMaterial, first);
  EXPECT_EQ(mesh.GetPart(0).mBlocks.Count(), 2);
  ASSERT_EQ(replacement.mBlocks.Count(), 1);
  EXPECT_EQ(replacement.mBlocks[0].Get(), original);
  mesh.SetPartBlocks(0, std::move(replacement.mBlocks));
  EXPECT_EQ(mesh.GetPart(0).mBlocks[0].Get(), original);
  UUGrowableArray<MM3DIndexedMeshPart> parts;
  mesh.SwapParts(parts);
  EXPECT_EQ(mesh.GetPartCount(), 0);
  EXPECT_EQ(parts.Count(), 1);
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, PartsSharingAMaterialWriteOneIndex) {
  MM3DModDatabase database;
  UURefCount<MM3DMaterial> known = MakeMaterial(false);
  UURefCount<MM3DMaterial> shared = MakeMaterial(true);
  database.GetMaterials().Append(known);
  MM3DDisplayTreeNodeIndexedMesh mesh;
  for (const UURefCount<MM3DMaterial>& material : {shared, known, shared}) {
    MM3DIndexedMeshPart part = MakePart(material, 1);
    mesh.AddPart(part);
  }
  Owned read = RoundTripInBothByteOrders(mesh, database);
  ASSERT_EQ(database.GetMaterials().Count(), 2);
  EXPECT_EQ(database.GetMaterials()[1], shared);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeIndexedMesh&>(*read);
  ASSERT_EQ(copy.GetPartCount(), 3);
  EXPECT_EQ(copy.GetPart(0).mMaterial, shared);
  EXPECT_EQ(copy.GetPart(1).mMaterial, known);
  EXPECT_EQ(copy.GetPart(2).mBlocks[0]->mPositions.Count(), 3);
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, DamagedRecordsFail) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedMesh mesh;
  MM3DIndexedMeshPart part = MakePart(MakeMaterial(false), 1);
  mesh.AddPart(part);
  ExpectEveryTruncationFails(mesh, database);
  std::vector<uint8_t> bytes = WriteTree(mesh, database);
  // kind, reference index, part count, then the material index.
  std::vector<uint8_t> outside = bytes;
  outside[12] = 1;
  EXPECT_TRUE(ReadTree(outside, database).IsEmpty());
  std::vector<uint8_t> negative = bytes;
  negative[8] = 0xFF;
  negative[11] = 0xFF;
  EXPECT_TRUE(ReadTree(negative, database).IsEmpty());
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, AnInstanceDrawsItsTargetAtItsOwnPlace) {
  MeshBench bench;
  MM3DDisplayTreeNodeRoot root;
  auto* elsewhere = new MM3DDisplayTreeNodeTransform(Translation(0, 7, 0));
  root.AddChild(Owned(elsewhere));
  MM3DDisplayTreeNodeIndexedMesh* target = AddMesh(*elsewhere, MakeMaterial(false));
  auto* here = new MM3DDisplayTreeNodeTransform(Translation(5, 0, 0));
  root.AddChild(Owned(here));
  auto* instance = new MM3DDisplayTreeNodeInstancedMesh(target);
  here->AddChild(Owned(instance));
  instance->Render(bench.mContext, bench.mPipeline, bench.mRenderer);
  ASSERT_EQ(bench.mPipeline.mDrawn.size(), 1u);
  EXPECT_EQ(bench.mPipeline.mDrawn[0].mModelMatrix, Translation(5, 0, 0));

  MM3DModDatabase database;
  Owned read = RoundTripInBothByteOrders(root, database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeWithChildren&>(*read);
  auto* copiedTarget = static_cast<MM3DDisplayTreeNodeWithChildren*>(copy.GetChild(0))->GetChild(0);
  auto* copiedInstance = static_cast<MM3DDisplayTreeNodeInstancedMesh*>(
      static_cast<MM3DDisplayTreeNodeWithChildren*>(copy.GetChild(1))->GetChild(0));
  EXPECT_EQ(copiedInstance->GetTarget(), copiedTarget);
}

TEST(MM3DDisplayTreeNodeIndexedMeshTest, AnInstanceWithoutTargetDrawsNothingAndReadsBackEmpty) {
  MeshBench bench;
  MM3DDisplayTreeNodeInstancedMesh instance;
  bench.Render(instance);
  EXPECT_TRUE(bench.mPipeline.mDrawn.empty());
  EXPECT_TRUE(bench.mContext.HasModelMatrixChanged());
  MM3DModDatabase database;
  Owned read = RoundTripInBothByteOrders(instance, database);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(static_cast<MM3DDisplayTreeNodeInstancedMesh&>(*read).GetTarget(), nullptr);
}
