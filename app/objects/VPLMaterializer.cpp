#include "app/objects/VPLMaterializer.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObj.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/MM3DTexturePlacement.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Tags of a material table.
enum PresetTag : int16_t {
  kKindTag = 0,
  kDivisorTag = 1,
  kColorTag = 2,
  kSecondColorTag = 6,
  kDiffuseTag = 10,
  kAmbientTag = 11,
  kIncandescenceTag = 15,
  kSpecularColorTag = 19,
  kSpecularPowerTag = 23,
  kTextureNameTag = 24,
  kTextureIdTag = 25
};

constexpr MM3DBlendFactors kReplace{kMM3DBlendOne, kMM3DBlendZero};
constexpr MM3DBlendFactors kBlend{kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};

float TagValue(const VPLScript& preset, int16_t tag) {
  return preset.FindTag(tag) < 0 ? 0.0f : static_cast<float>(preset.GetTagInt32(tag));
}

// Four consecutive tags divided by d.
MM3DColor TagColor(const VPLScript& preset, int16_t firstTag, float d) {
  return {TagValue(preset, firstTag) / d, TagValue(preset, static_cast<int16_t>(firstTag + 1)) / d,
          TagValue(preset, static_cast<int16_t>(firstTag + 2)) / d,
          TagValue(preset, static_cast<int16_t>(firstTag + 3)) / d};
}

bool WriteColors(UUWriter& writer, std::initializer_list<const MM3DColor*> colors) {
  bool good = true;
  for (const MM3DColor* color : colors) good = color->Write(writer) && good;
  return good;
}

// The first part's material of the model's first indexed mesh, or empty.
UURefCount<MM3DMaterial> FirstMaterial(const MM3DModelMolecule& object) {
  const UURefCount<MM3DModel>& model = object.GetModel();
  if (model.Get() == nullptr) return {};
  UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(model->GetDisplayTree());
  for (MM3DDisplayTreeNode* node : meshes) {
    auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(node);
    if (mesh->GetPartCount() > 0) return mesh->GetPart(0).mMaterial;
    return {};
  }
  return {};
}

bool NamesTexture(MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  if (id == kMMNoResource || collection == nullptr) return false;
  const UUPoint size = collection->GetSize(MMItemOf(id));
  return size.mX > 0 && size.mY > 0;
}

}  // namespace

MM3DMaterialTextureLayer VPLCopyLayer(const MM3DMaterialTextureLayer& layer) {
  MM3DMaterialTextureLayer copy(layer.GetBlend(), layer.GetTexture());
  if (layer.GetPlacement() != nullptr) {
    copy.SetPlacement(std::make_unique<MM3DTexturePlacement>(*layer.GetPlacement()));
  }
  return copy;
}

VPLMaterializer::VPLMaterializer(MM3DDriverTextureMap* textureMap) : mTextureMap(textureMap) {}

VPLMaterializer::VPLMaterializer(const VPLMaterializer& other) : mTextureMap(other.mTextureMap) {
  *this = other;
}

VPLMaterializer& VPLMaterializer::operator=(const VPLMaterializer& other) {
  if (this == &other) return *this;
  mKind = other.mKind;
  mColor = other.mColor;
  mSecondColor = other.mSecondColor;
  mDiffuseCoefficient = other.mDiffuseCoefficient;
  mAmbient = other.mAmbient;
  mIncandescence = other.mIncandescence;
  mSpecularColor = other.mSpecularColor;
  mSpecularPower = other.mSpecularPower;
  std::memcpy(mTextureName, other.mTextureName, sizeof mTextureName);
  mTextureId = other.mTextureId;
  mTextureMap = other.mTextureMap;
  ClearLayers();
  for (const MM3DMaterialTextureLayer& layer : other.mLayers) mLayers.Append(VPLCopyLayer(layer));
  return *this;
}

bool VPLMaterializer::Write(UUWriter& writer) const {
  writer.WriteInt32s(&mKind, 1);
  WriteColors(writer, {&mColor, &mSecondColor});
  writer.WriteFloats(&mDiffuseCoefficient, 1);
  WriteColors(writer, {&mAmbient, &mIncandescence, &mSpecularColor});
  writer.WriteFloats(&mSpecularPower, 1);
  const auto length = static_cast<int16_t>(std::strlen(mTextureName));
  writer.WriteInt16s(&length, 1);
  if (length > 0) writer.Write(mTextureName, static_cast<uint32_t>(length));
  return writer.WriteInt32s(reinterpret_cast<const int32_t*>(&mTextureId), 1);
}

