#pragma once
// Stand-ins for the display-tree tests: a light with a fixed kind and
// ambient colour that counts its transforms, a pipeline and renderer that
// draw nothing, a probe node that records what the render context holds
// when it is drawn, and helpers that write and read node records.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DRenderer.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdint>
#include <vector>

class FakeLight : public MM3DLight {
 public:
  explicit FakeLight(MM3DLightKind kind, MM3DColor ambient = {0, 0, 0, 1})
      : mKind(kind), mAmbient(ambient) {}

  void Transform(const MM3DMatrix&, bool force) override {
    ++mTransforms;
    mLastForce = force;
  }
  void Illuminate(const MM3DVector&, MM3DVector&, MM3DColor&) override {}
  void GetAmbient(MM3DColor& out) const override { out = mAmbient; }
  void ShadeVertex() override {}
  MM3DLightKind GetKind() const override { return mKind; }

  MM3DLightKind mKind;
  MM3DColor mAmbient;
  int32_t mTransforms = 0;
  bool mLastForce = false;
};

class NullPipeline : public MM3DPipeline {
 public:
  void RenderPart(const MM3DIndexedMeshVertexData&, MM3DRenderContext&, MM3DRenderer&) override {}
};

class NullRenderer : public MM3DRenderer {
 protected:
  void RegisterState() override {}
  void DrawSorted() override {}
  void SubmitTriangles(const MM3DVertexArrays&, int32_t, int32_t) override {}
  void Flush() override {}
};

// What the context held when a probe was drawn.
struct ProbeSighting {
  std::vector<MM3DLight*> mLights;
  MM3DColor mAmbient;
  bool mAllInside;
};

// A node that draws nothing but notes the context each time it is drawn.
class ProbeNode : public MM3DDisplayTreeNodeLocator {
 public:
  void Render(MM3DRenderContext& context, MM3DPipeline&, MM3DRenderer&) override {
    const auto& lights = context.GetLights();
    mSightings.push_back({std::vector<MM3DLight*>(lights.begin(), lights.end()),
                          context.GetAmbientColor(), context.IsAllInside()});
  }

  std::vector<ProbeSighting> mSightings;
};

// Draws a tree with a default context, pipeline and renderer.
struct RenderBench {
  void Render(MM3DDisplayTreeNode& node) { node.Render(mContext, mPipeline, mRenderer); }

  MM3DRenderContext mContext{true};
  NullPipeline mPipeline;
  NullRenderer mRenderer;
};

inline std::vector<uint8_t> WriteNodeRecord(MM3DDisplayTreeNode& node, MM3DModDatabase& database) {
  ByteWriter writer;
  MM3DDatabase::ResetReferenceTables();
  if (!node.WriteNode(writer, database)) return {};
  return writer.mBytes;
}

// Reads one node record from fresh tables; the stream must end with it.
inline UUOwned<MM3DDisplayTreeNode> ReadNodeRecord(const std::vector<uint8_t>& bytes,
                                                   MM3DModDatabase& database) {
  MM3DDatabase::ResetReferenceTables();
  ByteReader reader(bytes);
  UUOwned<MM3DDisplayTreeNode> holder;
  if (!MM3DReadDisplayTreeNode(reader, database, holder) || reader.Remaining() != 0) return {};
  return holder;
}

inline MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  return matrix;
}

inline MM3DVector WorldTranslation(MM3DDisplayTreeNode& node) {
  MM3DMatrix world;
  node.GetWorldMatrix(world);
  return MM3DVector(world.mElement[3][0], world.mElement[3][1], world.mElement[3][2], 1.0f);
}
