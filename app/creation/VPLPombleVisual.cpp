#include "app/creation/VPLPombleVisual.h"

#include "app/creation/VPLObjCreationChar.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObj.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <cmath>

namespace {

// First weights that mark a blend node no part poses.
constexpr float kUnposedMarks[] = {0.1f, 0.9f};
// The body part of each part code.
constexpr int32_t kPartOfCode[kVPLBodyPartCount] = {kVPLHead,  kVPLLeftArm,  kVPLRightArm,
                                                    kVPLTorso, kVPLLeftFoot, kVPLRightFoot};

// Only a damaged record brings a pose outside 0..1; it would address
// targets the node does not have.
float ClampPose(float value) { return std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f); }

int32_t TargetCount(const MM3DDisplayTreeNodeIndexedBlendShapeArray& node) {
  return node.GetWeights().Count();
}

}  // namespace

VPLPombleVisual::VPLPombleVisual(VPLObj* owner, const UURefCount<MM3DModel>& model, int32_t depth)
    : VPLBasePombleVisual(owner, model, depth) {}

VPLPombleVisual::~VPLPombleVisual() {
  if (mHighlight != nullptr && mHighlight->GetEnclosure() != nullptr) {
    mHighlight->GetEnclosure()->RemoveVisual(mHighlight.get());
  }
}

void VPLPombleVisual::BindBlendNodes() {
  if (GetOwner() != nullptr) GetOwner()->PlayAnimation(0, 0, false);
  UUGrowableArray<MM3DDisplayTreeNode*> found;
  VPLFindAllOfTypeVisitor visitor(kMM3DNodeIndexedBlendShapeArray, found);
  if (GetDisplayTree() != nullptr) GetDisplayTree()->Accept(visitor, kMM3DVisitDown);
  int32_t headsSeen = 0;
  for (MM3DDisplayTreeNode* each : found) {
    auto* node = dynamic_cast<MM3DDisplayTreeNodeIndexedBlendShapeArray*>(each);
    if (node == nullptr || TargetCount(*node) == 0) continue;
    const int32_t part = PartOfCode(node->GetWeights()[0]);
    if (part < 0) continue;
    // The first head node is the eyes, which the clip blinks: never posed.
    if (part == kVPLHead && headsSeen++ == 0) continue;
    FileBlendNode(part, node, mGroups[part].mWeights);
  }
}

int32_t VPLPombleVisual::PartOfCode(float firstWeight) {
  for (float mark : kUnposedMarks) {
    if (firstWeight == mark) return -1;
  }
  if (!(firstWeight > -1.0f && firstWeight < static_cast<float>(kVPLBodyPartCount))) return -1;
  return kPartOfCode[static_cast<int32_t>(firstWeight)];
}

void VPLPombleVisual::FileBlendNode(int32_t part, MM3DDisplayTreeNodeIndexedBlendShapeArray* node,
                                    UUGrowableArray<float>& weights) {
  if (!IsBodyPart(part) || node == nullptr) return;
  if (part != kVPLHead) {
    mGroups[part].mNode = node;
    SizeWeights(*node, weights);
    return;
  }
  mHeadNodes.Append(node);
  for (MM3DDisplayTreeNodeIndexedBlendShapeArray* head : mHeadNodes) SizeWeights(*head, weights);
}

// Room for the node's targets (never less than before); the array's and
// the node's weights all 0.
void VPLPombleVisual::SizeWeights(MM3DDisplayTreeNodeIndexedBlendShapeArray& node,
                                  UUGrowableArray<float>& weights) {
  const int32_t count = std::max(weights.Count(), TargetCount(node));
  weights.EraseRange(0, weights.Count());
  weights.Insert(0, count, 0.0f);
  for (int32_t i = 0; i < TargetCount(node); ++i) node.SetWeight(i, 0.0f);
}

void VPLPombleVisual::SetPartPose(int32_t part, float value, bool redraw) {
  if (!IsBodyPart(part)) return;
  PoseGroup& group = mGroups[part];
  group.mPose = ClampPose(value);
  if (part != kVPLHead) {
    SpreadPoseWeights(group.mNode, group.mWeights, group.mPose, redraw);
    return;
  }
  for (MM3DDisplayTreeNodeIndexedBlendShapeArray* head : mHeadNodes) {
    SpreadPoseWeights(head, group.mWeights, group.mPose, redraw);
  }
}

float VPLPombleVisual::GetPartPose(int32_t part) const {
  return IsBodyPart(part) ? mGroups[part].mPose : 0.0f;
}

