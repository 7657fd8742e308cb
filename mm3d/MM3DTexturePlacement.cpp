#include "mm3d/MM3DTexturePlacement.h"

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <cmath>
#include <memory>

namespace {

// One coordinate pair per vertex; freed at process exit, after every
// application's pool is gone.
UUGrowableArray<MM3DTextureCoordinate>& CoordinateScratch() {
  static UUGrowableArray<MM3DTextureCoordinate> scratch(ALBlockSource::ProcessWide());
  return scratch;
}

}  // namespace

MM3DTexturePlacement::~MM3DTexturePlacement() {
  MM3DDatabase::ForgetReference(this, mReferenceIndex);
}

bool MM3DTexturePlacement::Write(UUWriter& writer) const {
  const float values[kValueCount] = {mRepeatU, mRepeatV, mOffsetU, mOffsetV, mRotation};
  return MM3DDatabase::SaveReference(writer, this) && writer.WriteFloats(values, kValueCount);
}

bool MM3DTexturePlacement::Read(UUReader& reader) {
  float values[kValueCount] = {};
  if (!MM3DDatabase::LoadReference(reader, this, &mReferenceIndex) ||
      !reader.ReadFloats(values, kValueCount)) {
    return false;
  }
  mRepeatU = values[0];
  mRepeatV = values[1];
  mOffsetU = values[2];
  mOffsetV = values[3];
  mRotation = values[4];
  return true;
}

void MM3DTexturePlacement::Generate(MM3DVertexArrays& arrays) const {
  if (arrays.mTextureCoordinates0 == nullptr) return;
  const float c = std::cos(-mRotation);
  const float s = std::sin(-mRotation);
  UUGrowableArray<MM3DTextureCoordinate>& scratch = CoordinateScratch();
  const int32_t count = arrays.mVertexCount;
  if (scratch.Count() < count) {
    scratch.Insert(scratch.Count(), count - scratch.Count(), MM3DTextureCoordinate{0.0f, 0.0f});
  }
  const MM3DTextureCoordinate* in = arrays.mTextureCoordinates0;
  MM3DTextureCoordinate* out = scratch.Begin();
  // Without offset and with an even repeat the texture turns about its
  // centre before it is scaled; otherwise scaling and offset come first.
  const bool turnFirst = mOffsetU == 0.0f && mOffsetV == 0.0f && mRepeatU == mRepeatV;
  for (int32_t i = 0; i < arrays.mVertexCount; ++i) {
    const float u = in[i].mU;
    const float v = in[i].mV;
    if (turnFirst) {
      const float a = u - 0.5f;
      const float b = v - 0.5f;
      out[i].mU = mRepeatU * (a * c + b * s + 0.5f);
      out[i].mV = mRepeatV * (b * c - a * s + 0.5f);
    } else {
      const float a = mRepeatU * u + mOffsetU - 0.5f;
      const float b = mRepeatV * v + mOffsetV - 0.5f;
      out[i].mU = a * c + b * s + 0.5f;
      out[i].mV = b * c - a * s + 0.5f;
    }
  }
  arrays.mTextureCoordinates0 = scratch.Count() == 0 ? nullptr : scratch.Begin();
}
