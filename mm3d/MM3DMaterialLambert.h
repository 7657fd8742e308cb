#pragma once
// The lit materials: Lambert adds ambient, emitted and diffuse light per
// vertex, Phong a specular highlight on top. Emission and diffuse are
// derived colours kept up to date by the setters, so a frame only combines
// them with the lights.

#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DSceneChanges.h"

class MM3DLight;

class MM3DMaterialLambert : public MM3DMaterialWithColor {
 public:
  MM3DMaterialLambert() = default;
  MM3DMaterialLambert(float transparency, const MM3DColor& color, float diffuseCoefficient,
                      const MM3DColor& ambient, const MM3DColor& incandescence);

  MM3DMaterialKind GetKind() const override { return kMM3DMaterialLambert; }
  bool IsLit() const override { return true; }
  void Begin(MM3DRenderContext& context, const MM3DVector& eye) override;
  void Shade(MM3DVertexArrays& arrays) override;
  void SetColor(const MM3DColor& color) override;
  void SetAmbient(const MM3DColor& ambient);
  void SetIncandescence(const MM3DColor& incandescence);
  void SetDiffuseCoefficient(float coefficient);
  const MM3DColor& GetAmbient() const { return mAmbient; }
  const MM3DColor& GetIncandescence() const { return mIncandescence; }
  float GetDiffuseCoefficient() const { return mDiffuseCoefficient; }
  const MM3DColor& GetBase() const { return mBase; }
  // Colour, diffuse coefficient, ambient colour and incandescence.
  bool WriteData(UUWriter& writer) const override;
  bool ReadData(UUReader& reader) override;

 protected:
  // Lights every vertex of the block into the kind's scratch array; the
  // specular term is added when eye is not null.
  void ShadeVertices(MM3DVertexArrays& arrays, const MM3DColor& specularColor, float specularPower,
                     const MM3DVector* eye);

 private:
  void UpdateEmission();
  void UpdateDiffuse();

  float mDiffuseCoefficient = 0.0f;
  MM3DColor mAmbient{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DColor mIncandescence{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DColor mEmission{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DColor mDiffuse{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DLight* const* mLightsBegin = nullptr;
  MM3DLight* const* mLightsEnd = nullptr;
  MM3DColor mBase{0.0f, 0.0f, 0.0f, 1.0f};
};

class MM3DMaterialPhong : public MM3DMaterialLambert {
 public:
  MM3DMaterialPhong() = default;
  MM3DMaterialPhong(float transparency, const MM3DColor& color, float diffuseCoefficient,
                    const MM3DColor& ambient, const MM3DColor& incandescence,
                    const MM3DColor& specularColor, float specularPower);

  MM3DMaterialKind GetKind() const override { return kMM3DMaterialPhong; }
  void Begin(MM3DRenderContext& context, const MM3DVector& eye) override;
  void Shade(MM3DVertexArrays& arrays) override;
  void SetSpecularColor(const MM3DColor& color) {
    mSpecularColor = color;
    MM3DSceneChanges::Note();
  }
  void SetSpecularPower(float power) {
    mSpecularPower = power;
    MM3DSceneChanges::Note();
  }
  const MM3DColor& GetSpecularColor() const { return mSpecularColor; }
  float GetSpecularPower() const { return mSpecularPower; }
  // The Lambert data, then the specular colour and power.
  bool WriteData(UUWriter& writer) const override;
  bool ReadData(UUReader& reader) override;

 private:
  MM3DColor mSpecularColor{0.0f, 0.0f, 0.0f, 1.0f};
  float mSpecularPower = 0.0f;
  MM3DVector mEye{0.0f, 0.0f, 0.0f, 1.0f};
};
