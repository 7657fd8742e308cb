#pragma once
// How an object looks, as the child chooses it: a material kind, two
// colours, the lighting values of the lit kinds and a texture. Presets come
// from material tables; the record travels in every sketch. Apply builds a
// fresh engine material each time and gives it to an object's meshes; the
// materializer keeps no hold on what it built. Stage thread only.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DMaterial.h"

#include <cstdint>

class MM3DDriverTextureMap;
class MM3DModelMolecule;
class UUReader;
class UUWriter;
class VPLObj;
class VPLVertexHolder;

enum VPLMaterialKind : int32_t {
  kVPLVertexColorMaterial = 0,
  kVPLConstantMaterial = 1,
  kVPLLambertMaterial = 2,
  kVPLPhongMaterial = 3
};

class VPLMaterializer {
 public:
  // The longest texture name kept, without its terminator.
  static constexpr int32_t kMaxNameLength = 259;

  // A constant, opaque white material without texture, diffuse 1, no light
  // values: what every field holds until a preset or a record fills it.
  explicit VPLMaterializer(MM3DDriverTextureMap* textureMap);
  virtual ~VPLMaterializer() = default;
  VPLMaterializer(const VPLMaterializer& other);
  VPLMaterializer& operator=(const VPLMaterializer& other);

  // The record: kind, colours and light values, the texture's name and id.
  // Each answers the stream's state after its last field. A failed read
  // leaves a usable materializer with one layer.
  virtual bool Write(UUWriter& writer) const;
  virtual bool Read(UUReader& reader);

  // A material table; a tag it lacks reads as 0. With divisor 0 only the
  // texture is taken.
  void LoadPreset(MMResourceId scriptId);
  // Builds the material and gives it to the object's meshes (or only to the
  // hit's part); null does nothing.
  void Apply(VPLObj* object, const VPLVertexHolder* hit = nullptr) const;
  // One layer for the texture, or an untextured one for -1.
  void SetTexture(MMResourceId textureId);
  void ClearLayers() { mLayers = {}; }
  void SetColor(const MM3DColor& color);
  void SetSecondColor(const MM3DColor& color);
  // Describes the material of the hit's part, or else of the first part of
  // the object's first mesh; nothing without one.
  void TakeTextureFrom(const MM3DModelMolecule& object, const VPLVertexHolder* hit, bool takeLayers,
                       bool takeColors);
  void TakeMaterial(const UURefCount<MM3DMaterial>& material, bool takeLayers, bool takeColors);
  // The textures of the first part of the molecule's first mesh.
  void TakeTexturesFromModel(const MM3DModelMolecule& object);

  int32_t GetKind() const { return mKind; }
  void SetKind(int32_t kind) { mKind = kind; }
  const MM3DColor& GetColor() const { return mColor; }
  const MM3DColor& GetSecondColor() const { return mSecondColor; }
  float GetDiffuseCoefficient() const { return mDiffuseCoefficient; }
  void SetDiffuseCoefficient(float coefficient) { mDiffuseCoefficient = coefficient; }
  const MM3DColor& GetAmbient() const { return mAmbient; }
  void SetAmbient(const MM3DColor& ambient) { mAmbient = ambient; }
  const MM3DColor& GetIncandescence() const { return mIncandescence; }
  void SetIncandescence(const MM3DColor& incandescence) { mIncandescence = incandescence; }
  const MM3DColor& GetSpecularColor() const { return mSpecularColor; }
  void SetSpecularColor(const MM3DColor& color) { mSpecularColor = color; }
  float GetSpecularPower() const { return mSpecularPower; }
  void SetSpecularPower(float power) { mSpecularPower = power; }
  const char* GetTextureName() const { return mTextureName; }
  MMResourceId GetTextureId() const { return mTextureId; }
  int32_t GetLayerCount() const { return mLayers.Count(); }
  const MM3DMaterialTextureLayer& GetLayer(int32_t index) const { return mLayers[index]; }

 private:
  void ReadPresetValues(const class VPLScript& preset);
  void ReadPresetTexture(const class VPLScript& preset);
  void SetTextureName(const char* name, int32_t length);
  // A layer for the texture: replacement when it is opaque, else blending.
  MM3DMaterialTextureLayer LayerFor(MMResourceId textureId) const;
  void AppendDefaultLayer();
  // The engine material of the kind, its layers not yet added.
  UURefCount<MM3DMaterial> BuildMaterial(const MM3DColor& color) const;
  void AddLayersTo(MM3DMaterial& material) const;
  // One layer for the texture of the material's first layer; none when the
  // material has no layer.
  void TakeFirstTexture(const MM3DMaterial& material);

  int32_t mKind = kVPLConstantMaterial;
  MM3DColor mColor{1.0f, 1.0f, 1.0f, 0.0f};
  MM3DColor mSecondColor{1.0f, 1.0f, 1.0f, 0.0f};
  float mDiffuseCoefficient = 1.0f;
  MM3DColor mAmbient{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DColor mIncandescence{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DColor mSpecularColor{0.0f, 0.0f, 0.0f, 0.0f};
  float mSpecularPower = 0.0f;
  char mTextureName[kMaxNameLength + 1] = {};
  MMResourceId mTextureId = kMMNoResource;
  UUGrowableArray<MM3DMaterialTextureLayer> mLayers;
  MM3DDriverTextureMap* mTextureMap;
};

// A copy of the layer with its own copy of the placement, so the source
// keeps its placement for the next material built from it.
MM3DMaterialTextureLayer VPLCopyLayer(const MM3DMaterialTextureLayer& layer);
