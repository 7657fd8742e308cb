#include "mm3d/MM3DDisplayTreeNodeInstancedMesh.h"

#include "mm3d/MM3DMatrix.h"

void MM3DDisplayTreeNodeInstancedMesh::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                              MM3DRenderer& renderer) {
  MM3DDisplayTreeNodeRasterizable* target = mTarget.Get();
  if (target == nullptr) return;
  MM3DMatrix world;
  GetWorldMatrix(world);
  target->Rasterize(context, pipeline, renderer, world);
}

bool MM3DDisplayTreeNodeInstancedMesh::Write(UUWriter& writer, MM3DModDatabase& /*database*/) {
  return mTarget.Write(writer);
}

bool MM3DDisplayTreeNodeInstancedMesh::Read(UUReader& reader, MM3DModDatabase& /*database*/) {
  return mTarget.Read(reader);
}
