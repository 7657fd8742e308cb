#pragma once
// The OpenGL triangle buffer: separate client arrays of corner positions
// (all four components), colours and texture coordinates, corner k of
// triangle t at entry 3t + k.

#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstdint>
#include <memory>

// OpenGL reads x, y and z of each position and steps over w.
static_assert(sizeof(MM3DVector) == 4 * sizeof(float));
static_assert(sizeof(MM3DCornerColor) == 4 && sizeof(MM3DTexCoord) == 2 * sizeof(float));

class WinMM3DGLTriangleBuffer : public MM3DTriangleBuffer {
 public:
  // Null when the arrays cannot be had.
  static WinMM3DGLTriangleBuffer* Create(int32_t capacity, int32_t texCoordSets);

  void SetTrianglePositions(int32_t triangle, const MM3DVector& a, const MM3DVector& b,
                            const MM3DVector& c) override;
  void SetTriangleColors(int32_t triangle, MM3DCornerColor a, MM3DCornerColor b,
                         MM3DCornerColor c) override;
  void SetTriangleTexCoords(int32_t triangle, int32_t set, MM3DTexCoord a, MM3DTexCoord b,
                            MM3DTexCoord c) override;
  void SetPositions(int32_t first, int32_t count, const MM3DVector* positions) override;
  void SetColors(int32_t first, int32_t count, const MM3DCornerColor* colors) override;
  void SetTexCoords(int32_t first, int32_t count, int32_t set, const MM3DTexCoord* coords) override;
  void SetIndexedPositions(int32_t first, int32_t count, const MM3DVector* positions,
                           const uint16_t* indexes) override;
  void SetIndexedColors(int32_t first, int32_t count, const MM3DCornerColor* colors,
                        const uint16_t* indexes) override;
  void SetIndexedTexCoords(int32_t first, int32_t count, int32_t set, const MM3DTexCoord* coords,
                           const uint16_t* indexes) override;

  // Whether triangles [first, first + count) lie inside the buffer.
  bool HoldsRange(int32_t first, int32_t count) const {
    return first >= 0 && count >= 0 && count <= mCapacity - first;
  }
  const MM3DVector* PositionsOf(int32_t first) const { return mPositions.get() + 3 * first; }
  const MM3DCornerColor* ColorsOf(int32_t first) const { return mColors.get() + 3 * first; }
  // A buffer always has one set; a stage beyond its sets reads the last one,
  // so that the enabled coordinate array never points at nothing.
  const MM3DTexCoord* TexCoordsOf(int32_t set, int32_t first) const;

 private:
  WinMM3DGLTriangleBuffer(int32_t capacity, int32_t texCoordSets);
  bool HoldsSet(int32_t set) const { return set >= 0 && set < mStoredSets; }

  int32_t mStoredSets;
  std::unique_ptr<MM3DVector[]> mPositions;
  std::unique_ptr<MM3DCornerColor[]> mColors;
  std::unique_ptr<MM3DTexCoord[]> mTexCoords[kMM3DMaxTexCoordSets];
};
