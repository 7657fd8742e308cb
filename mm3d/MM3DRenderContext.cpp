#include "mm3d/MM3DRenderContext.h"

#include "mm3d/MM3DLight.h"

namespace {

constexpr MM3DColor kNoAmbient = {0.0f, 0.0f, 0.0f, 1.0f};

}  // namespace

MM3DRenderContext::MM3DRenderContext(bool opaque)
    : mModelMatrix(MM3DMatrixIdentity),
      mInverseModelMatrix(MM3DMatrixIdentity),
      mOpaque(opaque),
      mAmbientColor(kNoAmbient) {}

void MM3DRenderContext::SetModelMatrix(const MM3DMatrix& matrix) {
  if (matrix == mModelMatrix) return;
  mModelMatrix = matrix;
  mInverseModelMatrix = matrix;
  mInverseModelMatrix.InvertAffine();
  mModelMatrixChanged = true;
}

void MM3DRenderContext::TransformLights() {
  for (MM3DLight* light : mLights) light->Transform(mInverseModelMatrix, mModelMatrixChanged);
  mModelMatrixChanged = false;
}

void MM3DRenderContext::PushLight(MM3DLight* light) {
  if (light == nullptr) return;
  if (light->GetKind() == kMM3DAmbientLight) {
    mAmbientLights.Append(light);
    SumAmbientLights();
  } else {
    mLights.Append(light);
  }
}

void MM3DRenderContext::PopLight(MM3DLight* light) {
  if (RemoveFirst(mLights, light)) return;
  if (RemoveFirst(mAmbientLights, light)) SumAmbientLights();
}

void MM3DRenderContext::SumAmbientLights() {
  mAmbientColor = kNoAmbient;
  for (MM3DLight* light : mAmbientLights) {
    MM3DColor ambient;
    light->GetAmbient(ambient);
    mAmbientColor.mR += ambient.mR;
    mAmbientColor.mG += ambient.mG;
    mAmbientColor.mB += ambient.mB;
  }
}
