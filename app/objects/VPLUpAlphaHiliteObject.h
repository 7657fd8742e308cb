#pragma once
// A button that fires on the click and changes its look while the pointer
// is over it: another transparency and, when either glow colour is set,
// another glow. Its owner sets the four look values after construction.

#include "app/objects/VPLObjButton.h"

class VPLUpAlphaHiliteObject : public VPLOnUpButtonObject {
 public:
  VPLUpAlphaHiliteObject(MMScene* scene, const UURefCount<MM3DModel>& model,
                         const MMTaskCallback& callback, MMResourceId definition);

  // The new model takes the colour the object had.
  void SetModel(const UURefCount<MM3DModel>& model, bool rebuild) override;
  void OnHoverOn() override;
  void OnHoverOff() override;

  // The look while not hovered and while hovered, the normal one applied.
  void SetLooks(float normalAlpha, float hoverAlpha, const MM3DColor& normalColor,
                const MM3DColor& hoverColor);

 protected:
  // Either glow colour has a component other than 0.
  bool IsGlowSet() const;
  void ApplyLook(float alpha, const MM3DColor& color);
};
