#include "mm3d/MM3DMaterialLambert.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DSceneChanges.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
  float mR = 0.0f;
  float mG = 0.0f;
  float mB = 0.0f;

  void AddScaled(float k, const MM3DColor& c) {
    mR += k * c.mR;
    mG += k * c.mG;
    mB += k * c.mB;
  }
};

// round-to-nearest(255 x c), ties to even, kept within 0..255. NaN, which
// a curve from a file can bring into a material, gives 0.
uint8_t LitByte(float c) {
  const float scaled = std::nearbyint(255.0f * c);
  if (!(scaled > 0.0f)) return 0;
  return static_cast<uint8_t>(std::min(scaled, 255.0f));
}

// The specular factor of one light: (R . V)^power, zero when R faces away
// or lies across V (so that a power of 0 cannot make 0 x -inf).
float SpecularFactor(float d, const MM3DVector& normal, const MM3DVector& toLight,
                     const MM3DVector& toEye, float power) {
  const MM3DVector reflected(2.0f * d * normal.mX - toLight.mX, 2.0f * d * normal.mY - toLight.mY,
                             2.0f * d * normal.mZ - toLight.mZ, 0.0f);
  const float s = reflected.Dot(toEye);
  if (std::signbit(s) || s == 0.0f) return 0.0f;
  return std::exp2(power * std::log2(s));
}

}  // namespace

MM3DMaterialLambert::MM3DMaterialLambert(float transparency, const MM3DColor& color,
                                         float diffuseCoefficient, const MM3DColor& ambient,
                                         const MM3DColor& incandescence)
    : mDiffuseCoefficient(diffuseCoefficient), mAmbient(ambient), mIncandescence(incandescence) {
  MM3DMaterialWithColor::SetColor(color);
  SetTransparency(transparency);
  UpdateEmission();
  UpdateDiffuse();
}

void MM3DMaterialLambert::SetColor(const MM3DColor& color) {
  MM3DMaterialWithColor::SetColor(color);
  UpdateEmission();
  UpdateDiffuse();
}

void MM3DMaterialLambert::SetAmbient(const MM3DColor& ambient) {
  mAmbient = ambient;
  UpdateEmission();
}

void MM3DMaterialLambert::SetIncandescence(const MM3DColor& incandescence) {
  mIncandescence = incandescence;
  UpdateEmission();
}

void MM3DMaterialLambert::SetDiffuseCoefficient(float coefficient) {
  mDiffuseCoefficient = coefficient;
  UpdateDiffuse();
}

void MM3DMaterialLambert::UpdateEmission() {
  MM3DSceneChanges::Note();
  const MM3DColor& c = GetColor();
  mEmission = {mAmbient.mR * c.mR + mIncandescence.mR, mAmbient.mG * c.mG + mIncandescence.mG,
               mAmbient.mB * c.mB + mIncandescence.mB, mIncandescence.mA};
}

void MM3DMaterialLambert::UpdateDiffuse() {
  MM3DSceneChanges::Note();
  const MM3DColor& c = GetColor();
  mDiffuse = {c.mR * mDiffuseCoefficient, c.mG * mDiffuseCoefficient, c.mB * mDiffuseCoefficient,
              0.0f};
}

void MM3DMaterialLambert::Begin(MM3DRenderContext& context, const MM3DVector& eye) {
  const UUGrowableArray<MM3DLight*>& lights = context.GetLights();
  mLightsBegin = lights.Begin();
  mLightsEnd = lights.End();
  const MM3DColor& ambient = context.GetAmbientColor();
  const MM3DColor& c = GetColor();
  mBase.mR = ambient.mR * c.mR + mEmission.mR;
  mBase.mG = ambient.mG * c.mG + mEmission.mG;
  mBase.mB = ambient.mB * c.mB + mEmission.mB;
  MM3DMaterialWithColor::Begin(context, eye);
}

void MM3DMaterialLambert::Shade(MM3DVertexArrays& arrays) {
  ShadeVertices(arrays, MM3DColor{}, 0.0f, nullptr);
}

void MM3DMaterialLambert::ShadeVertices(MM3DVertexArrays& arrays, const MM3DColor& specularColor,
                                        float specularPower, const MM3DVector* eye) {
  const uint8_t alpha = GetAlphaByte();
  MM3DPackedColor* colors = MM3DGrowShadingScratch(GetKind(), arrays.mVertexCount);
  const MM3DVector* cursor = arrays.mPositions;
  MM3DVector toLight(0.0f, 0.0f, 0.0f, 0.0f);
  MM3DColor lightColor{0.0f, 0.0f, 0.0f, 1.0f};
  for (MM3DLight* const* light = mLightsBegin; light != mLightsEnd; ++light) {
    (*light)->BeginVertices(&cursor, &toLight, &lightColor);
  }
  // A block without normals faces no light: it shows its ambient and
  // emissive colour only.
  MM3DLight* const* lightsEnd = arrays.mNormals != nullptr ? mLightsEnd : mLightsBegin;
  for (int32_t i = 0; i < arrays.mVertexCount; ++i, ++cursor) {
    MM3DVector toEye(0.0f, 0.0f, 0.0f, 0.0f);
    if (eye != nullptr) {
      toEye = eye->Direction(*cursor);
      const float lengthSquared = toEye.LengthSquared();
      if (lengthSquared != 0.0f) toEye.Scale(MM3DFastInverseSqrt(lengthSquared));
    }
    Rgb sum;
    Rgb spec;
    for (MM3DLight* const* light = mLightsBegin; light != lightsEnd; ++light) {
      (*light)->ShadeVertex();
      const MM3DVector& normal = arrays.mNormals[i];
      const float d = toLight.mX * normal.mX + toLight.mZ * normal.mZ + toLight.mY * normal.mY;
      // Surfaces facing away, including -0, take nothing from the light.
      if (std::signbit(d)) continue;
      sum.AddScaled(d, lightColor);
      if (eye != nullptr) {
        spec.AddScaled(SpecularFactor(d, normal, toLight, toEye, specularPower), lightColor);
      }
    }
    colors[i] = {LitByte(specularColor.mR * spec.mR + mDiffuse.mR * sum.mR + mBase.mR),
                 LitByte(specularColor.mG * spec.mG + mDiffuse.mG * sum.mG + mBase.mG),
                 LitByte(specularColor.mB * spec.mB + mDiffuse.mB * sum.mB + mBase.mB), alpha};
  }
  for (MM3DLight* const* light = mLightsBegin; light != mLightsEnd; ++light) {
    (*light)->EndVertices();
  }
  arrays.mColors = colors;
}

MM3DMaterialPhong::MM3DMaterialPhong(float transparency, const MM3DColor& color,
                                     float diffuseCoefficient, const MM3DColor& ambient,
                                     const MM3DColor& incandescence, const MM3DColor& specularColor,
                                     float specularPower)
    : MM3DMaterialLambert(transparency, color, diffuseCoefficient, ambient, incandescence),
      mSpecularColor(specularColor),
      mSpecularPower(specularPower) {}

void MM3DMaterialPhong::Begin(MM3DRenderContext& context, const MM3DVector& eye) {
  mEye = eye;
  MM3DMaterialLambert::Begin(context, eye);
}

void MM3DMaterialPhong::Shade(MM3DVertexArrays& arrays) {
  ShadeVertices(arrays, mSpecularColor, mSpecularPower, &mEye);
}
