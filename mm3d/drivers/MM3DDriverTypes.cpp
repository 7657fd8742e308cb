#include "mm3d/drivers/MM3DDriverTypes.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

int32_t MM3DDeviceMode::GetColorBits() const {
  return mColorDepthCode == 0 ? 16 : mColorDepthCode == 1 ? 24 : 32;
}

int32_t MM3DDeviceMode::GetDepthBits() const {
  return mDepthBufferCode == 0 ? 0 : mDepthBufferCode == 1 ? 16 : 32;
}

bool MM3DBlendFactors::IsValid() const {
  return mSource != kMM3DBlendUnset && mSource != kMM3DBlendSourceColor &&
         mSource != kMM3DBlendInvSourceColor && mDestination != kMM3DBlendUnset &&
         mDestination != kMM3DBlendDestColor && mDestination != kMM3DBlendInvDestColor;
}

bool MM3DBlendFactors::Write(UUWriter& writer) const {
  const int32_t values[2] = {mSource, mDestination};
  return writer.WriteInt32s(values, 2);
}

bool MM3DBlendFactors::Read(UUReader& reader) {
  int32_t values[2] = {};
  if (!reader.ReadInt32s(values, 2)) return false;
  mSource = values[0];
  mDestination = values[1];
  return true;
}

bool MM3DDepthRange::IsValid() const {
  return mNear >= 0.0f && mNear <= 1.0f && mFar >= 0.0f && mFar <= 1.0f && mNear < mFar;
}

bool MM3DDepthRange::Write(UUWriter& writer) const {
  const float values[2] = {mNear, mFar};
  return writer.WriteFloats(values, 2);
}

bool MM3DDepthRange::Read(UUReader& reader) {
  float values[2] = {};
  if (!reader.ReadFloats(values, 2)) return false;
  mNear = values[0];
  mFar = values[1];
  return true;
}
