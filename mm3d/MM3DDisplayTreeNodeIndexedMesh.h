#pragma once
// The one concrete mesh: an indexed triangle mesh split into parts, one per
// material, each part drawn from one or more blocks of vertex data. Blocks
// and materials are shared through counted handles. Rasterizing binds the
// render context, the active deformers and each part's material and hands
// every block to the view's pipeline.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDisplayTreeNodeRasterizable.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"

#include <cstdint>

using MM3DVertexDataBlocks = UUGrowableArray<UURefCount<MM3DIndexedMeshVertexData>>;

struct MM3DIndexedMeshPart {
  UURefCount<MM3DMaterial> mMaterial;
  // Drawn in array order.
  MM3DVertexDataBlocks mBlocks;
};

class MM3DDisplayTreeNodeIndexedMesh : public MM3DDisplayTreeNodeRasterizable {
 public:
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedMesh; }
  // Sets the model matrix and the lights' model space, then draws every
  // block of every part under the deformers in scope. A part without a
  // material has nothing to shade with and is passed over.
  void Rasterize(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer,
                 const MM3DMatrix& world) override;
  // The part count, then per part its material's index in the database's
  // material table (appended when absent), the block count and each block.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  // The part index of the editing operations must be valid.
  void SetPartShader(int32_t partIndex, const UURefCount<MM3DMaterial>& material);
  // The part shares the given part's material and exchanges blocks with
  // it, so the caller receives the old blocks.
  void SetPart(int32_t partIndex, MM3DIndexedMeshPart& part);
  // Appends a part with the given material; the caller's blocks move in and
  // the caller keeps an empty array.
  void AddPart(MM3DIndexedMeshPart& part);
  void SwapParts(UUGrowableArray<MM3DIndexedMeshPart>& parts) { mParts.Swap(parts); }
  // The part takes the blocks, releasing its old ones.
  void SetPartBlocks(int32_t partIndex, MM3DVertexDataBlocks&& blocks);

  int32_t GetPartCount() const { return mParts.Count(); }
  const MM3DIndexedMeshPart& GetPart(int32_t partIndex) const { return mParts[partIndex]; }

 private:
  void RasterizePart(int32_t partIndex, MM3DRenderContext& context, MM3DPipeline& pipeline,
                     MM3DRenderer& renderer, const MM3DVector& eye);

  UUGrowableArray<MM3DIndexedMeshPart> mParts;
};
