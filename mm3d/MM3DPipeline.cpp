#include "mm3d/MM3DPipeline.h"

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
