#pragma once
// A light that illuminates the vertices of lit materials. Light nodes put
// their light in scope for their subtree through the render context, which
// brings every light but the ambient ones into each mesh's model space and
// sums the ambient ones separately. No kind attenuates with distance.
//
// Per-vertex work goes through a vertex pass: BeginVertices binds the
// caller's current-position cursor and its two outputs once per block, then
// ShadeVertex writes the direction toward the light and the light's colour
// for the vertex the cursor points at.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class MM3DMatrix;
class UUReader;
class UUWriter;

enum MM3DLightKind : int32_t {
  kMM3DPointLight = 0,
  kMM3DInfiniteLight = 1,
  kMM3DSpotLight = 2,
  kMM3DAmbientLight = 3
};

class MM3DLight {
 public:
  MM3DLight() = default;
  MM3DLight(const MM3DVector& position, const MM3DColor& color, float intensity);
  MM3DLight(const MM3DLight&) = delete;
  MM3DLight& operator=(const MM3DLight&) = delete;
  virtual ~MM3DLight() = default;

  // Brings the light's geometry into a mesh's model space (M maps world to
  // model space) when forced or when the light changed since.
  virtual void Transform(const MM3DMatrix& worldToModel, bool force) = 0;
  // The direction toward the light (unit or zero, w 0) and its colour at a
  // point in model space.
  virtual void Illuminate(const MM3DVector& point, MM3DVector& direction, MM3DColor& color) = 0;
  // The light's ambient contribution.
  virtual void GetAmbient(MM3DColor& out) const = 0;
  virtual void BeginVertices(const MM3DVector* const* cursor, MM3DVector* direction,
                             MM3DColor* color);
  virtual void ShadeVertex() = 0;
  virtual void EndVertices() { mInVertexPass = false; }
  virtual MM3DLightKind GetKind() const = 0;
  virtual void SetColor(const MM3DColor& color);
  virtual void SetIntensity(float intensity);
  // The kind's own part of the light record; point and ambient lights
  // have none.
  virtual bool WriteData(UUWriter& writer) const;
  virtual bool ReadData(UUReader& reader);

  // The light record: kind, reference, position, colour, intensity, then
  // the kind's data.
  bool WriteRecord(UUWriter& writer) const;
  // Reads a record into a new light that replaces the one held. A kind
  // outside 0 to 3 fails and keeps the light held.
  static bool ReadRecord(UUReader& reader, UUOwned<MM3DLight>& light);

  const MM3DColor& GetColor() const { return mColor; }
  float GetIntensity() const { return mIntensity; }
  const MM3DColor& GetEffectiveColor() const { return mEffectiveColor; }
  const MM3DVector& GetPosition() const { return mPosition; }
  void SetPosition(const MM3DVector& position);
  bool IsInVertexPass() const { return mInVertexPass; }

 protected:
  // Colour x intensity in all four components.
  void UpdateEffectiveColor();
  // True once when the light must be transformed again; clears the mark.
  bool TakeDirty(bool force);

  const MM3DVector* const* mCursor = nullptr;
  MM3DVector* mOutDirection = nullptr;
  MM3DColor* mOutColor = nullptr;

 private:
  MM3DColor mColor{0.0f, 0.0f, 0.0f, 1.0f};
  float mIntensity = 0.0f;
  MM3DVector mPosition{0.0f, 0.0f, 0.0f, 1.0f};
  bool mDirty = true;
  MM3DColor mEffectiveColor{0.0f, 0.0f, 0.0f, 0.0f};
  bool mInVertexPass = false;
};
