#pragma once
// The pipeline the system draws with: it derives the texture stages of the
// part's material, sends the renderer the state changes, runs the
// deformers, shaders and texture-coordinate mappers over a view of the
// block, and submits all of its triangles.

#include "mm3d/MM3DPipeline.h"

class MM3DMaterial;
class MM3DRenderStateBlock;

class MM3DStandardPipeline : public MM3DPipeline {
 public:
  void RenderPart(const MM3DIndexedMeshVertexData& vertexData, MM3DRenderContext& context,
                  MM3DRenderer& renderer) override;

  // One stage per texture layer. The first stage of an opaque material
  // tests and writes depth without blending; every other stage tests
  // without writing and blends. Stages beyond the layers are left at their
  // defaults.
  static void FillRenderState(const MM3DMaterial& material, MM3DRenderStateBlock& block);
};
