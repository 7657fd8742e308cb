#include "mm3d/drivers/win/WinMM3DDDTriangleBuffer.h"

#include "platform/directx/d3d.h"

#include <algorithm>
#include <cstring>
#include <new>

WinMM3DDDTriangleBuffer::WinMM3DDDTriangleBuffer(int32_t capacity, int32_t texCoordSets)
    : MM3DTriangleBuffer(capacity, texCoordSets),
      mStoredSets(std::clamp(texCoordSets, 0, kMM3DMaxTexCoordSets)) {}

WinMM3DDDTriangleBuffer* WinMM3DDDTriangleBuffer::Create(int32_t capacity, int32_t texCoordSets) {
  if (capacity < 0 || capacity > INT32_MAX / 3) return nullptr;
  auto* buffer = new (std::nothrow) WinMM3DDDTriangleBuffer(capacity, texCoordSets);
  if (buffer == nullptr) return nullptr;
  const size_t bytes = size_t{3} * static_cast<size_t>(capacity) * buffer->GetStride();
  buffer->mVertices.reset(new (std::nothrow) uint8_t[bytes]());
  if (buffer->mVertices) return buffer;
  delete buffer;
  return nullptr;
}

uint32_t WinMM3DDDTriangleBuffer::GetVertexFormat() const {
  return D3DFVF_XYZ | D3DFVF_DIFFUSE | static_cast<uint32_t>(mStoredSets) << D3DFVF_TEXCOUNT_SHIFT;
}

void WinMM3DDDTriangleBuffer::WritePosition(int32_t corner, const MM3DVector& position) {
  const float xyz[3] = {position.mX, position.mY, position.mZ};
  std::memcpy(VertexAt(corner), xyz, sizeof xyz);
}

void WinMM3DDDTriangleBuffer::WriteColor(int32_t corner, MM3DCornerColor color) {
  const uint32_t word = static_cast<uint32_t>(color.mAlpha) << 24 |
                        static_cast<uint32_t>(color.mRed) << 16 |
                        static_cast<uint32_t>(color.mGreen) << 8 | color.mBlue;
  std::memcpy(VertexAt(corner) + 12, &word, sizeof word);
}

void WinMM3DDDTriangleBuffer::WriteTexCoord(int32_t corner, int32_t set, MM3DTexCoord coord) {
  const float uv[2] = {coord.mU, coord.mV};
  std::memcpy(VertexAt(corner) + 16 + 8 * set, uv, sizeof uv);
}

void WinMM3DDDTriangleBuffer::SetTrianglePositions(int32_t triangle, const MM3DVector& a,
                                                   const MM3DVector& b, const MM3DVector& c) {
  const MM3DVector corners[3] = {a, b, c};
  SetPositions(triangle, 1, corners);
}

void WinMM3DDDTriangleBuffer::SetTriangleColors(int32_t triangle, MM3DCornerColor a,
                                                MM3DCornerColor b, MM3DCornerColor c) {
  const MM3DCornerColor corners[3] = {a, b, c};
  SetColors(triangle, 1, corners);
}

void WinMM3DDDTriangleBuffer::SetTriangleTexCoords(int32_t triangle, int32_t set, MM3DTexCoord a,
                                                   MM3DTexCoord b, MM3DTexCoord c) {
  const MM3DTexCoord corners[3] = {a, b, c};
  SetTexCoords(triangle, 1, set, corners);
}

void WinMM3DDDTriangleBuffer::SetPositions(int32_t first, int32_t count,
                                           const MM3DVector* positions) {
  if (!HoldsRange(first, count)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WritePosition(3 * first + k, positions[k]);
}

void WinMM3DDDTriangleBuffer::SetColors(int32_t first, int32_t count,
                                        const MM3DCornerColor* colors) {
  if (!HoldsRange(first, count)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WriteColor(3 * first + k, colors[k]);
}

void WinMM3DDDTriangleBuffer::SetTexCoords(int32_t first, int32_t count, int32_t set,
                                           const MM3DTexCoord* coords) {
  if (!HoldsRange(first, count) || !HoldsSet(set)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WriteTexCoord(3 * first + k, set, coords[k]);
}

void WinMM3DDDTriangleBuffer::SetIndexedPositions(int32_t first, int32_t count,
                                                  const MM3DVector* positions,
                                                  const uint16_t* indexes) {
  if (!HoldsRange(first, count)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WritePosition(3 * first + k, positions[indexes[k]]);
}

void WinMM3DDDTriangleBuffer::SetIndexedColors(int32_t first, int32_t count,
                                               const MM3DCornerColor* colors,
                                               const uint16_t* indexes) {
  if (!HoldsRange(first, count)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WriteColor(3 * first + k, colors[indexes[k]]);
}

void WinMM3DDDTriangleBuffer::SetIndexedTexCoords(int32_t first, int32_t count, int32_t set,
                                                  const MM3DTexCoord* coords,
                                                  const uint16_t* indexes) {
  if (!HoldsRange(first, count) || !HoldsSet(set)) return;
  for (int32_t k = 0; k < 3 * count; ++k) WriteTexCoord(3 * first + k, set, coords[indexes[k]]);
}
