#pragma once
// Models for the tests, the fuzzer's seeds and the benchmarks, made with
// the system's own writer: the character (a torso with head, arms and feet,
// named by the application's part names, a light, a camera and a clip that
// walks it), and helpers that write a model file into bytes and read one
// back, a showcase of every light kind and material animation, and a
// skinned arm whose mesh lies below a skin and a blend shape.

#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DLightAnimations.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DMaterialAnimations.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "mm3d/MM3DTexturePlacement.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace model_fixtures {

// The character's parts, in the order they hang under the torso.
inline const char* const kLimbNames[] = {"_head", "_L_arm", "_R_arm", "_L_foot", "_R_foot"};
// Where the clip moves the torso: y at 0 s, 1 s and 2 s.
constexpr float kTorsoHeights[] = {0.0f, 2.0f, 1.0f};
constexpr float kClipEnd = 2.0f;

inline UURefCount<MM3DFunctionCurve> Curve(std::initializer_list<MM3DLinearCurveKey> keys) {
  UUGrowableArray<MM3DLinearCurveKey> array;
  for (const MM3DLinearCurveKey& key : keys) array.Append(key);
  return UURefCount<MM3DFunctionCurve>(new MM3DLinearFunctionCurve(array, kMM3DPlainValue));
}

inline MM3DDisplayTreeNodeSRTTransform* AddPart(MM3DDisplayTreeNodeWithChildren& parent, float x,
                                                float y) {
  auto* part = new MM3DDisplayTreeNodeSRTTransform;
  part->SetTranslation(MM3DVector(x, y, 0.0f, 0.0f));
  parent.AddChild(UUOwned<MM3DDisplayTreeNode>(part));
  return part;
}

// Root > visibility > torso > head, arms, feet; a light node under the
// root; the torso's height and the head's turn driven by the clip, the
// light's red and the material's transparency as well.
inline UURefCount<MM3DModel> MakeCharacter() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  auto* body = new MM3DDisplayTreeNodeWithVisibility;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(body));
  MM3DDisplayTreeNodeSRTTransform* torso = AddPart(*body, 0.0f, kTorsoHeights[0]);
  std::vector<MM3DDisplayTreeNodeSRTTransform*> limbs;
  for (size_t i = 0; i < std::size(kLimbNames); ++i) {
    limbs.push_back(AddPart(*torso, static_cast<float>(i), -1.0f));
  }
  UURefCount<MM3DLight> light(new MM3DPointLightSource(MM3DVector(0.0f, 5.0f, 0.0f, 1.0f),
                                                       MM3DColor{1.0f, 0.5f, 0.25f, 1.0f}, 1.0f));
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeLight(light)));

  UURefCount<MM3DMaterial> material(new MM3DMaterialLambert);
  auto* clip = new MM3DAnimationClip;
  clip->SetEndTime(kClipEnd);
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DSRTAnimation(
      torso, Curve({{0.0f, kTorsoHeights[0]}, {1.0f, kTorsoHeights[1]}, {2.0f, kTorsoHeights[2]}}),
      20)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DSRTAnimation(limbs[0], Curve({{0.0f, 0.0f}, {2.0f, 1.0f}}), 5)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DLightRedAnimation(light, Curve({{0.0f, 1.0f}, {2.0f, 0.0f}}))));
  clip->AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DMaterialTransparencyAnimation(material, Curve({{0.0f, 0.0f}, {2.0f, 0.5f}}))));

  UURefCount<MM3DModel> model(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>(clip)));
  model->AddNamedNode("_torso", torso);
  for (size_t i = 0; i < limbs.size(); ++i) model->AddNamedNode(kLimbNames[i], limbs[i]);
  model->GetLights().PushBack(light);
  model->GetCameras().PushBack(UURefCount<MM3DCamera>(new MM3DCamera));
  return model;
}

