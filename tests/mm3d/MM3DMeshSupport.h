#pragma once
// Stand-ins for the mesh and deformer tests: a material that logs its
// calls into the log the deforming pipeline shares, a bench with the
// scratch arrays, and tree records written and read with their
// delayed-reference table in either byte order.

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
#include "tests/mm3d/MM3DDeformingPipeline.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
  NullRenderer mRenderer;
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
