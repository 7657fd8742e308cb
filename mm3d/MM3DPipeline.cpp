#include "mm3d/MM3DPipeline.h"

#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DRenderContext.h"

bool MM3DPipeline::SetProjection(const MM3DProjectionVolume& volume) {
  if (volume == mProjection) return true;
  mProjection = volume;
  return false;
}

bool MM3DPipeline::SetCameraMatrix(const MM3DMatrix& matrix) {
  if (matrix == mCameraMatrix) return true;
  mCameraMatrix = matrix;
  return false;
}

const MM3DMaterial* MM3DPipeline::CurrentMaterial(const MM3DRenderContext& context) {
  return dynamic_cast<const MM3DMaterial*>(context.GetCurrentShader());
}

MM3DMatrix MM3DPipeline::ModelViewMatrix(const MM3DRenderContext& context) const {
  MM3DMatrix modelView;
  MM3DMatrixMultiply(modelView, context.GetModelMatrix(), mCameraMatrix);
  return modelView;
}

void MM3DPipeline::DeformPositions(const MM3DRenderContext& context, MM3DVertexArrays& arrays) {
  for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
    deformer->DeformPositions(arrays);
  }
}

void MM3DPipeline::DeformNormals(const MM3DRenderContext& context, MM3DVertexArrays& arrays) {
  for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) deformer->DeformNormals(arrays);
}

void MM3DPipeline::ShadeAndMap(const MM3DRenderContext& context, MM3DVertexArrays& arrays) {
  for (MM3DIndexedMeshShader* shader : context.GetShaders()) shader->Shade(arrays);
  for (MM3DIndexedMeshTextureCoordinateMapper* mapper : context.GetMappers()) {
    mapper->Generate(arrays);
  }
}

int32_t MM3DPipeline::TriangleCount(const MM3DVertexArrays& arrays) {
  return arrays.mIndexCount / 3;
}
