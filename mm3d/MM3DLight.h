#pragma once
// A light that illuminates the vertices of lit materials. Light nodes put
// their light in scope for their subtree through the render context, which
// brings every light but the ambient ones into each mesh's model space and
// sums the ambient ones separately.

#include <cstdint>

class MM3DColor;
class MM3DMatrix;

enum MM3DLightKind : int32_t {
  kMM3DPointLight = 0,
  kMM3DInfiniteLight = 1,
  kMM3DSpotLight = 2,
  kMM3DAmbientLight = 3
};

class MM3DLight {
 public:
  virtual ~MM3DLight() = default;
  // Brings the light's geometry into a mesh's model space (M maps world to
  // model space) when forced or when the light changed since.
  virtual void Transform(const MM3DMatrix& worldToModel, bool force) = 0;
  // The light's ambient contribution.
  virtual void GetAmbient(MM3DColor& out) const = 0;
  virtual MM3DLightKind GetKind() const = 0;
};
