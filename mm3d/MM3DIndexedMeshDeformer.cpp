#include "mm3d/MM3DIndexedMeshDeformer.h"

#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DRenderContext.h"

void MM3DIndexedMeshDeformingNode::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                          MM3DRenderer& renderer) {
  context.PushDeformer(this);
  MM3DDisplayTreeNodeWithChildren::Render(context, pipeline, renderer);
  context.RemoveDeformer(this);
}

void MM3DIndexedMeshDeformingNode::SelectPart(int32_t partIndex, int32_t blockIndex) {
  mPartIndex = partIndex;
  mBlockIndex = blockIndex;
}

void MM3DNormalizeNormals(MM3DVector* normals, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    MM3DVector& normal = normals[i];
    float lengthSquared = normal.mX * normal.mX + normal.mY * normal.mY + normal.mZ * normal.mZ;
    if (lengthSquared == 0.0f) continue;
    float scale = MM3DFastInverseSqrt(lengthSquared);
    normal.mX *= scale;
    normal.mY *= scale;
    normal.mZ *= scale;
  }
}
