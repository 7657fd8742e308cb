#pragma once
// The Direct3D 7 triangle buffer: one block of flexible-format vertices,
// corner k of triangle t at vertex 3t + k. Each vertex holds x, y, z floats,
// the diffuse colour as a word (alpha in the top byte, then red, green,
// blue), then one (u, v) float pair per texture-coordinate set.

#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class WinMM3DDDTriangleBuffer : public MM3DTriangleBuffer {
 public:
  // Null when the block cannot be had.
  static WinMM3DDDTriangleBuffer* Create(int32_t capacity, int32_t texCoordSets);

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
  // D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEXn, n the number of sets.
  uint32_t GetVertexFormat() const;
  size_t GetStride() const { return 16 + 8 * static_cast<size_t>(mStoredSets); }
  // The vertices of triangle first on.
  void* VerticesOf(int32_t first) const { return VertexAt(3 * first); }

 private:
  WinMM3DDDTriangleBuffer(int32_t capacity, int32_t texCoordSets);
  bool HoldsSet(int32_t set) const { return set >= 0 && set < mStoredSets; }
  uint8_t* VertexAt(int32_t corner) const {
    return mVertices.get() + static_cast<size_t>(corner) * GetStride();
  }
  void WritePosition(int32_t corner, const MM3DVector& position);
  void WriteColor(int32_t corner, MM3DCornerColor color);
  void WriteTexCoord(int32_t corner, int32_t set, MM3DTexCoord coord);

  int32_t mStoredSets;
  std::unique_ptr<uint8_t[]> mVertices;
};
