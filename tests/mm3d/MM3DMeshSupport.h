#pragma once
// Stand-ins for the mesh and deformer tests (and the display-tree fuzzer):
// a pipeline that deforms each block it is given as the engine's pipeline
// does and records the result, a material that logs its calls, a log the
// stand-ins share, blocks made from positions and normals, and tree
// records written and read with their delayed-reference table in either
// byte order.

#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DRenderer.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using EventLog = std::vector<std::string>;

// What one block looked like after the deformers in scope.
struct DrawnBlock {
  const MM3DIndexedMeshVertexData* mBlock;
  MM3DMatrix mModelMatrix;
  std::vector<MM3DVector> mPositions;
  std::vector<MM3DVector> mNormals;
  // Where the view pointed after deformation.
  const MM3DVector* mPositionPointer;
  const MM3DVector* mNormalPointer;
};

// Builds the view of each block, runs every deformer's positions and, for a
// lit material, every deformer's normals, and records the view.
class DeformingPipeline : public MM3DPipeline {
 public:
  explicit DeformingPipeline(EventLog* log = nullptr) : mLog(log) {}

  void RenderPart(const MM3DIndexedMeshVertexData& block, MM3DRenderContext& context,
                  MM3DRenderer&) override {
    MM3DVertexArrays arrays(block);
    for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
      deformer->DeformPositions(arrays);
    }
    auto* material = dynamic_cast<MM3DMaterial*>(context.GetCurrentShader());
    if (material != nullptr && material->IsLit()) {
      for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
        deformer->DeformNormals(arrays);
      }
    }
    if (mLog != nullptr) mLog->push_back("render");
    mDrawn.push_back({&block, context.GetModelMatrix(), Copy(arrays.mPositions, arrays),
                      Copy(arrays.mNormals, arrays), arrays.mPositions, arrays.mNormals});
  }

  std::vector<DrawnBlock> mDrawn;

 private:
  static std::vector<MM3DVector> Copy(const MM3DVector* vectors, const MM3DVertexArrays& arrays) {
    if (vectors == nullptr) return {};
    return std::vector<MM3DVector>(vectors, vectors + arrays.mVertexCount);
  }

  EventLog* mLog;
};

class QuietRenderer : public MM3DRenderer {};

// A material that draws nothing and logs "<name> begin" and "<name> end";
// the eye point of its last Begin is kept.
class LoggingMaterial : public MM3DMaterial {
 public:
  LoggingMaterial(bool lit, std::string name = "material", EventLog* log = nullptr)
      : mLit(lit), mName(std::move(name)), mLog(log) {}

  MM3DMaterialKind GetKind() const override { return kMM3DMaterialVertexColor; }
  bool IsLit() const override { return mLit; }
  void Shade(MM3DVertexArrays&) override {}
  void Begin(MM3DRenderContext& context, const MM3DVector& eye) override {
    MM3DMaterial::Begin(context, eye);
    mEye = eye;
    if (mLog != nullptr) mLog->push_back(mName + " begin");
  }
  void End() override {
    MM3DMaterial::End();
    if (mLog != nullptr) mLog->push_back(mName + " end");
  }

  MM3DVector mEye{0, 0, 0, 0};

 private:
  bool mLit;
  std::string mName;
  EventLog* mLog;
};

inline UURefCount<MM3DMaterial> MakeMaterial(bool lit) {
  return UURefCount<MM3DMaterial>(new LoggingMaterial(lit));
}

inline UURefCount<MM3DIndexedMeshVertexData> MakeBlock(
    const std::vector<MM3DVector>& positions, const std::vector<MM3DVector>& normals = {}) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  for (const MM3DVector& position : positions) block->mPositions.Append(position);
  for (const MM3DVector& normal : normals) block->mNormals.Append(normal);
  for (int32_t i = 0; i + 2 < static_cast<int32_t>(positions.size()); i += 3) {
    for (int32_t k = 0; k < 3; ++k) block->mIndices.Append(static_cast<uint16_t>(i + k));
  }
  return block;
}

