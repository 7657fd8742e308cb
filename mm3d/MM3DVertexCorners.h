#pragma once
// Corner values of a vertex view in the driver's types. A view without
// colours gives opaque white corners and one without a coordinate set gives
// (0, 0), so that a triangle buffer never reads through a null array.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstdint>

inline MM3DCornerColor MM3DCornerColorAt(const MM3DVertexArrays& arrays, uint16_t vertex) {
  if (arrays.mColors == nullptr) return MM3DCornerColor{255, 255, 255, 255};
  const MM3DPackedColor& c = arrays.mColors[vertex];
  return MM3DCornerColor{c.mR, c.mG, c.mB, c.mA};
}

// Set 0 or 1 of the view; null when the view has none.
inline const MM3DTextureCoordinate* MM3DTexCoordsOf(const MM3DVertexArrays& arrays, int32_t set) {
  return set == 0 ? arrays.mTextureCoordinates0 : arrays.mTextureCoordinates1;
}

inline MM3DTexCoord MM3DTexCoordAt(const MM3DTextureCoordinate* coords, uint16_t vertex) {
  if (coords == nullptr) return MM3DTexCoord{};
  return MM3DTexCoord{coords[vertex].mU, coords[vertex].mV};
}