bool VPLMaterializer::Read(UUReader& reader) {
  reader.ReadInt32s(&mKind, 1);
  for (MM3DColor* color : {&mColor, &mSecondColor}) color->Read(reader);
  reader.ReadFloats(&mDiffuseCoefficient, 1);
  for (MM3DColor* color : {&mAmbient, &mIncandescence, &mSpecularColor}) color->Read(reader);
  reader.ReadFloats(&mSpecularPower, 1);
  int16_t length = 0;
  bool good = reader.ReadInt16s(&length, 1) && length >= 0;
  if (good && length > 0) {
    std::vector<char> name(static_cast<size_t>(length));
    good = reader.Read(name.data(), static_cast<uint32_t>(length));
    if (good) SetTextureName(name.data(), length);
  }
  int32_t id = -1;
  good = good && reader.ReadInt32s(&id, 1);
  // Whatever failed, the materializer ends with one layer.
  SetTexture(good ? static_cast<MMResourceId>(id) : kMMNoResource);
  return good;
}

void VPLMaterializer::SetTextureName(const char* name, int32_t length) {
  const int32_t kept = std::min(length, kMaxNameLength);
  std::memcpy(mTextureName, name, static_cast<size_t>(kept));
  mTextureName[kept] = '\0';
  ClearLayers();
}

void VPLMaterializer::LoadPreset(MMResourceId scriptId) {
  VPLScript preset(scriptId, kVPLMaterialPreset);
  ReadPresetValues(preset);
  mTextureName[0] = '\0';
  mTextureId = kMMNoResource;
  ClearLayers();
  ReadPresetTexture(preset);
  if (mLayers.Count() == 0) AppendDefaultLayer();
}

void VPLMaterializer::ReadPresetValues(const VPLScript& preset) {
  const float d = TagValue(preset, kDivisorTag);
  if (d == 0.0f) return;
  mKind = static_cast<int32_t>(TagValue(preset, kKindTag));
  mColor = TagColor(preset, kColorTag, d);
  mSecondColor = TagColor(preset, kSecondColorTag, d);
  mDiffuseCoefficient = TagValue(preset, kDiffuseTag) / d;
  mAmbient = TagColor(preset, kAmbientTag, d);
  mIncandescence = TagColor(preset, kIncandescenceTag, d);
  mSpecularColor = TagColor(preset, kSpecularColorTag, d);
  mSpecularPower = TagValue(preset, kSpecularPowerTag);
}

void VPLMaterializer::ReadPresetTexture(const VPLScript& preset) {
  if (preset.FindTag(kTextureIdTag) >= 0) {
    SetTexture(static_cast<MMResourceId>(preset.GetTagUInt32(kTextureIdTag)));
    return;
  }
  if (preset.FindTag(kTextureNameTag) < 0) return;
  const char* name = preset.GetTagString(kTextureNameTag);
  SetTextureName(name, static_cast<int32_t>(std::strlen(name)));
  // Found by name, the texture is drawn but its id is not kept.
  mLayers.Append(LayerFor(MM3DFindTextureByName(mTextureName)));
}

MM3DMaterialTextureLayer VPLMaterializer::LayerFor(MMResourceId textureId) const {
  // A texture id that names nothing (a sketch from elsewhere, a damaged
  // record) draws untextured.
  if (!NamesTexture(textureId) || mTextureMap == nullptr) return {kReplace, {}};
  MM3DTextureHandle texture = mTextureMap->GetHandle(textureId, VPLObj::kTextureKey);
  const bool opaque = texture.IsOpaque();
  return {opaque ? kReplace : kBlend, texture};
}

void VPLMaterializer::AppendDefaultLayer() {
  mLayers.Append(MM3DMaterialTextureLayer(kReplace, {}));
}

void VPLMaterializer::SetTexture(MMResourceId textureId) {
  mTextureId = textureId;
  ClearLayers();
  mLayers.Append(LayerFor(textureId));
}

void VPLMaterializer::SetColor(const MM3DColor& color) {
  mColor = color;
  if (mLayers.Count() == 0) {
    mTextureId = kMMNoResource;
    AppendDefaultLayer();
  }
  mLayers[0].SetBlend(mColor.mA != 0.0f && mSecondColor.mA != 0.0f ? kReplace : kBlend);
}