template <typename T>
UUGrowableArray<T> MakeArray(const std::vector<T>& values) {
  UUGrowableArray<T> array;
  for (const T& value : values) array.Append(value);
  return array;
}

// A context, a deforming pipeline and a renderer, with the process-wide
// scratch arrays made for the test and freed after it.
struct MeshBench {
  MeshBench() { MM3DCreateDeformerScratchArrays(); }
  ~MeshBench() { MM3DFreeDeformerScratchArrays(); }
  MeshBench(const MeshBench&) = delete;
  MeshBench& operator=(const MeshBench&) = delete;

  void Render(MM3DDisplayTreeNode& node) { node.Render(mContext, mPipeline, mRenderer); }

  EventLog mLog;
  MM3DRenderContext mContext{true};
  DeformingPipeline mPipeline{&mLog};
  QuietRenderer mRenderer;
};

// A tree's node record followed by its delayed-reference table.
inline std::vector<uint8_t> WriteTree(MM3DDisplayTreeNode& node, MM3DModDatabase& database,
                                      UUByteOrder order = kUUNativeByteOrder) {
  ByteWriter writer;
  writer.SetWriteByteOrder(order);
  MM3DDatabase::ResetReferenceTables();
  if (!node.WriteNode(writer, database) || !MM3DDatabase::WriteDelayedReferenceTable(writer)) {
    return {};
  }
  return writer.mBytes;
}

// The tree read back with its references resolved; empty unless every
// byte was read.
inline UUOwned<MM3DDisplayTreeNode> ReadTree(const std::vector<uint8_t>& bytes,
                                             MM3DModDatabase& database,
                                             UUByteOrder order = kUUNativeByteOrder) {
  MM3DDatabase::ResetReferenceTables();
  ByteReader reader(bytes);
  reader.SetByteOrder(order);
  UUOwned<MM3DDisplayTreeNode> holder;
  const bool read = MM3DReadDisplayTreeNode(reader, database, holder);
  const bool resolved = MM3DDatabase::ResolveDelayedReferences(reader);
  if (!read || !resolved || reader.Remaining() != 0) return {};
  return holder;
}

// Writes the tree in either byte order, reads each back and expects the
// little-endian record of the first again; the tree read from the
// big-endian record, or empty when a step failed.
inline UUOwned<MM3DDisplayTreeNode> RoundTripInBothByteOrders(MM3DDisplayTreeNode& node,
                                                              MM3DModDatabase& database) {
  const std::vector<uint8_t> little = WriteTree(node, database);
  EXPECT_FALSE(little.empty());
  UUOwned<MM3DDisplayTreeNode> read;
  for (UUByteOrder order : {kUUNativeByteOrder, kUUSwappedByteOrder}) {
    const std::vector<uint8_t> bytes = WriteTree(node, database, order);
    EXPECT_EQ(bytes.size(), little.size());
    read = ReadTree(bytes, database, order);
    if (read.IsEmpty()) {
      ADD_FAILURE() << "byte order " << order;
      return read;
    }
    EXPECT_EQ(WriteTree(*read, database), little) << "byte order " << order;
  }
  return read;
}

// Every shorter prefix of a tree's record fails to read.
inline void ExpectEveryTruncationFails(MM3DDisplayTreeNode& node, MM3DModDatabase& database) {
  const std::vector<uint8_t> bytes = WriteTree(node, database);
  for (size_t size = 0; size < bytes.size(); ++size) {
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
    EXPECT_TRUE(ReadTree(prefix, database).IsEmpty()) << size << " of " << bytes.size();
  }
}

// Targets (or shapes) of one part of one block.
template <typename T>
MM3DMeshTargets<T> OneBlockTargets(const std::vector<std::vector<T>>& targets) {
  MM3DTargetArrays<T> block;
  for (const std::vector<T>& target : targets) block.Append(MakeArray(target));
  UUGrowableArray<MM3DTargetArrays<T>> part;
  part.Append(std::move(block));
  MM3DMeshTargets<T> all;
  all.Append(std::move(part));
  return all;
}