inline UURefCount<MM3DMaterial> TexturedPhong() {
  const MM3DColor white{1.0f, 1.0f, 1.0f, 1.0f};
  UURefCount<MM3DMaterial> material(
      new MM3DMaterialPhong(0.0f, white, 1.0f, white, white, white, 2.0f));
  MM3DMaterialTextureLayer layer(MM3DBlendFactors{}, MM3DTextureHandle());
  layer.SetPlacement(std::make_unique<MM3DTexturePlacement>());
  material->AddTextureLayer(std::move(layer));
  return material;
}

// A light node of each kind, every material and light animation kind and
// an animation of the material's texture placement.
inline UURefCount<MM3DModel> MakeShowcase() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  const MM3DColor color{0.5f, 0.5f, 0.5f, 1.0f};
  const UURefCount<MM3DLight> lights[] = {
      UURefCount<MM3DLight>(new MM3DPointLightSource(MM3DVector(0, 1, 0, 1), color, 1.0f)),
      UURefCount<MM3DLight>(new MM3DInfiniteLightSource(color, 1.0f, MM3DVector(0, -1, 0, 0))),
      UURefCount<MM3DLight>(new MM3DSpotLightSource(
          MM3DVector(0, 3, 0, 1), color, 1.0f,
          std::make_unique<MM3DSpotLightInterest>(MM3DVector(0, 0, 0, 1)), 0.5f, 0.1f)),
      UURefCount<MM3DLight>(new MM3DAmbientLightSource(color, 0.5f))};
  for (const UURefCount<MM3DLight>& light : lights) {
    root->AddChild(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeLight(light)));
  }
  const UURefCount<MM3DMaterial> material = TexturedPhong();
  const UURefCount<MM3DFunctionCurve> curve = Curve({{0.0f, 0.0f}, {1.0f, 1.0f}});
  auto* clip = new MM3DAnimationClip;
  clip->SetEndTime(1.0f);
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DMaterialDiffuseRedAnimation(material, curve)));
  clip->AddAnimation(
      UUOwned<MM3DAnimation>(new MM3DMaterialAmbientGreenAnimation(material, curve)));
  clip->AddAnimation(
      UUOwned<MM3DAnimation>(new MM3DMaterialIncandescenceBlueAnimation(material, curve)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DMaterialSpecularRedAnimation(material, curve)));
  clip->AddAnimation(
      UUOwned<MM3DAnimation>(new MM3DMaterialDiffuseCoefficientAnimation(material, curve)));
  clip->AddAnimation(
      UUOwned<MM3DAnimation>(new MM3DMaterialSpecularPowerAnimation(material, curve)));
  UUGrowableArray<MM3DTextureHandle> frames;
  frames.Append(MM3DTextureHandle());
  clip->AddAnimation(
      UUOwned<MM3DAnimation>(new MM3DMaterialTextureAnimation(material, curve, 0, 0, frames)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DLightBlueAnimation(lights[2], curve)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DTexturePlacementAnimation(material->GetLayer(0).GetPlacement(), curve, 4)));
  UURefCount<MM3DModel> model(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>(clip)));
  model->AddNamedNode("_spot", root->GetChild(2));
  return model;
}