void VPLMaterializer::SetSecondColor(const MM3DColor& color) {
  mSecondColor = color;
  SetColor(mColor);
}

UURefCount<MM3DMaterial> VPLMaterializer::BuildMaterial(const MM3DColor& color) const {
  switch (mKind) {
    case kVPLVertexColorMaterial:
      return UURefCount<MM3DMaterial>(new MM3DMaterialVertexColor(color.mA));
    case kVPLLambertMaterial:
      return UURefCount<MM3DMaterial>(
          new MM3DMaterialLambert(color.mA, color, mDiffuseCoefficient, mAmbient, mIncandescence));
    case kVPLPhongMaterial:
      return UURefCount<MM3DMaterial>(new MM3DMaterialPhong(color.mA, color, mDiffuseCoefficient,
                                                            mAmbient, mIncandescence,
                                                            mSpecularColor, mSpecularPower));
    default:
      return UURefCount<MM3DMaterial>(new MM3DMaterialConstant(color));
  }
}

void VPLMaterializer::AddLayersTo(MM3DMaterial& material) const {
  if (mLayers.Count() == 0) {
    material.AddTextureLayer({material.IsOpaque() ? kReplace : kBlend, {}});
    return;
  }
  for (const MM3DMaterialTextureLayer& layer : mLayers)
    material.AddTextureLayer(VPLCopyLayer(layer));
}

void VPLMaterializer::Apply(VPLObj* object, const VPLVertexHolder* hit) const {
  if (object == nullptr) return;
  // An opaque texture shows its own colours: the material's colour is then
  // drawn without alpha. Transparency settles the first layer's blend.
  MM3DColor color = mColor;
  if (mLayers.Count() > 0) {
    const MM3DTextureHandle& texture = mLayers[0].GetTexture();
    if (!texture.IsEmpty() && texture.IsOpaque()) color.mA = 0.0f;
  }
  UURefCount<MM3DMaterial> material = BuildMaterial(color);
  AddLayersTo(*material);
  material->SetTransparency(mColor.mA);
  object->ApplyMaterial(material, hit);
  object->TakeMaterialColors(mColor, mSecondColor);
}

void VPLMaterializer::TakeMaterial(const UURefCount<MM3DMaterial>& material, bool takeLayers,
                                   bool takeColors) {
  if (material.Get() == nullptr) return;
  const MM3DMaterial& source = *material;
  const float transparency = source.GetTransparency();
  mKind = source.GetKind();
  if (const auto* colored = dynamic_cast<const MM3DMaterialWithColor*>(&source)) {
    if (takeColors) mColor = mSecondColor = colored->GetColor();
  }
  mColor.mA = mSecondColor.mA = transparency;
  if (const auto* lambert = dynamic_cast<const MM3DMaterialLambert*>(&source)) {
    mDiffuseCoefficient = lambert->GetDiffuseCoefficient();
    mAmbient = lambert->GetAmbient();
    mIncandescence = lambert->GetIncandescence();
  }
  if (const auto* phong = dynamic_cast<const MM3DMaterialPhong*>(&source)) {
    mSpecularColor = phong->GetSpecularColor();
    mSpecularPower = phong->GetSpecularPower();
  }
  if (takeLayers) TakeFirstTexture(source);
}

void VPLMaterializer::TakeFirstTexture(const MM3DMaterial& material) {
  ClearLayers();
  if (material.GetLayerCount() == 0) return;
  const MM3DTextureHandle& texture = material.GetLayer(0).GetTexture();
  SetTexture(texture.IsEmpty() ? kMMNoResource : texture.GetTextureId());
}

void VPLMaterializer::TakeTextureFrom(const MM3DModelMolecule& object, const VPLVertexHolder* hit,
                                      bool takeLayers, bool takeColors) {
  UURefCount<MM3DMaterial> material;
  if (hit != nullptr && hit->mNode != nullptr && hit->mPart >= 0 &&
      hit->mPart < hit->mNode->GetPartCount()) {
    material = hit->mNode->GetPart(hit->mPart).mMaterial;
  } else {
    material = FirstMaterial(object);
  }
  TakeMaterial(material, takeLayers, takeColors);
}

void VPLMaterializer::TakeTexturesFromModel(const MM3DModelMolecule& object) {
  UURefCount<MM3DMaterial> material = FirstMaterial(object);
  if (material.Get() != nullptr) TakeFirstTexture(*material);
}
