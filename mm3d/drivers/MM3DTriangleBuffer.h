#pragma once
// Triangles a driver makes and draws: triangle t owns corners 3t, 3t + 1
// and 3t + 2, each with a position, a colour (red, green, blue, alpha bytes)
// and up to two sets of texture coordinates. A buffer is drawn only by the
// driver that made it.

#include "mm3d/MM3DVector.h"

#include <cstdint>

struct MM3DCornerColor {
  uint8_t mRed = 0;
  uint8_t mGreen = 0;
  uint8_t mBlue = 0;
  uint8_t mAlpha = 0;
};

struct MM3DTexCoord {
  float mU = 0.0f;
  float mV = 0.0f;
};

constexpr int32_t kMM3DMaxTexCoordSets = 2;

class MM3DTriangleBuffer {
 public:
  MM3DTriangleBuffer(int32_t capacity, int32_t texCoordSets)
      : mCapacity(capacity), mTexCoordSets(texCoordSets) {}
  virtual ~MM3DTriangleBuffer() = default;
  MM3DTriangleBuffer(const MM3DTriangleBuffer&) = delete;
  MM3DTriangleBuffer& operator=(const MM3DTriangleBuffer&) = delete;

  virtual void SetTrianglePositions(int32_t triangle, const MM3DVector& a, const MM3DVector& b,
                                    const MM3DVector& c) = 0;
  virtual void SetTriangleColors(int32_t triangle, MM3DCornerColor a, MM3DCornerColor b,
                                 MM3DCornerColor c) = 0;
  virtual void SetTriangleTexCoords(int32_t triangle, int32_t set, MM3DTexCoord a, MM3DTexCoord b,
                                    MM3DTexCoord c) = 0;
  // 3 x count consecutive corners from the array.
  virtual void SetPositions(int32_t first, int32_t count, const MM3DVector* positions) = 0;
  virtual void SetColors(int32_t first, int32_t count, const MM3DCornerColor* colors) = 0;
  virtual void SetTexCoords(int32_t first, int32_t count, int32_t set,
                            const MM3DTexCoord* coords) = 0;
  // Corner k takes array[indexes[k]], for 3 x count indexes.
  virtual void SetIndexedPositions(int32_t first, int32_t count, const MM3DVector* positions,
                                   const uint16_t* indexes) = 0;
  virtual void SetIndexedColors(int32_t first, int32_t count, const MM3DCornerColor* colors,
                                const uint16_t* indexes) = 0;
  virtual void SetIndexedTexCoords(int32_t first, int32_t count, int32_t set,
                                   const MM3DTexCoord* coords, const uint16_t* indexes) = 0;

  int32_t GetCapacity() const { return mCapacity; }
  int32_t GetTexCoordSets() const { return mTexCoordSets; }

 protected:
  int32_t mCapacity;
  int32_t mTexCoordSets;
};
