#include "app/objects/VPLUpAlphaHiliteObject.h"

namespace {

bool IsZero(const MM3DColor& c) { return c.mR == 0 && c.mG == 0 && c.mB == 0 && c.mA == 0; }

}  // namespace

VPLUpAlphaHiliteObject::VPLUpAlphaHiliteObject(MMScene* scene, const UURefCount<MM3DModel>& model,
                                               const MMTaskCallback& callback,
                                               MMResourceId definition)
    : VPLOnUpButtonObject(scene, model, callback, definition) {
  ApplyLook(mNormalAlpha, mNormalColor);
}

bool VPLUpAlphaHiliteObject::IsGlowSet() const {
  return !IsZero(mNormalColor) || !IsZero(mHoverColor);
}

void VPLUpAlphaHiliteObject::ApplyLook(float alpha, const MM3DColor& color) {
  SetAlpha(alpha);
  if (IsGlowSet()) SetMeshColor(color);
}

void VPLUpAlphaHiliteObject::SetLooks(float normalAlpha, float hoverAlpha,
                                      const MM3DColor& normalColor, const MM3DColor& hoverColor) {
  mNormalAlpha = normalAlpha;
  mHoverAlpha = hoverAlpha;
  mNormalColor = normalColor;
  mHoverColor = hoverColor;
  ApplyLook(mNormalAlpha, mNormalColor);
}

void VPLUpAlphaHiliteObject::SetModel(const UURefCount<MM3DModel>& model, bool rebuild) {
  VPLOnUpButtonObject::SetModel(model, rebuild);
  SetColor(GetStoredColor());
}

void VPLUpAlphaHiliteObject::OnHoverOn() {
  ApplyLook(mHoverAlpha, mHoverColor);
  VPLOnUpButtonObject::OnHoverOn();
}

void VPLUpAlphaHiliteObject::OnHoverOff() {
  ApplyLook(mNormalAlpha, mNormalColor);
  VPLOnUpButtonObject::OnHoverOff();
}
