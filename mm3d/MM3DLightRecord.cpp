// The light record of every kind, as the light section of a mod database
// holds it.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DLightSources.h"

#include <memory>

namespace {

MM3DLight* MakeLight(int32_t kind) {
  switch (kind) {
    case kMM3DPointLight:
      return new MM3DPointLightSource;
    case kMM3DInfiniteLight:
      return new MM3DInfiniteLightSource;
    case kMM3DSpotLight:
      return new MM3DSpotLightSource;
    case kMM3DAmbientLight:
      return new MM3DAmbientLightSource;
    default:
      return nullptr;
  }
}

}  // namespace

bool MM3DLight::WriteData(UUWriter& writer) const { return writer.GetError() == kUUNoError; }

bool MM3DLight::ReadData(UUReader& reader) { return reader.GetError() == kUUNoError; }

bool MM3DLight::WriteRecord(UUWriter& writer) const {
  const int32_t kind = GetKind();
  return writer.WriteInt32s(&kind, 1) && MM3DDatabase::SaveReference(writer, this) &&
         mPosition.Write(writer) && mColor.Write(writer) && writer.WriteFloats(&mIntensity, 1) &&
         WriteData(writer);
}

bool MM3DLight::ReadRecord(UUReader& reader, UUOwned<MM3DLight>& light) {
  int32_t kind = 0;
  if (!MM3DDatabase::ReadInt32(reader, kind)) return false;
  MM3DLight* made = MakeLight(kind);
  if (made == nullptr) return MM3DDatabase::RejectRecord(reader);
  light.Reset(made);
  MM3DVector position = made->mPosition;
  MM3DColor color = made->mColor;
  float intensity = made->mIntensity;
  if (!MM3DDatabase::LoadReference(reader, made) || !position.Read(reader) || !color.Read(reader) ||
      !reader.ReadFloats(&intensity, 1)) {
    return false;
  }
  made->SetPosition(position);
  if (color != made->mColor) made->SetColor(color);
  if (intensity != made->mIntensity) made->SetIntensity(intensity);
  return made->ReadData(reader);
}

bool MM3DInfiniteLightSource::WriteData(UUWriter& writer) const { return mDirection.Write(writer); }

bool MM3DInfiniteLightSource::ReadData(UUReader& reader) { return mDirection.Read(reader); }

bool MM3DSpotLightSource::WriteData(UUWriter& writer) const {
  const bool hasInterest = mInterest != nullptr;
  if (!writer.WriteBooleans(&hasInterest, 1)) return false;
  if (hasInterest) {
    if (!MM3DDatabase::SaveReference(writer, mInterest.get()) ||
        !mInterest->GetPoint().Write(writer)) {
      return false;
    }
  }
  const float angles[2] = {mConeAngle, mPenumbraAngle};
  return writer.WriteFloats(angles, 2);
}

bool MM3DSpotLightSource::ReadData(UUReader& reader) {
  bool hasInterest = false;
  if (!reader.ReadBooleans(&hasInterest, 1)) return false;
  mInterest.reset();
  if (hasInterest) {
    auto interest = std::make_unique<MM3DSpotLightInterest>(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
    MM3DVector point = interest->GetPoint();
    if (!MM3DDatabase::LoadReference(reader, interest.get()) || !point.Read(reader)) return false;
    interest->SetPoint(point);
    mInterest = std::move(interest);
  }
  float angles[2] = {};
  if (!reader.ReadFloats(angles, 2)) return false;
  mConeAngle = angles[0];
  mPenumbraAngle = angles[1];
  return true;
}
