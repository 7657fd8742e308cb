#include "mm3d/MM3DTexturePlacement.h"

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DVertexArrays.h"

#include <cmath>
#include <memory>

namespace {

// u, v pairs, two floats per vertex; freed at process exit.
UUGrowableArray<float>& CoordinateScratch() {
  static UUGrowableArray<float> scratch;
  return scratch;
}

}  // namespace

void MM3DTexturePlacement::Generate(MM3DVertexArrays& arrays) const {
  if (arrays.mTextureCoordinates0 == nullptr) return;
  const float c = std::cos(-mRotation);
  const float s = std::sin(-mRotation);
  UUGrowableArray<float>& scratch = CoordinateScratch();
  const int32_t floats = 2 * arrays.mVertexCount;
  if (scratch.Count() < floats) scratch.Insert(scratch.Count(), floats - scratch.Count(), 0.0f);
  const float* in = arrays.mTextureCoordinates0;
  float* out = scratch.Begin();
  // Without offset and with an even repeat the texture turns about its
  // centre before it is scaled; otherwise scaling and offset come first.
  const bool turnFirst = mOffsetU == 0.0f && mOffsetV == 0.0f && mRepeatU == mRepeatV;
  for (int32_t i = 0; i < arrays.mVertexCount; ++i) {
    const float u = in[2 * i];
    const float v = in[2 * i + 1];
    if (turnFirst) {
      const float a = u - 0.5f;
      const float b = v - 0.5f;
      out[2 * i] = mRepeatU * (a * c + b * s + 0.5f);
      out[2 * i + 1] = mRepeatV * (b * c - a * s + 0.5f);
    } else {
      const float a = mRepeatU * u + mOffsetU - 0.5f;
      const float b = mRepeatV * v + mOffsetV - 0.5f;
      out[2 * i] = a * c + b * s + 0.5f;
      out[2 * i + 1] = b * c - a * s + 0.5f;
    }
  }
  arrays.mTextureCoordinates0 = scratch.Count() == 0 ? nullptr : scratch.Begin();
}
