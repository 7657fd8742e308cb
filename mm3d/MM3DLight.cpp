#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DSceneChanges.h"

MM3DLight::MM3DLight(const MM3DVector& position, const MM3DColor& color, float intensity)
    : mColor(color), mIntensity(intensity), mPosition(position) {
  UpdateEffectiveColor();
}

void MM3DLight::BeginVertices(const MM3DVector* const* cursor, MM3DVector* direction,
                              MM3DColor* color) {
  mCursor = cursor;
  mOutDirection = direction;
  mOutColor = color;
  mInVertexPass = true;
}

void MM3DLight::SetColor(const MM3DColor& color) {
  mColor = color;
  UpdateEffectiveColor();
}

void MM3DLight::SetIntensity(float intensity) {
  mIntensity = intensity;
  UpdateEffectiveColor();
}

void MM3DLight::SetPosition(const MM3DVector& position) {
  mPosition = position;
  mDirty = true;
  MM3DSceneChanges::Note();
}

void MM3DLight::UpdateEffectiveColor() {
  MM3DSceneChanges::Note();
  mEffectiveColor = {mColor.mR * mIntensity, mColor.mG * mIntensity, mColor.mB * mIntensity,
                     mColor.mA * mIntensity};
}

bool MM3DLight::TakeDirty(bool force) {
  const bool changed = force || mDirty;
  mDirty = false;
  return changed;
}
