#include "app/creation/VPLObjCreationChar.h"

#include "app/creation/VPLCameraThread.h"
#include "app/creation/VPLPomblePlayer.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <algorithm>

namespace {

MM3DDriverTextureMap* TextureMapOf(const VPLObj& object) {
  const MMStage* stage = object.GetStage();
  return stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
}

// The matrix times the step, in place.
void MultiplyNode(MM3DDisplayTreeNodeTransform* node, const MM3DMatrix& step) {
  if (node == nullptr) return;
  MM3DMatrix matrix = node->GetMatrix();
  matrix *= step;
  node->SetMatrix(matrix);
}

}  // namespace

VPLObjCreationChar::VPLObjCreationChar(VPLSceneBase* scene, const UURefCount<MM3DModel>& model,
                                       VPLCreation* creation)
    : VPLObjCreation(scene, model, creation), mScene(scene) {
  SetAnchorName(kAnchorName);
  RemoveTransformNodes();
  CreateTransformNodes();
  MakePoseVisual();
  MakePlayer();
  mClip = GetModel()->GetAnimationClip();
  ApplyDefaultMaterial();
}

VPLObjCreationChar::~VPLObjCreationChar() {
  if (mCameraThread != nullptr) mCameraThread->Terminate();
}

void VPLObjCreationChar::MakePoseVisual() {
  mPoseVisual = new (ALGlobalAllocator) VPLPombleVisual(this, GetModel(), 1);
  ReplaceVisual(mPoseVisual);
  mPoseVisual->BindBlendNodes();
}

// A model without a clip gets no player: it never performs.
void VPLObjCreationChar::MakePlayer() {
  MM3DAnimationClip* clip = GetModel()->GetAnimationClip();
  if (clip == nullptr) return;
  auto* player = new (ALGlobalAllocator) VPLPomblePlayer(GetScene(), clip, this);
  ReplaceAnimationPlayer(player);
  player->PlayFrames(0, 1, false);
  player->SetCompletionTask({});
}

VPLPomblePlayer* VPLObjCreationChar::GetPlayer() const {
  return dynamic_cast<VPLPomblePlayer*>(GetAnimationPlayer());
}

void VPLObjCreationChar::PlayAnimation(int32_t start, int32_t end, bool loop) {
  if (VPLPomblePlayer* player = GetPlayer()) {
    player->PlayFrames(start, end, loop);
  } else {
    VPLObjCreation::PlayAnimation(start, end, loop);
  }
}

bool VPLObjCreationChar::PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
                                 VPLVertexHolder* record) const {
  return VPLPickDeformedModel(*this, a, b, hit, record);
}

void VPLObjCreationChar::ApplyDefaultMaterial() {
  VPLMaterializer body(TextureMapOf(*this));
  body.LoadPreset(kBodyPreset);
  body.SetColor(kBodyColor);
  body.SetSecondColor(kBodyColor);
  body.SetTexture(-1);
  const auto apply = [this, &body](MM3DDisplayTreeNode* mesh) {
    VPLVertexHolder part;
    part.mNode = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(mesh);
    body.Apply(this, &part);
  };
  MM3DDisplayTreeNode* head = FindNamedNode(VPLBasePombleVisual::kPartNodeNames[kVPLHead]);
  for (MM3DDisplayTreeNode* mesh : VPLFindMeshes(head)) apply(mesh);
  for (int32_t part = kVPLTorso; part < kVPLBodyPartCount; ++part) {
    MM3DDisplayTreeNode* node = FindNamedNode(VPLBasePombleVisual::kPartNodeNames[part]);
    MM3DDisplayTreeNode* mesh =
        node != nullptr ? node->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown) : nullptr;
    if (mesh != nullptr) apply(mesh);
  }
}

void VPLObjCreationChar::CreatePartHighlight() {
  mHighlight = mPoseVisual->CreateHighlightVisual();
  if (mHighlight != nullptr) CreateHighlightNodes();
}

