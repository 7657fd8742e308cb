#include "mm3d/MM3DDriverStateSync.h"

#include "mm3d/drivers/MM3DDriver.h"

void MM3DSyncCullMode(MM3DDriver& driver, int32_t mode) {
  if (driver.mStateCache.mCullMode == mode) return;
  driver.mStateCache.mCullMode = mode;
  driver.SetCullMode(mode);
}

void MM3DSyncDepthMode(MM3DDriver& driver, int32_t mode) {
  if (driver.mStateCache.mDepthMode == mode) return;
  driver.mStateCache.mDepthMode = mode;
  driver.SetDepthMode(mode);
}

void MM3DSyncViewport(MM3DDriver& driver, const UURect& viewport) {
  if (driver.mViewport == viewport) return;
  driver.mViewport = viewport;
  driver.SetViewport(viewport);
}

void MM3DSyncDepthRange(MM3DDriver& driver, const MM3DDepthRange& range) {
  if (driver.mDepthRange == range) return;
  driver.mDepthRange = range;
  driver.SetDepthRange(range);
}

void MM3DSyncProjection(MM3DDriver& driver, const MM3DProjectionVolume& volume) {
  if (driver.mProjection == volume) return;
  driver.mProjection = volume;
  driver.SetProjection(volume);
}

void MM3DSyncViewMatrix(MM3DDriver& driver, const MM3DMatrix& matrix) {
  if (driver.mViewMatrix == matrix) return;
  driver.mViewMatrix = matrix;
  driver.SetViewMatrix(matrix);
}
