#pragma once
// How a layer's texture lies on a mesh: repeat, offset and rotation applied
// to texture-coordinate set 0.

#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"

class MM3DTexturePlacement : public MM3DIndexedMeshTextureCoordinateMapper {
 public:
  float mRepeatU = 1.0f;
  float mRepeatV = 1.0f;
  float mOffsetU = 0.0f;
  float mOffsetV = 0.0f;
  float mRotation = 0.0f;
};