// Each goes directly under the ghost's root, so the chain reads
// translation, rotation, scale, then the ghost's own nodes: the ghost
// stands and turns as the character does.
void VPLObjCreationChar::CreateHighlightNodes() {
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(mHighlight->GetDisplayTree());
  MM3DMatrix identity;
  identity.SetIdentity();
  for (MM3DDisplayTreeNodeTransform** node :
       {&mHighlightNodes.mScale, &mHighlightNodes.mRotation, &mHighlightNodes.mTranslation}) {
    if (*node != nullptr) continue;
    *node = new (ALGlobalAllocator) MM3DDisplayTreeNodeTransform(identity);
    root->InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(*node));
  }
}

void VPLObjCreationChar::RefreshPartHighlight() { mPoseVisual->RefreshHighlight(); }

void VPLObjCreationChar::HidePartHighlight() { mPoseVisual->HideHighlight(); }

// The first frame, played to stand the character up after a change,
// is no show: the character may be placed meanwhile.
bool VPLObjCreationChar::IsPerforming() const {
  const VPLPomblePlayer* player = GetPlayer();
  return player != nullptr && player->IsPlaying() && !player->IsStanding();
}

bool VPLObjCreationChar::HasAllParts() const {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    if (!mPoseVisual->IsPartOn(part)) return false;
  }
  return true;
}

void VPLObjCreationChar::SetRotation(const float& x, const float& y, const float& z) {
  if (IsPerforming()) return;
  if (mHighlightNodes.mRotation != nullptr) {
    MM3DMatrix matrix;
    MM3DMatrixRotationXYZ(matrix, x, y, z);
    mHighlightNodes.mRotation->SetMatrix(matrix);
  }
  VPLObjCreation::SetRotation(x, y, z);
}

void VPLObjCreationChar::RotateBy(const float& x, const float& y, const float& z) {
  if (IsPerforming()) return;
  MM3DMatrix step;
  MM3DMatrixRotationXYZ(step, x, y, z);
  MultiplyNode(mHighlightNodes.mRotation, step);
  VPLObjCreation::RotateBy(x, y, z);
}

void VPLObjCreationChar::SetPosition(const float& x, const float& y, const float& z) {
  if (IsPerforming()) return;
  if (mHighlightNodes.mTranslation != nullptr) {
    MM3DMatrix matrix;
    MM3DMatrixTranslation(matrix, x, y, z);
    mHighlightNodes.mTranslation->SetMatrix(matrix);
  }
  VPLObjCreation::SetPosition(x, y, z);
}

void VPLObjCreationChar::MoveBy(const float& x, const float& y, const float& z) {
  if (IsPerforming()) return;
  MM3DMatrix step;
  MM3DMatrixTranslation(step, x, y, z);
  MultiplyNode(mHighlightNodes.mTranslation, step);
  VPLObjCreation::MoveBy(x, y, z);
}

void VPLObjCreationChar::Reset() {
  std::fill(mSpinIncrement, mSpinIncrement + 3, 0.0f);
  mSpinning = false;
  mSpinPeriod = 0;
  for (RU3DGenericSoundChannel* channel : {GetSpinChannel(), GetPathChannel()}) {
    if (channel != nullptr) channel->Stop();
  }
  SetPosition(0.0f, 0.0f, 0.0f);
  SetRotation(0.0f, 0.0f, 0.0f);
  mPoseVisual->AllPartsOff();
  mPoseVisual->HideHighlight();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    mPoseVisual->SetPartPose(part, 0.0f, true);
  }
  StopPath();
  mPathId = -1;
  std::fill(mReserved, mReserved + 4, 0.0f);
  ApplyDefaultMaterial();
  StopPerformance();
}

MM3DDisplayTreeNodeLocator* VPLObjCreationChar::FindInterestLocator() const {
  MM3DDisplayTreeNode* interest = FindNamedNode(kInterestName);
  if (interest == nullptr) return nullptr;
  return static_cast<MM3DDisplayTreeNodeLocator*>(
      interest->FindNodeOfKind(kMM3DNodeLocator, kMM3DVisitDown));
}
