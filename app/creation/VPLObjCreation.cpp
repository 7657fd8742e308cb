#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLCreation.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/al/ALMilliseconds.h"
#include "media/sound/MMSoundGroup.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDriverTextureMap.h"

#include <cstdint>

VPLObjCreation::VPLObjCreation(MMScene* scene, const UURefCount<MM3DModel>& model,
                               VPLCreation* creation)
    : VPLObj(scene, model), mCreation(creation) {
  mScaleBase.SetIdentity();
  ReadSoundIds();
  CollectMeshNodes();
}

VPLObjCreation::~VPLObjCreation() {
  for (std::unique_ptr<RU3DGenericSoundChannel>* channel :
       {&mPathChannel, &mSpinChannel, &mJiggleChannel}) {
    if (*channel) (*channel)->Stop();
    channel->reset();
  }
  if (mPathMolecule) mPathMolecule->Detach();
}

void VPLObjCreation::ReadSoundIds() {
  const VPLScript script(kSoundScript, kVPLUntaggedTable);
  // A missing row gives -1: no sound.
  const auto sound = [&script](int16_t key) {
    return script.FindTag(key) < 0 ? kMMNoResource
                                   : static_cast<MMResourceId>(script.GetTagUInt32(key));
  };
  mSpinSound = sound(0);
  mJiggleSound = sound(1);
  mPathSound = sound(2);
}

void VPLObjCreation::CollectMeshNodes() {
  mMeshNodes = UUGrowableArray<MM3DDisplayTreeNodeIndexedMesh*>();
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(GetDisplayTreeRoot());
  for (int32_t i = 0; i < meshes.Count(); ++i) {
    mMeshNodes.Append(static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[i]));
  }
}

namespace {

// The only child of a node when it is a transform node, else null.
MM3DDisplayTreeNodeTransform* OnlyTransformChild(const MM3DDisplayTreeNode* node) {
  const auto* parent = dynamic_cast<const MM3DDisplayTreeNodeWithChildren*>(node);
  if (parent == nullptr || parent->GetChildCount() != 1) return nullptr;
  return dynamic_cast<MM3DDisplayTreeNodeTransform*>(parent->GetChild(0));
}

}  // namespace

void VPLObjCreation::TakeWrittenTransforms() {
  MM3DDisplayTreeNodeTransform* scale = GetScaleNode();
  TransformNodes written;
  written.mTranslation = OnlyTransformChild(scale);
  written.mRotation = OnlyTransformChild(written.mTranslation);
  written.mScale = OnlyTransformChild(written.mRotation);
  if (written.mScale == nullptr || GetRotationNode() == nullptr) return;
  GetRotationNode()->SetMatrix(written.mRotation->GetMatrix());
  scale->SetMatrix(written.mScale->GetMatrix());
  RemoveTransformNodesOf(written);
  CollectMeshNodes();
}

int32_t VPLObjCreation::Now() const {
  MMStage* stage = GetStage();
  return stage != nullptr ? stage->GetTaskManager()->GetNow() : 0;
}

void VPLObjCreation::SetLocation(const MM3DVector& point) {
  // The move refreshes the bounds.
  VPLObj::SetLocation(point);
  MoveSoundSources();
}

void VPLObjCreation::MoveSoundSources() {
  const MM3DVector position = GetWorldPosition();
  for (RU3DGenericSoundChannel* channel :
       {mSpinChannel.get(), mJiggleChannel.get(), mPathChannel.get()}) {
    if (channel == nullptr || channel->mSource.Equals(position)) continue;
    channel->mSource = position;
    channel->mDirty = true;
  }
}

bool VPLObjCreation::IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const {
  return mBusy != 0 || VPLObj::IntersectsBounds(a, b);
}

void VPLObjCreation::ApplyMaterial(const UURefCount<MM3DMaterial>& shader,
                                   const VPLVertexHolder* hit) {
  VPLObj::ApplyMaterial(shader, hit);
  if (const auto* colored = dynamic_cast<const MM3DMaterialWithColor*>(shader.Get())) {
    mBaseColor = colored->GetColor();
  }
  mPulsing = false;
}

void VPLObjCreation::TakeMaterialColors(const MM3DColor& color, const MM3DColor& second) {
  if (!(color == second)) SetColors(color, second);
}

