// The material record of every kind, as the material section of a mod
// database holds it.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DTexturePlacement.h"

#include <memory>

namespace {

MM3DMaterial* MakeMaterial(int32_t kind) {
  switch (kind) {
    case kMM3DMaterialVertexColor:
      return new MM3DMaterialVertexColor;
    case kMM3DMaterialConstant:
      return new MM3DMaterialConstant;
    case kMM3DMaterialLambert:
      return new MM3DMaterialLambert;
    case kMM3DMaterialPhong:
      return new MM3DMaterialPhong;
    default:
      return nullptr;
  }
}

bool WriteFlag(UUWriter& writer, bool flag) {
  const int32_t word = flag ? 1 : 0;
  return writer.WriteInt32s(&word, 1);
}

bool WriteTexture(UUWriter& writer, MM3DModDatabase& database, const MM3DTextureHandle& texture) {
  if (!WriteFlag(writer, !texture.IsEmpty())) return false;
  if (texture.IsEmpty()) return true;
  const MM3DTextureKey& key = texture.GetKey();
  const int32_t words[4] = {database.GetTextureReference(texture.GetTextureId()), key.mClamp,
                            key.mLinear, key.mMipmaps};
  return writer.WriteInt32s(words, 4);
}

bool WritePlacement(UUWriter& writer, const MM3DTexturePlacement* placement) {
  if (!WriteFlag(writer, placement != nullptr)) return false;
  return placement == nullptr || placement->Write(writer);
}

bool WriteLayer(UUWriter& writer, MM3DModDatabase& database,
                const MM3DMaterialTextureLayer& layer) {
  const int32_t blend[2] = {layer.GetBlend().mSource, layer.GetBlend().mDestination};
  return writer.WriteInt32s(blend, 2) && WriteTexture(writer, database, layer.GetTexture()) &&
         WritePlacement(writer, layer.GetPlacement());
}

// A texture reference and its key; the handle comes from the database's
// texture map, and is empty without one.
bool ReadTexture(UUReader& reader, MM3DModDatabase& database, MM3DTextureHandle& texture) {
  int32_t hasTexture = 0;
  if (!reader.ReadInt32s(&hasTexture, 1)) return false;
  if (hasTexture == 0) return true;
  int32_t words[4] = {};
  if (!reader.ReadInt32s(words, 4)) return false;
  MM3DDriverTextureMap* map = database.GetTextureMap();
  if (map == nullptr) return true;
  const MM3DTextureKey key{.mClamp = words[1], .mLinear = words[2], .mMipmaps = words[3]};
  texture = map->GetHandle(database.GetTextureId(words[0]), key);
  return true;
}

bool ReadPlacement(UUReader& reader, MM3DMaterialTextureLayer& layer) {
  int32_t hasPlacement = 0;
  if (!reader.ReadInt32s(&hasPlacement, 1)) return false;
  if (hasPlacement == 0) return true;
  auto placement = std::make_unique<MM3DTexturePlacement>();
  if (!placement->Read(reader)) return false;
  layer.SetPlacement(std::move(placement));
  return true;
}

bool ReadLayer(UUReader& reader, MM3DModDatabase& database, MM3DMaterialTextureLayer& layer) {
  int32_t blend[2] = {};
  MM3DTextureHandle texture;
  if (!reader.ReadInt32s(blend, 2) || !ReadTexture(reader, database, texture)) return false;
  layer = MM3DMaterialTextureLayer(MM3DBlendFactors{blend[0], blend[1]}, texture);
  return ReadPlacement(reader, layer);
}

}  // namespace

bool MM3DMaterial::WriteRecord(UUWriter& writer, MM3DModDatabase& database) const {
  const int32_t kind = GetKind();
  const int32_t layerCount = mLayers.Count();
  if (!writer.WriteInt32s(&kind, 1) || !writer.WriteFloats(&mTransparency, 1) ||
      !writer.WriteInt32s(&layerCount, 1)) {
    return false;
  }
  for (const MM3DMaterialTextureLayer& layer : mLayers) {
    if (!WriteLayer(writer, database, layer)) return false;
  }
  return WriteData(writer);
}

bool MM3DMaterial::ReadRecord(UUReader& reader, MM3DModDatabase& database,
                              UURefCount<MM3DMaterial>& out) {
  int32_t kind = 0;
  float transparency = 0.0f;
  int32_t layerCount = 0;
  if (!reader.ReadInt32s(&kind, 1) || !reader.ReadFloats(&transparency, 1) ||
      !reader.ReadInt32s(&layerCount, 1)) {
    return false;
  }
  if (kind < kMM3DMaterialVertexColor || kind > kMM3DMaterialPhong || layerCount < 0 ||
      layerCount > kMaxLayers) {
    return MM3DDatabase::RejectRecord(reader);
  }
  UUGrowableArray<MM3DMaterialTextureLayer> layers;
  for (int32_t i = 0; i < layerCount; ++i) {
    layers.Append(MM3DMaterialTextureLayer());
    if (!ReadLayer(reader, database, layers[i])) return false;
  }
  out = UURefCount<MM3DMaterial>(MakeMaterial(kind));
  out->mLayers.Swap(layers);
  out->SetTransparency(transparency);
  return out->ReadData(reader);
}

bool MM3DMaterial::WriteData(UUWriter& writer) const { return writer.GetError() == kUUNoError; }

bool MM3DMaterial::ReadData(UUReader& reader) { return reader.GetError() == kUUNoError; }

bool MM3DMaterialWithColor::WriteData(UUWriter& writer) const { return mColor.Write(writer); }

bool MM3DMaterialWithColor::ReadData(UUReader& reader) {
  MM3DColor color = mColor;
  if (!color.Read(reader)) return false;
  SetColor(color);
  return true;
}

bool MM3DMaterialLambert::WriteData(UUWriter& writer) const {
  return GetColor().Write(writer) && writer.WriteFloats(&mDiffuseCoefficient, 1) &&
         mAmbient.Write(writer) && mIncandescence.Write(writer);
}

bool MM3DMaterialLambert::ReadData(UUReader& reader) {
  MM3DColor color = GetColor();
  float coefficient = 0.0f;
  MM3DColor ambient = mAmbient;
  MM3DColor incandescence = mIncandescence;
  if (!color.Read(reader) || !reader.ReadFloats(&coefficient, 1) || !ambient.Read(reader) ||
      !incandescence.Read(reader)) {
    return false;
  }
  SetColor(color);
  SetDiffuseCoefficient(coefficient);
  SetAmbient(ambient);
  SetIncandescence(incandescence);
  return true;
}

bool MM3DMaterialPhong::WriteData(UUWriter& writer) const {
  return MM3DMaterialLambert::WriteData(writer) && mSpecularColor.Write(writer) &&
         writer.WriteFloats(&mSpecularPower, 1);
}

bool MM3DMaterialPhong::ReadData(UUReader& reader) {
  return MM3DMaterialLambert::ReadData(reader) && mSpecularColor.Read(reader) &&
         reader.ReadFloats(&mSpecularPower, 1);
}
