#pragma once
// One vertex block as the pipeline hands it to shaders and texture mappers:
// the shader replaces the colour pointer with its own output.

#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

struct MM3DVertexArrays {
  int32_t mVertexCount = 0;
  const MM3DVector* mPositions = nullptr;
  const MM3DVector* mNormals = nullptr;
  const MM3DPackedColor* mColors = nullptr;
  const float* mTextureCoordinates0 = nullptr;
  const float* mTextureCoordinates1 = nullptr;
  int32_t mIndexCount = 0;
  const uint16_t* mIndices = nullptr;
};
