#include "mm3d/MM3DPlaystationPipeline.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

void MM3DPlaystationPipeline::RenderPart(const MM3DIndexedMeshVertexData& vertexData,
                                         MM3DRenderContext& context, MM3DRenderer& renderer) {
  const MM3DMaterial* material = CurrentMaterial(context);
  if (material == nullptr) return;
  MM3DStandardPipeline::FillRenderState(*material, mBlock);
  const int32_t cullMode = context.IsOpaque() ? kMM3DCullClockwise : kMM3DCullNone;
  renderer.SetViewMatrix(ModelViewMatrix(context));
  renderer.SetTextureStages(mBlock);
  renderer.SetProjection(GetProjection());
  renderer.SetCullMode(cullMode);
  MM3DVertexArrays arrays(vertexData);
  DeformPositions(context, arrays);
  ShadeAndMap(context, arrays);
  renderer.SetCullMode(cullMode);
  renderer.DrawTriangles(arrays, 0, TriangleCount(arrays));
  mBlock.Reset();
}
