#include "mm3d/MM3DDisplayTreeNodeRasterizable.h"

#include "mm3d/MM3DMatrix.h"

void MM3DDisplayTreeNodeRasterizable::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                             MM3DRenderer& renderer) {
  MM3DMatrix world;
  GetWorldMatrix(world);
  Rasterize(context, pipeline, renderer, world);
}
