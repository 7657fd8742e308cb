#include "mm3d/MM3DMaterialAnimations.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DTextureCollection.h"

#include <cmath>
#include <cstring>

namespace {

// The texture position a value selects, held inside the list.
int32_t FramePosition(float value, int32_t firstFrame, int32_t count) {
  const double frame = std::trunc(static_cast<double>(value + 0.5f)) - firstFrame;
  if (!(frame > 0.0)) return 0;
  return frame >= count ? count - 1 : static_cast<int32_t>(frame);
}

// The key of the texture the material's first layer shows; without one,
// a clamped, linearly filtered texture with the handles' own mipmap
// choice.
MM3DTextureKey FlipBookKey(const UURefCount<MM3DMaterial>& material) {
  if (!material.IsEmpty() && material->GetLayerCount() > 0 &&
      !material->GetLayer(0).GetTexture().IsEmpty()) {
    return material->GetLayer(0).GetTexture().GetKey();
  }
  MM3DTextureKey key;
  key.mClamp = 1;
  key.mLinear = 1;
  return key;
}

}  // namespace

void MM3DMaterialAnimationBase::Apply(float seconds) {
  if (HasCurve() && !mMaterial.IsEmpty()) SetValue(*mMaterial, ValueAt(seconds));
}

void MM3DMaterialAnimationBase::ApplyBlended(float time1, float weight1, float time2,
                                             float weight2) {
  if (HasCurve() && !mMaterial.IsEmpty()) {
    SetValue(*mMaterial, BlendedValue(time1, weight1, time2, weight2));
  }
}

bool MM3DMaterialAnimationBase::Write(UUWriter& writer, MM3DModDatabase& database) const {
  return MM3DFunctionCurveAnimationBase::Write(writer, database) &&
         MM3DModDatabase::WriteShared(writer, database.GetMaterials(), mMaterial);
}

bool MM3DMaterialAnimationBase::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DFunctionCurveAnimationBase::Read(reader, database) &&
         MM3DModDatabase::ReadShared(reader, database.GetMaterials(), mMaterial);
}

MM3DMaterialTextureAnimation::MM3DMaterialTextureAnimation(
    UURefCount<MM3DMaterial> material, UURefCount<MM3DFunctionCurve> curve, int32_t layer,
    int32_t firstFrame, const UUGrowableArray<MM3DTextureHandle>& textures)
    : MM3DMaterialAnimationBase(std::move(material), std::move(curve),
                                kMM3DMaterialTextureAnimation),
      mLayer(layer),
      mFirstFrame(firstFrame) {
  mTextures.Reserve(textures.Count());
  for (const MM3DTextureHandle& texture : textures) mTextures.Append(texture);
}

void MM3DMaterialTextureAnimation::SetValue(MM3DMaterial& material, float value) {
  if (mTextures.Count() == 0) return;
  const int32_t position = FramePosition(value, mFirstFrame, mTextures.Count());
  material.SetLayerTexture(mLayer, mTextures[position]);
}

bool MM3DMaterialTextureAnimation::Write(UUWriter& writer, MM3DModDatabase& database) const {
  const int32_t fields[3] = {mLayer, mFirstFrame, mTextures.Count()};
  if (!MM3DMaterialAnimationBase::Write(writer, database) || !writer.WriteInt32s(fields, 3)) {
    return false;
  }
  for (const MM3DTextureHandle& texture : mTextures) {
    char name[kMM3DTextureNameCapacity] = {};
    if (!texture.IsEmpty()) MM3DGetTextureName(name, texture.GetTextureId());
    if (std::strlen(name) >= kNameFieldSize) return false;
    char field[kNameFieldSize] = {};
    std::memcpy(field, name, std::strlen(name));
    if (!writer.Write(field, kNameFieldSize)) return false;
  }
  return true;
}

bool MM3DMaterialTextureAnimation::Read(UUReader& reader, MM3DModDatabase& database) {
  int32_t fields[3] = {};
  if (!MM3DMaterialAnimationBase::Read(reader, database) || !reader.ReadInt32s(fields, 3)) {
    return false;
  }
  mLayer = fields[0];
  mFirstFrame = fields[1];
  if (mLayer < 0 || mLayer >= MM3DMaterial::kMaxLayers || !MM3DCheckCount(reader, fields[2])) {
    return MM3DDatabase::RejectRecord(reader);
  }
  return ReadTextures(reader, database, fields[2]);
}

bool MM3DMaterialTextureAnimation::ReadTextures(UUReader& reader, MM3DModDatabase& database,
                                                int32_t count) {
  mTextures.EraseRange(0, mTextures.Count());
  const MM3DTextureKey key = FlipBookKey(GetMaterial());
  MM3DDriverTextureMap* map = database.GetTextureMap();
  // The list grows as names arrive, so a damaged count reserves nothing.
  for (int32_t i = 0; i < count; ++i) {
    char name[kNameFieldSize];
    if (!reader.Read(name, kNameFieldSize)) return false;
    name[kNameFieldSize - 1] = '\0';
    const MMResourceId id = MM3DFindTextureByName(name);
    mTextures.Append(map == nullptr ? MM3DTextureHandle() : map->GetHandle(id, key));
  }
  return true;
}