// Root > shoulder joint > elbow joint 2 along x; root > skin over both
// joints > dense blend shape > lit mesh of one triangle: (1, 0, 0) on the
// shoulder, (3, 0, 0) on the elbow, (2.5, 0, 0) on both. The clip bends
// the elbow a quarter turn and raises the blend shape's weight, which
// lifts the first corner by 1 in z, over one second.
inline UURefCount<MM3DModel> MakeSkinnedArm() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  auto* shoulder = new MM3DDisplayTreeNodeJoint;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(shoulder));
  auto* elbow = new MM3DDisplayTreeNodeJoint;
  elbow->SetTranslationX(2.0f);
  shoulder->AddChild(UUOwned<MM3DDisplayTreeNode>(elbow));

  UUGrowableArray<MM3DSkinInfluence> influences;
  influences.Append(MM3DSkinInfluence{0, MakeArray<MM3DSkinWeight>({{0, 1.0f}, {2, 0.5f}})});
  influences.Append(MM3DSkinInfluence{1, MakeArray<MM3DSkinWeight>({{1, 1.0f}, {2, 0.5f}})});
  UUGrowableArray<UUGrowableArray<MM3DSkinInfluence>> part;
  part.Append(std::move(influences));
  MM3DSkinInfluences skinInfluences;
  skinInfluences.Append(std::move(part));
  MM3DMatrix elbowBind;
  MM3DMatrixTranslation(elbowBind, -2.0f, 0.0f, 0.0f);
  auto* skin = new MM3DDisplayTreeNodeIndexedSkin(
      std::move(skinInfluences), MakeArray<MM3DDisplayTreeNodeJoint*>({shoulder, elbow}),
      MakeArray<MM3DMatrix>({MM3DMatrixIdentity, elbowBind}));
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(skin));
  auto* blend = new MM3DDisplayTreeNodeIndexedBlendShapeArray(
      MakeArray<float>({0.0f}), OneBlockTargets<MM3DVector>({{{0, 0, 1, 0}}}),
      OneBlockTargets<MM3DVector>({{}}));
  skin->AddChild(UUOwned<MM3DDisplayTreeNode>(blend));
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart meshPart;
  meshPart.mMaterial = UURefCount<MM3DMaterial>(new MM3DMaterialLambert);
  meshPart.mBlocks.Append(MakeBlock({{1, 0, 0, 1}, {3, 0, 0, 1}, {2.5f, 0, 0, 1}},
                                    {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}}));
  mesh->AddPart(meshPart);
  blend->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));

  auto* clip = new MM3DAnimationClip;
  clip->SetEndTime(1.0f);
  constexpr int32_t kRotationZ = 6;
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DJointAnimation(
      elbow, Curve({{0.0f, 0.0f}, {1.0f, std::numbers::pi_v<float> / 2}}), kRotationZ)));
  clip->AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DBlendShapeWeightAnimation(blend, Curve({{0.0f, 0.0f}, {1.0f, 1.0f}}), 0)));
  UURefCount<MM3DModel> model(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>(clip)));
  model->AddNamedNode("_elbow", elbow);
  return model;
}

// Room for the parts of a model file written aside.
constexpr int32_t kScratchSize = 1 << 20;

inline std::vector<uint8_t> WriteModelBytes(const UURefCount<MM3DModel>& model,
                                            UUByteOrder order = kUUNativeByteOrder) {
  ByteWriter writer;
  writer.SetWriteByteOrder(order);
  std::vector<uint8_t> scratch(kScratchSize);
  UUMemory memory(scratch.data(), kScratchSize);
  MM3DCompiledTextureModDatabase database;
  if (!MM3DWriteModel(writer, model, database, memory)) return {};
  return writer.mBytes;
}

inline UURefCount<MM3DModel> ReadModelBytes(const std::vector<uint8_t>& bytes,
                                            MM3DDriverTextureMap* map = nullptr) {
  ByteReader reader(bytes);
  MM3DCompiledTextureModDatabase database;
  return MM3DReadModel(reader, database, map);
}

// Writes a model resource file of the models with the system's writer:
// subfile i is model i, named "model<i>", and the file has entryCount
// entries, all zero.
inline bool WriteModelFile(const UUDirectory& directory, const char* name, int16_t collection,
                           const std::vector<UURefCount<MM3DModel>>& models,
                           UUByteOrder order = kUUNativeByteOrder, int16_t entryCount = 0) {
  const auto n = static_cast<int16_t>(models.size());
  MM3DModelResourceFile file;
  if (!file.Create(directory, name, UUFileOptions(), n, collection, order) ||
      !file.SetEntryCount(entryCount)) {
    return false;
  }
  std::vector<uint8_t> scratch(kScratchSize);
  UUMemory memory(scratch.data(), kScratchSize);
  for (int16_t i = 0; i < n; ++i) {
    MM3DCompiledTextureModDatabase database;
    const std::string subfile = "model" + std::to_string(i);
    if (!file.WriteModel(i, subfile.c_str(), models[static_cast<size_t>(i)], database, memory)) {
      return false;
    }
  }
  return file.RecordEndOffset() && file.Close(true);
}

}  // namespace model_fixtures
