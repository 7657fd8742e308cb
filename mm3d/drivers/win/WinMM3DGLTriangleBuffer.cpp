#include "mm3d/drivers/win/WinMM3DGLTriangleBuffer.h"

#include <algorithm>
#include <new>

namespace {

template <typename T>
std::unique_ptr<T[]> Allocate(int32_t corners) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<size_t>(corners)]());
}

template <typename T>
void CopyIndexed(T* out, const T* values, const uint16_t* indexes, int32_t corners) {
  for (int32_t k = 0; k < corners; ++k) out[k] = values[indexes[k]];
}

}  // namespace

WinMM3DGLTriangleBuffer::WinMM3DGLTriangleBuffer(int32_t capacity, int32_t texCoordSets)
    : MM3DTriangleBuffer(capacity, texCoordSets),
      mStoredSets(std::clamp(texCoordSets, 1, kMM3DMaxTexCoordSets)) {}

WinMM3DGLTriangleBuffer* WinMM3DGLTriangleBuffer::Create(int32_t capacity, int32_t texCoordSets) {
  if (capacity < 0 || capacity > INT32_MAX / 3) return nullptr;
  auto* buffer = new (std::nothrow) WinMM3DGLTriangleBuffer(capacity, texCoordSets);
  if (buffer == nullptr) return nullptr;
  const int32_t corners = 3 * capacity;
  buffer->mPositions = Allocate<MM3DVector>(corners);
  buffer->mColors = Allocate<MM3DCornerColor>(corners);
  bool complete = buffer->mPositions && buffer->mColors;
  for (int32_t set = 0; set < buffer->mStoredSets; ++set) {
    buffer->mTexCoords[set] = Allocate<MM3DTexCoord>(corners);
    complete = complete && buffer->mTexCoords[set];
  }
  if (complete) return buffer;
  delete buffer;
  return nullptr;
}

const MM3DTexCoord* WinMM3DGLTriangleBuffer::TexCoordsOf(int32_t set, int32_t first) const {
  return mTexCoords[std::clamp(set, 0, mStoredSets - 1)].get() + 3 * first;
}

void WinMM3DGLTriangleBuffer::SetTrianglePositions(int32_t triangle, const MM3DVector& a,
                                                   const MM3DVector& b, const MM3DVector& c) {
  if (!HoldsRange(triangle, 1)) return;
  MM3DVector* out = mPositions.get() + 3 * triangle;
  out[0] = a;
  out[1] = b;
  out[2] = c;
}

void WinMM3DGLTriangleBuffer::SetTriangleColors(int32_t triangle, MM3DCornerColor a,
                                                MM3DCornerColor b, MM3DCornerColor c) {
  if (!HoldsRange(triangle, 1)) return;
  MM3DCornerColor* out = mColors.get() + 3 * triangle;
  out[0] = a;
  out[1] = b;
  out[2] = c;
}

void WinMM3DGLTriangleBuffer::SetTriangleTexCoords(int32_t triangle, int32_t set, MM3DTexCoord a,
                                                   MM3DTexCoord b, MM3DTexCoord c) {
  if (!HoldsRange(triangle, 1) || !HoldsSet(set)) return;
  MM3DTexCoord* out = mTexCoords[set].get() + 3 * triangle;
  out[0] = a;
  out[1] = b;
  out[2] = c;
}

void WinMM3DGLTriangleBuffer::SetPositions(int32_t first, int32_t count,
                                           const MM3DVector* positions) {
  if (HoldsRange(first, count)) std::copy_n(positions, 3 * count, mPositions.get() + 3 * first);
}

void WinMM3DGLTriangleBuffer::SetColors(int32_t first, int32_t count,
                                        const MM3DCornerColor* colors) {
  if (HoldsRange(first, count)) std::copy_n(colors, 3 * count, mColors.get() + 3 * first);
}

void WinMM3DGLTriangleBuffer::SetTexCoords(int32_t first, int32_t count, int32_t set,
                                           const MM3DTexCoord* coords) {
  if (HoldsRange(first, count) && HoldsSet(set)) {
    std::copy_n(coords, 3 * count, mTexCoords[set].get() + 3 * first);
  }
}

void WinMM3DGLTriangleBuffer::SetIndexedPositions(int32_t first, int32_t count,
                                                  const MM3DVector* positions,
                                                  const uint16_t* indexes) {
  if (HoldsRange(first, count)) {
    CopyIndexed(mPositions.get() + 3 * first, positions, indexes, 3 * count);
  }
}

void WinMM3DGLTriangleBuffer::SetIndexedColors(int32_t first, int32_t count,
                                               const MM3DCornerColor* colors,
                                               const uint16_t* indexes) {
  if (HoldsRange(first, count)) CopyIndexed(mColors.get() + 3 * first, colors, indexes, 3 * count);
}

void WinMM3DGLTriangleBuffer::SetIndexedTexCoords(int32_t first, int32_t count, int32_t set,
                                                  const MM3DTexCoord* coords,
                                                  const uint16_t* indexes) {
  if (HoldsRange(first, count) && HoldsSet(set)) {
    CopyIndexed(mTexCoords[set].get() + 3 * first, coords, indexes, 3 * count);
  }
}
