#include "app/creation/VPLObjCreationGroup.h"

#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUMemory.h"

#include <algorithm>

namespace {

const MM3DVector kNoHit(0.0f, 0.0f, 0.0f, 1.0f);

}  // namespace

VPLObjCreationGroup::VPLObjCreationGroup(MMScene* scene, const UURefCount<MM3DModel>& model,
                                         VPLCreation* creation)
    : VPLObjCreation(scene, model, creation) {
  // The anchor's own transform nodes place the shared tree; the group's
  // would only sit above them doing nothing, and its visual would draw the
  // anchor a second time.
  RemoveTransformNodes();
  DestroyVisual();
  RefreshBounds();
}

VPLObjCreationGroup::~VPLObjCreationGroup() {
  for (VPLObjCreation* child : mChildren) {
    child->Detach();
    delete child;
  }
}

VPLObjCreationType VPLObjCreationGroup::GetFirstChildType() const {
  return mChildren.empty() ? kVPLObjCreationBase : mChildren.front()->GetType();
}

int32_t VPLObjCreationGroup::GetChildType(int32_t i) const {
  const VPLObjCreation* child = GetChild(i);
  return child != nullptr ? child->GetType() : -1;
}

VPLObjCreation* VPLObjCreationGroup::GetChild(int32_t i) const {
  if (i < 0 || i >= GetChildCount()) return nullptr;
  return mChildren[static_cast<size_t>(i)];
}

UURefCount<MM3DModel> VPLObjCreationGroup::GetFirstChildModel() const {
  return mChildren.empty() ? UURefCount<MM3DModel>() : mChildren.front()->GetModel();
}

int32_t VPLObjCreationGroup::IndexOf(const VPLObjCreation* object) const {
  const auto found = std::find(mChildren.begin(), mChildren.end(), object);
  return found == mChildren.end() ? -1 : static_cast<int32_t>(found - mChildren.begin());
}

void VPLObjCreationGroup::AppendChild(VPLObjCreation* object) { mChildren.push_back(object); }

void VPLObjCreationGroup::AddChild(VPLObjCreation* object, bool highlight) {
  if (IndexOf(object) < 0) {
    object->BakeScale();
    mChildren.push_back(object);
    if (highlight) object->SetHighlight(true, mTint);
    if (!mPlacements.empty()) {
      MM3DVector offset = object->GetWorldPosition().Direction(GetWorldPosition());
      offset.mW = 0.0f;
      mPlacements.push_back(offset);
    }
  }
  RefreshBounds();
}

void VPLObjCreationGroup::RemoveChild(VPLObjCreation* object, bool unhighlight) {
  const int32_t index = IndexOf(object);
  if (index >= 0) {
    mChildren.erase(mChildren.begin() + index);
    ClearPlacements();
    if (unhighlight) object->SetHighlight(false, mTint);
  }
  RefreshBounds();
}

void VPLObjCreationGroup::ClearPlacements() {
  mPlacements.clear();
  for (VPLObjCreation* child : mChildren) {
    if (auto* group = dynamic_cast<VPLObjCreationGroup*>(child)) group->ClearPlacements();
  }
}

void VPLObjCreationGroup::TransformPlacements(const MM3DMatrix& matrix) {
  if (mPlacements.empty()) return;
  const std::vector<MM3DVector> before = mPlacements;
  matrix.TransformDirections(mPlacements.data(), before.data(),
                             static_cast<int32_t>(before.size()));
}

void VPLObjCreationGroup::SetHighlight(bool on, const MM3DColor& tint) {
  if (on && !IsHighlighted()) mTint = tint;
  HoldHighlight(on);
  for (VPLObjCreation* child : mChildren) child->SetHighlight(on, tint);
}

MM3DVector VPLObjCreationGroup::GetWorldPosition() const {
  return mChildren.empty() ? kNoHit : mChildren.front()->GetWorldPosition();
}

void VPLObjCreationGroup::GetTransform(MM3DMatrix& out) const {
  if (mChildren.empty()) {
    out.SetIdentity();
    return;
  }
  mChildren.front()->GetTransform(out);
}

void VPLObjCreationGroup::RefreshBounds() {
  for (VPLObjCreation* child : mChildren) child->RefreshBounds();
  BuildBounds();
}

void VPLObjCreationGroup::BuildBounds() {
  MM3DVector low(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector high(0.0f, 0.0f, 0.0f, 1.0f);
  for (size_t i = 0; i < mChildren.size(); ++i) {
    MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
    MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
    mChildren[i]->GetBounds(min, max);
    if (i == 0) {
      low = min;
      high = max;
      continue;
    }
    low = MM3DVector(std::min(low.mX, min.mX), std::min(low.mY, min.mY), std::min(low.mZ, min.mZ),
                     1.0f);
    high = MM3DVector(std::max(high.mX, max.mX), std::max(high.mY, max.mY),
                      std::max(high.mZ, max.mZ), 1.0f);
  }
  SetBoundingVolume(
      std::make_unique<VPLBoundingBox>(low.mX, low.mY, low.mZ, high.mX, high.mY, high.mZ));
}

bool VPLObjCreationGroup::IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const {
  if (VPLObjCreation::IntersectsBounds(a, b)) return true;
  return std::any_of(mChildren.begin(), mChildren.end(),
                     [&](const VPLObjCreation* child) { return child->IntersectsBounds(a, b); });
}

VPLObjCreation* VPLObjCreationGroup::PickChild(const MM3DVector& start, const MM3DVector& end,
                                               MM3DVector* hit, VPLVertexHolder* vertex,
                                               bool descend) const {
  VPLObjCreation* best = nullptr;
  MM3DVector bestHit = kNoHit;
  float bestDistance = 0.0f;
  VPLVertexHolder bestVertex;
  for (VPLObjCreation* child : mChildren) {
    if (!child->IntersectsBounds(start, end)) continue;
    MM3DVector point = kNoHit;
    VPLVertexHolder corner;
    if (!child->PickRay(start, end, point, &corner)) continue;
    const float distance = point.Direction(start).LengthSquared();
    if (best != nullptr && !(distance < bestDistance)) continue;
    best = child;
    bestHit = point;
    bestVertex = corner;
    bestDistance = distance;
  }
  if (best == nullptr) return nullptr;
  if (hit != nullptr) *hit = bestHit;
  if (vertex != nullptr) *vertex = bestVertex;
  const auto* nested = dynamic_cast<const VPLObjCreationGroup*>(best);
  if (descend && nested != nullptr) return nested->PickChild(start, end, hit, vertex, descend);
  return best;
}

bool VPLObjCreationGroup::PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
                                  VPLVertexHolder* /*record*/) const {
  return PickChild(a, b, &hit, nullptr, true) != nullptr;
}

void VPLObjCreationGroup::Tick(int32_t now) {
  if (!mStepsHeld) {
    StepSpin(now);
    if (!mMagnetBusy) StepScaleJiggle(now);
    StepColorPulse(now);
    StepPath(now);
    for (VPLObjCreation* child : mChildren) child->Tick(now);
  }
  SoundsFollowCamera();
}

void VPLObjCreationGroup::RotateBy(const float& /*x*/, const float& /*y*/, const float& /*z*/) {}