void VPLPombleVisual::SpreadPoseWeights(MM3DDisplayTreeNodeIndexedBlendShapeArray* node,
                                        UUGrowableArray<float>& weights, float value, bool redraw) {
  if (node == nullptr || TargetCount(*node) <= 0) return;
  const int32_t n = TargetCount(*node);
  if (weights.Count() < n) SizeWeights(*node, weights);
  const float d = static_cast<float>(n - 1) * ClampPose(value);
  const auto g = static_cast<int32_t>(d);
  const float f = d - static_cast<float>(g);
  std::fill(weights.Begin(), weights.Begin() + n, 0.0f);
  if (f > 0.5f) {
    const float h = 2.0f * (f - 0.5f);
    if (g + 1 < n) weights[g + 1] = h;
    weights[g] = 1.0f - h;
  } else {
    const float h = 2.0f * f;
    if (g >= 1) weights[g - 1] = h;
    weights[g] = 1.0f - h;
  }
  if (redraw) PlayFirstFrame();
}

void VPLPombleVisual::PlayFirstFrame() const {
  if (GetOwner() != nullptr) GetOwner()->PlayAnimation(0, 1, false);
}

void VPLPombleVisual::SetPartOn(int32_t part, bool on) {
  VPLBasePombleVisual::SetPartOn(part, on);
  if (mHighlight != nullptr) mHighlight->SetPartOn(part, !on);
}

void VPLPombleVisual::AllPartsOff() {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) SetPartOn(part, false);
}

void VPLPombleVisual::AllPartsOn() {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) SetPartOn(part, true);
}

VPLBasePombleVisual* VPLPombleVisual::CreateHighlightVisual() {
  if (mHighlight != nullptr) return mHighlight.get();
  const UURefCount<MM3DModel> model = LoadGhostModel();
  if (!model || !model->HasDisplayTree()) return nullptr;
  mHighlight = std::make_unique<VPLBasePombleVisual>(GetOwner(), model, 1);
  if (GetEnclosure() != nullptr) GetEnclosure()->AddVisual(mHighlight.get());
  return mHighlight.get();
}

UURefCount<MM3DModel> VPLPombleVisual::LoadGhostModel() const {
  const VPLScript list(kGhostList, kVPLButtonDefinition);
  if (list.FindTag(0) < 0) return {};
  const MMStage* stage = GetOwner() != nullptr ? GetOwner()->GetStage() : nullptr;
  MM3DDriverTextureMap* textures =
      stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
  return MM3DGetModel(static_cast<MMResourceId>(list.GetTagUInt32(0)), textures);
}

void VPLPombleVisual::RefreshHighlight() {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    const MM3DDisplayTreeNodeSRTTransform* node = GetPartNode(part);
    SetPartOn(part, node != nullptr && node->IsVisible());
  }
}

void VPLPombleVisual::HideHighlight() {
  if (mHighlight == nullptr) return;
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) mHighlight->SetPartOn(part, false);
}

bool VPLPombleVisual::WritePose(UUWriter& writer) const {
  const bool hasHighlight = mHighlight != nullptr;
  bool result = writer.WriteBooleans(&hasHighlight, 1);
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    const bool on = IsPartOn(part);
    writer.WriteFloats(&mGroups[part].mPose, 1);
    result = writer.WriteBooleans(&on, 1);
  }
  return result;
}

bool VPLPombleVisual::ReadPose(UUReader& reader) {
  bool hadHighlight = false;
  bool result = reader.ReadBooleans(&hadHighlight, 1);
  if (result && hadHighlight) {
    if (auto* character = dynamic_cast<VPLObjCreationChar*>(GetOwner())) {
      character->CreatePartHighlight();
    } else {
      CreateHighlightVisual();
    }
  }
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    float pose = 0.0f;
    bool on = false;
    if (!reader.ReadFloats(&pose, 1)) return false;
    SetPartPose(part, pose, false);
    result = reader.ReadBooleans(&on, 1);
    if (!result) return false;
    SetPartOn(part, on);
  }
  HideHighlight();
  return result;
}

void VPLPombleVisual::Draw(const MMDrawContext& context) {
  for (MM3DDisplayTreeNodeIndexedBlendShapeArray* head : mHeadNodes) {
    CopyWeights(mGroups[kVPLHead].mWeights, *head);
  }
  for (int32_t part = kVPLTorso; part < kVPLBodyPartCount; ++part) {
    if (mGroups[part].mNode != nullptr) CopyWeights(mGroups[part].mWeights, *mGroups[part].mNode);
  }
  MM3DDisplayTreeVisual::Draw(context);
}

void VPLPombleVisual::CopyWeights(const UUGrowableArray<float>& weights,
                                  MM3DDisplayTreeNodeIndexedBlendShapeArray& node) {
  const int32_t n = std::min(TargetCount(node), weights.Count());
  for (int32_t i = 0; i < n; ++i) node.SetWeight(i, weights[i]);
}

const UUGrowableArray<float>& VPLPombleVisual::GetWeights(int32_t part) const {
  return mGroups[IsBodyPart(part) ? part : kVPLHead].mWeights;
}

MM3DDisplayTreeNodeIndexedBlendShapeArray* VPLPombleVisual::GetBlendNode(int32_t part) const {
  return IsBodyPart(part) ? mGroups[part].mNode : nullptr;
}
