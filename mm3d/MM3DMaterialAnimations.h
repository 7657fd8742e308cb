#pragma once
// Curve animations of a material's colours, coefficients and textures.
// The material is shared with the mod database's material section and
// every mesh part that uses it, and is named in a file by its index in
// that section (after the curve's index). An animation without a curve,
// without a material, or whose material lacks the animated value (an
// ambient colour on an unlit material) writes nothing.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DFunctionCurveAnimationBase.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DTextureHandle.h"

#include <cstdint>

class MM3DMaterialAnimationBase : public MM3DFunctionCurveAnimationBase {
 public:
  MM3DMaterialAnimationBase() = default;
  MM3DMaterialAnimationBase(UURefCount<MM3DMaterial> material, UURefCount<MM3DFunctionCurve> curve,
                            MM3DAnimationKind kind)
      : MM3DFunctionCurveAnimationBase(std::move(curve), kind), mMaterial(std::move(material)) {}

  void Apply(float seconds) override;
  void ApplyBlended(float time1, float weight1, float time2, float weight2) override;
  // The curve's index, then the material's index in the material section.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const UURefCount<MM3DMaterial>& GetMaterial() const { return mMaterial; }

 protected:
  // Writes the value into the material, which is there.
  virtual void SetValue(MM3DMaterial& material, float value) = 0;

 private:
  UURefCount<MM3DMaterial> mMaterial;
};

// One component of one colour of a material class: the colour is copied,
// the component changed and the copy given to the setter, so the
// material's derived colours follow.
template <typename Material, const MM3DColor& (Material::*Get)() const,
          void (Material::*Set)(const MM3DColor&), float MM3DColor::*Component,
          MM3DAnimationKind Kind>
class MM3DMaterialColorComponentAnimation : public MM3DMaterialAnimationBase {
 public:
  MM3DMaterialColorComponentAnimation() : MM3DMaterialAnimationBase({}, {}, Kind) {}
  MM3DMaterialColorComponentAnimation(UURefCount<MM3DMaterial> material,
                                      UURefCount<MM3DFunctionCurve> curve)
      : MM3DMaterialAnimationBase(std::move(material), std::move(curve), Kind) {}

 protected:
  void SetValue(MM3DMaterial& material, float value) override {
    auto* target = dynamic_cast<Material*>(&material);
    if (target == nullptr) return;
    MM3DColor color = (target->*Get)();
    color.*Component = value;
    (target->*Set)(color);
  }
};

// A coefficient of a material class, set to the value.
template <typename Material, void (Material::*Set)(float), MM3DAnimationKind Kind>
class MM3DMaterialScalarAnimation : public MM3DMaterialAnimationBase {
 public:
  MM3DMaterialScalarAnimation() : MM3DMaterialAnimationBase({}, {}, Kind) {}
  MM3DMaterialScalarAnimation(UURefCount<MM3DMaterial> material,
                              UURefCount<MM3DFunctionCurve> curve)
      : MM3DMaterialAnimationBase(std::move(material), std::move(curve), Kind) {}

 protected:
  void SetValue(MM3DMaterial& material, float value) override {
    if (auto* target = dynamic_cast<Material*>(&material)) (target->*Set)(value);
  }
};

using MM3DMaterialDiffuseRedAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialWithColor, &MM3DMaterialWithColor::GetColor,
                                        &MM3DMaterialWithColor::SetColor, &MM3DColor::mR,
                                        kMM3DMaterialDiffuseRedAnimation>;
using MM3DMaterialDiffuseGreenAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialWithColor, &MM3DMaterialWithColor::GetColor,
                                        &MM3DMaterialWithColor::SetColor, &MM3DColor::mG,
                                        kMM3DMaterialDiffuseGreenAnimation>;
using MM3DMaterialDiffuseBlueAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialWithColor, &MM3DMaterialWithColor::GetColor,
                                        &MM3DMaterialWithColor::SetColor, &MM3DColor::mB,
                                        kMM3DMaterialDiffuseBlueAnimation>;
using MM3DMaterialAmbientRedAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetAmbient,
                                        &MM3DMaterialLambert::SetAmbient, &MM3DColor::mR,
                                        kMM3DMaterialAmbientRedAnimation>;
using MM3DMaterialAmbientGreenAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetAmbient,
                                        &MM3DMaterialLambert::SetAmbient, &MM3DColor::mG,
                                        kMM3DMaterialAmbientGreenAnimation>;
using MM3DMaterialAmbientBlueAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetAmbient,
                                        &MM3DMaterialLambert::SetAmbient, &MM3DColor::mB,
                                        kMM3DMaterialAmbientBlueAnimation>;
using MM3DMaterialIncandescenceRedAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetIncandescence,
                                        &MM3DMaterialLambert::SetIncandescence, &MM3DColor::mR,
                                        kMM3DMaterialIncandescenceRedAnimation>;
using MM3DMaterialIncandescenceGreenAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetIncandescence,
                                        &MM3DMaterialLambert::SetIncandescence, &MM3DColor::mG,
                                        kMM3DMaterialIncandescenceGreenAnimation>;
using MM3DMaterialIncandescenceBlueAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::GetIncandescence,
                                        &MM3DMaterialLambert::SetIncandescence, &MM3DColor::mB,
                                        kMM3DMaterialIncandescenceBlueAnimation>;
using MM3DMaterialSpecularRedAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialPhong, &MM3DMaterialPhong::GetSpecularColor,
                                        &MM3DMaterialPhong::SetSpecularColor, &MM3DColor::mR,
                                        kMM3DMaterialSpecularRedAnimation>;
using MM3DMaterialSpecularGreenAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialPhong, &MM3DMaterialPhong::GetSpecularColor,
                                        &MM3DMaterialPhong::SetSpecularColor, &MM3DColor::mG,
                                        kMM3DMaterialSpecularGreenAnimation>;
using MM3DMaterialSpecularBlueAnimation =
    MM3DMaterialColorComponentAnimation<MM3DMaterialPhong, &MM3DMaterialPhong::GetSpecularColor,
                                        &MM3DMaterialPhong::SetSpecularColor, &MM3DColor::mB,
                                        kMM3DMaterialSpecularBlueAnimation>;
using MM3DMaterialTransparencyAnimation =
    MM3DMaterialScalarAnimation<MM3DMaterial, &MM3DMaterial::SetTransparency,
                                kMM3DMaterialTransparencyAnimation>;
using MM3DMaterialDiffuseCoefficientAnimation =
    MM3DMaterialScalarAnimation<MM3DMaterialLambert, &MM3DMaterialLambert::SetDiffuseCoefficient,
                                kMM3DMaterialDiffuseCoefficientAnimation>;
using MM3DMaterialSpecularPowerAnimation =
    MM3DMaterialScalarAnimation<MM3DMaterialPhong, &MM3DMaterialPhong::SetSpecularPower,
                                kMM3DMaterialSpecularPowerAnimation>;

// A flip-book: the value counts frames, first frame showing the first
// texture of the list, and rounds to the nearest frame (halves up); a
// value before the list or past it holds the nearest texture. In a file
// each texture is a 32-byte field holding its name and a terminating zero.
class MM3DMaterialTextureAnimation : public MM3DMaterialAnimationBase {
 public:
  static constexpr int32_t kNameFieldSize = 32;

  MM3DMaterialTextureAnimation()
      : MM3DMaterialAnimationBase({}, {}, kMM3DMaterialTextureAnimation) {}
  MM3DMaterialTextureAnimation(UURefCount<MM3DMaterial> material,
                               UURefCount<MM3DFunctionCurve> curve, int32_t layer,
                               int32_t firstFrame,
                               const UUGrowableArray<MM3DTextureHandle>& textures);

  // After the material: the layer, the first frame, the count and the
  // names. A name that does not fit its field fails the write.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override;
  // A layer outside the material's possible layers or a negative count
  // fails. The handles come from the database's texture map, all with the
  // sampling key of the layer's first texture; without one, with the key
  // of a clamped, linearly filtered texture.
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  int32_t GetLayer() const { return mLayer; }
  int32_t GetFirstFrame() const { return mFirstFrame; }
  const UUGrowableArray<MM3DTextureHandle>& GetTextures() const { return mTextures; }

 protected:
  void SetValue(MM3DMaterial& material, float value) override;

 private:
  bool ReadTextures(UUReader& reader, MM3DModDatabase& database, int32_t count);

  int32_t mLayer = 0;
  UUGrowableArray<MM3DTextureHandle> mTextures;
  int32_t mFirstFrame = 0;
};
