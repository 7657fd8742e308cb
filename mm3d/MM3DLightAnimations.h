#pragma once
// Curve animations of one colour component of a light. The light is shared
// with the mod database's light section and the light nodes that hold it,
// and is named in a file by its index in that section (after the curve's
// index). The light's colour is set only when the component changes it, so
// a still curve leaves the light's derived colour alone.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DFunctionCurveAnimationBase.h"
#include "mm3d/MM3DLight.h"

class MM3DLightAnimationBase : public MM3DFunctionCurveAnimationBase {
 public:
  MM3DLightAnimationBase(UURefCount<MM3DLight> light, UURefCount<MM3DFunctionCurve> curve,
                         MM3DAnimationKind kind)
      : MM3DFunctionCurveAnimationBase(std::move(curve), kind), mLight(std::move(light)) {}

  void Apply(float seconds) override;
  void ApplyBlended(float time1, float weight1, float time2, float weight2) override;
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const UURefCount<MM3DLight>& GetLight() const { return mLight; }

  // Sets the animated component of color to the value.
  virtual void SetColorComponent(MM3DColor& color, float value) const = 0;

 private:
  void SetValue(float value);

  UURefCount<MM3DLight> mLight;
};

template <float MM3DColor::*Component, MM3DAnimationKind Kind>
class MM3DLightColorComponentAnimation : public MM3DLightAnimationBase {
 public:
  MM3DLightColorComponentAnimation() : MM3DLightAnimationBase({}, {}, Kind) {}
  MM3DLightColorComponentAnimation(UURefCount<MM3DLight> light, UURefCount<MM3DFunctionCurve> curve)
      : MM3DLightAnimationBase(std::move(light), std::move(curve), Kind) {}

  void SetColorComponent(MM3DColor& color, float value) const override { color.*Component = value; }
};

using MM3DLightRedAnimation =
    MM3DLightColorComponentAnimation<&MM3DColor::mR, kMM3DLightRedAnimation>;
using MM3DLightGreenAnimation =
    MM3DLightColorComponentAnimation<&MM3DColor::mG, kMM3DLightGreenAnimation>;
using MM3DLightBlueAnimation =
    MM3DLightColorComponentAnimation<&MM3DColor::mB, kMM3DLightBlueAnimation>;