void VPLObjCreation::Tick(int32_t now) {
  if (!mStepsHeld) {
    StepSpin(now);
    StepScaleJiggle(now);
    StepColorPulse(now);
    StepPath(now);
  }
  SoundsFollowCamera();
}

void VPLObjCreation::SoundsFollowCamera() {
  for (RU3DGenericSoundChannel* channel :
       {mSpinChannel.get(), mJiggleChannel.get(), mPathChannel.get()}) {
    if (channel != nullptr) FollowCamera(channel);
  }
}

void VPLObjCreation::FollowCamera(RU3DGenericSoundChannel* channel) const {
  if (mCreation != nullptr) {
    const MM3DVector eye = mCreation->GetCamera().GetEye();
    if (!channel->mListener.Equals(eye)) {
      channel->mListener = eye;
      channel->mDirty = true;
    }
  }
  if (static_cast<int32_t>(ALMilliseconds()) - channel->mLastUpdate >= channel->mUpdateInterval) {
    channel->UpdateSpatialization();
  }
}

void VPLObjCreation::MakeChannel(std::unique_ptr<RU3DGenericSoundChannel>& channel) {
  if (channel) return;
  auto* group = dynamic_cast<MMSoundGroup*>(GetScene()->GetSoundGroup());
  if (group == nullptr) return;
  const MM3DVector origin(0.0f, 0.0f, 0.0f, 1.0f);
  const MM3DVector eye = mCreation != nullptr ? mCreation->GetCamera().GetEye() : origin;
  const MM3DVector facing = mCreation != nullptr ? mCreation->GetCamera().GetInterest() : origin;
  channel = std::make_unique<RU3DGenericSoundChannel>(group, eye, facing, GetWorldPosition(),
                                                      kSoundUpdateInterval);
}

void VPLObjCreation::StartSound(RU3DGenericSoundChannel* channel, MMResourceId sound, bool loop) {
  if (channel == nullptr || channel->GetChannel().IsPlaying()) return;
  channel->Play(MMSoundReference(sound), loop);
}

void VPLObjCreation::IncrementBusy() {
  if (mBusy < INT16_MAX) ++mBusy;
}

void VPLObjCreation::DecrementBusy() {
  if (mBusy > 0) --mBusy;
}

MM3DDisplayTreeNodeIndexedMesh* VPLObjCreation::FirstMesh() const {
  MM3DDisplayTreeNode* root = GetDisplayTreeRoot();
  if (root == nullptr) return nullptr;
  return static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
      root->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown));
}

int32_t VPLObjCreation::GetPartTexture(int16_t part) const {
  const MM3DDisplayTreeNodeIndexedMesh* mesh = FirstMesh();
  if (mesh == nullptr || part < 0 || part >= mesh->GetPartCount()) return -1;
  const MM3DMaterial* material = mesh->GetPart(part).mMaterial.Get();
  if (material == nullptr || material->GetLayerCount() == 0) return -1;
  const MM3DTextureHandle& texture = material->GetLayer(0).GetTexture();
  return texture.IsEmpty() ? -1 : texture.GetTextureId();
}

void VPLObjCreation::SetPartTexture(int16_t part, int32_t textureId) {
  MM3DDisplayTreeNodeIndexedMesh* mesh = FirstMesh();
  MM3DDriverTextureMap* map = VPLGetServices().mTextureMap;
  if (mesh == nullptr || map == nullptr || part < 0 || part >= mesh->GetPartCount()) return;
  MM3DMaterial* material = mesh->GetPart(part).mMaterial.Get();
  if (material == nullptr) return;
  const MM3DTextureHandle handle = map->GetHandle(textureId, kTextureKey);
  const MM3DBlendFactors blend =
      handle.IsOpaque() ? MM3DBlendFactors{kMM3DBlendOne, kMM3DBlendZero}
                        : MM3DBlendFactors{kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};
  MM3DMaterialTextureLayer layer(blend, handle);
  if (material->GetLayerCount() == 0) {
    material->AddTextureLayer(std::move(layer));
  } else {
    material->SetTextureLayer(0, std::move(layer));
  }
}

void VPLObjCreation::GetTransform(MM3DMatrix& out) const {
  MM3DDisplayTreeNodeTransform* scale = GetScaleNode();
  if (scale == nullptr) {
    out.SetIdentity();
    return;
  }
  scale->GetWorldMatrix(out);
}
