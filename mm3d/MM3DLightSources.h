#pragma once
// The four kinds of light: point, infinite (directional), spot and ambient.

#include "mm3d/MM3DLight.h"

#include <memory>

class MM3DPointLightSource : public MM3DLight {
 public:
  using MM3DLight::MM3DLight;
  void Transform(const MM3DMatrix& worldToModel, bool force) override;
  void Illuminate(const MM3DVector& point, MM3DVector& direction, MM3DColor& color) override;
  void GetAmbient(MM3DColor& out) const override;
  void ShadeVertex() override;
  MM3DLightKind GetKind() const override { return kMM3DPointLight; }

 protected:
  MM3DVector mTransformedPosition{0.0f, 0.0f, 0.0f, 1.0f};
};

class MM3DInfiniteLightSource : public MM3DLight {
 public:
  MM3DInfiniteLightSource() = default;
  // The direction is stored at unit length (w copied).
  MM3DInfiniteLightSource(const MM3DColor& color, float intensity, const MM3DVector& direction);
  void Transform(const MM3DMatrix& worldToModel, bool force) override;
  void Illuminate(const MM3DVector& point, MM3DVector& direction, MM3DColor& color) override;
  void GetAmbient(MM3DColor& out) const override;
  void ShadeVertex() override;
  MM3DLightKind GetKind() const override { return kMM3DInfiniteLight; }
  // The direction, stored as it comes.
  bool WriteData(UUWriter& writer) const override;
  bool ReadData(UUReader& reader) override;

 private:
  MM3DVector mDirection{0.0f, 0.0f, 1.0f, 0.0f};
  MM3DVector mTransformedDirection{0.0f, 0.0f, 1.0f, 0.0f};
};

// The point a spot light aims at, in the light's space.
class MM3DSpotLightInterest {
 public:
  explicit MM3DSpotLightInterest(const MM3DVector& point) : mPoint(point) {}
  // Returns whether the transformed point was recomputed.
  bool Transform(const MM3DMatrix& worldToModel, bool force);
  void SetPoint(const MM3DVector& point);
  const MM3DVector& GetPoint() const { return mPoint; }
  const MM3DVector& GetTransformedPoint() const { return mTransformedPoint; }

 private:
  MM3DVector mPoint;
  MM3DVector mTransformedPoint{0.0f, 0.0f, 0.0f, 1.0f};
  bool mDirty = true;
};

// Full colour inside the cone, fading linearly to nothing across the
// penumbra beyond it. Without an aim point the light keeps its last
// direction.
class MM3DSpotLightSource : public MM3DLight {
 public:
  MM3DSpotLightSource() = default;
  MM3DSpotLightSource(const MM3DVector& position, const MM3DColor& color, float intensity,
                      std::unique_ptr<MM3DSpotLightInterest> interest, float coneAngle,
                      float penumbraAngle);
  void Transform(const MM3DMatrix& worldToModel, bool force) override;
  void Illuminate(const MM3DVector& point, MM3DVector& direction, MM3DColor& color) override;
  void GetAmbient(MM3DColor& out) const override;
  void ShadeVertex() override;
  MM3DLightKind GetKind() const override { return kMM3DSpotLight; }
  // Whether there is an aim point (one byte), the aim point's reference
  // and point when there is, then the cone and penumbra angles.
  bool WriteData(UUWriter& writer) const override;
  bool ReadData(UUReader& reader) override;
  MM3DSpotLightInterest* GetInterest() const { return mInterest.get(); }

 private:
  // The direction toward the light and the cone's share of the colour.
  float Falloff(const MM3DVector& point, MM3DVector& direction) const;

  MM3DVector mTransformedPosition{0.0f, 0.0f, 0.0f, 1.0f};
  std::unique_ptr<MM3DSpotLightInterest> mInterest;
  float mConeAngle = 0.0f;
  float mPenumbraAngle = 0.0f;
  MM3DVector mSpotDirection{0.0f, 0.0f, 1.0f, 0.0f};
};

// Reaches vertices only through the render context's ambient sum.
class MM3DAmbientLightSource : public MM3DPointLightSource {
 public:
  MM3DAmbientLightSource() = default;
  MM3DAmbientLightSource(const MM3DColor& color, float intensity);
  void Illuminate(const MM3DVector& point, MM3DVector& direction, MM3DColor& color) override;
  void GetAmbient(MM3DColor& out) const override;
  void ShadeVertex() override {}
  MM3DLightKind GetKind() const override { return kMM3DAmbientLight; }
};
