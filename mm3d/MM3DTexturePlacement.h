#pragma once
// How a layer's texture lies on a mesh: repeat, offset and rotation applied
// to texture-coordinate set 0. The placed coordinates go to a process-wide
// scratch array that only grows, shared by every placement.

#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"

struct MM3DVertexArrays;

class MM3DTexturePlacement : public MM3DIndexedMeshTextureCoordinateMapper {
 public:
  // Replaces the block's set 0 by the placed coordinates; a block without
  // set 0 is left alone.
  void Generate(MM3DVertexArrays& arrays) const override;

  float mRepeatU = 1.0f;
  float mRepeatV = 1.0f;
  float mOffsetU = 0.0f;
  float mOffsetV = 0.0f;
  float mRotation = 0.0f;
};
