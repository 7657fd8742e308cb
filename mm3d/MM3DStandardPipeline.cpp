#include "mm3d/MM3DStandardPipeline.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

#include <algorithm>

void MM3DStandardPipeline::FillRenderState(const MM3DMaterial& material,
                                           MM3DRenderStateBlock& block) {
  block.Reset();
  const bool opaque = material.IsOpaque();
  for (MM3DRenderStage& stage : block.mStages) stage = MM3DRenderStage();
  block.mStageCount = std::min(material.GetLayerCount(), kMM3DMaxStages);
  for (int32_t i = 0; i < block.mStageCount; ++i) {
    const MM3DMaterialTextureLayer& layer = material.GetLayer(i);
    MM3DRenderStage& stage = block.mStages[i];
    const bool writesDepth = i == 0 && opaque;
    stage.mDepthMode = writesDepth ? kMM3DDepthTestAndWrite : kMM3DDepthTestOnly;
    stage.mDepthFunction = writesDepth ? kMM3DDepthLess : kMM3DDepthLessEqual;
    stage.mOpaque = writesDepth ? kMM3DBlendingOff : kMM3DBlendingOn;
    stage.mBlendFactors = layer.GetBlend();
    if (!layer.GetTexture().IsEmpty()) stage.mTexture = layer.GetTexture().GetDriverTexture();
  }
}

void MM3DStandardPipeline::RenderPart(const MM3DIndexedMeshVertexData& vertexData,
                                      MM3DRenderContext& context, MM3DRenderer& renderer) {
  const MM3DMaterial* material = CurrentMaterial(context);
  if (material == nullptr) return;
  MM3DRenderStateBlock block;
  FillRenderState(*material, block);
  renderer.SetTextureStages(block);
  renderer.SetProjection(GetProjection());
  renderer.SetViewMatrix(ModelViewMatrix(context));
  renderer.SetCullMode(context.IsOpaque() ? kMM3DCullClockwise : kMM3DCullNone);
  MM3DVertexArrays arrays(vertexData);
  DeformPositions(context, arrays);
  if (material->IsLit()) DeformNormals(context, arrays);
  ShadeAndMap(context, arrays);
  renderer.DrawTriangles(arrays, 0, TriangleCount(arrays));
}
