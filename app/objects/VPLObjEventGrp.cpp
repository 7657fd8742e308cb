#include "app/objects/VPLObjEventGrp.h"

#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>

const MM3DColor VPLObjEventGrp::kHoverGlow{0.96f, 0.47f, 0.03f, 0.0f};
const MM3DColor VPLObjEventGrp::kNormalGlow{0.0f, 0.0f, 0.0f, 0.0f};

VPLObjEventGrp::VPLObjEventGrp(MMScene* scene, const UURefCount<MM3DModel>& model,
                               MMResourceId layout, const MMTaskCallback& callback)
    : VPLUpAlphaHiliteObject(scene, model, callback, kMMNoResource), mLayout(layout) {}

VPLObjEventGrp::~VPLObjEventGrp() = default;

void VPLObjEventGrp::ApplyVisibility(MMVisibility visibility) {
  VPLUpAlphaHiliteObject::ApplyVisibility(visibility);
  for (const std::unique_ptr<VPLObjEvent>& child : mChildren) child->SetVisibility(visibility);
}

VPLObjEvent* VPLObjEventGrp::FindChild(const VPLPickEvent& event, bool deep) {
  for (const std::unique_ptr<VPLObjEvent>& child : mChildren) {
    if (VPLObjEvent* target = child->FindTarget(event)) return deep ? target : this;
  }
  return nullptr;
}

VPLObjEvent* VPLObjEventGrp::FindTarget(const VPLPickEvent& event) {
  if (VPLObjEvent* child = FindChild(event, true)) return child;
  return HitTest(event.mRay) ? this : nullptr;
}

void VPLObjEventGrp::AddChild(std::unique_ptr<VPLObjEvent> child) {
  mChildren.push_back(std::move(child));
}

void VPLObjEventGrp::RemoveChild(VPLObjEvent* child) {
  const auto found = std::find_if(mChildren.begin(), mChildren.end(),
                                  [child](const auto& owned) { return owned.get() == child; });
  if (found != mChildren.end()) mChildren.erase(found);
}

VPLObjEvent* VPLObjEventGrp::GetChild(int16_t index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return mChildren[static_cast<size_t>(index)].get();
}

int32_t VPLObjEventGrp::CountChildRows() const {
  if (mLayout == kMMNoResource) return 0;
  return VPLScript(mLayout, kVPLLayoutTable).CountTag(kChildTag);
}

MMResourceId VPLObjEventGrp::ChildDefinition(int32_t i) const {
  return VPLScript(mLayout, kVPLLayoutTable).GetTagScriptId(kChildTag, 0, i);
}

void VPLObjEventGrp::Build(const MMTaskCallback& callback) {
  const int32_t count = CountChildRows();
  for (int32_t i = 0; i < count; ++i) MakeChild(callback, ChildDefinition(i));
}

void VPLObjEventGrp::MakeChild(const MMTaskCallback& callback, MMResourceId definition) {
  const VPLScript table(definition, kVPLButtonDefinition);
  if (table.FindTag(kVPLModelTag) < 0) return;
  UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)), VPLGetServices().mTextureMap);
  std::unique_ptr<VPLObjEvent> child;
  if (table.FindTag(kVPLToggleLookTag) >= 0) {
    child = std::make_unique<VPLToggleButtonObject>(GetScene(), model, definition,
                                                    table.GetTagScriptId(kVPLToggleLookTag),
                                                    callback, definition);
  } else if (mHoverChildren) {
    auto hover = std::make_unique<VPLUpAlphaHiliteObject>(GetScene(), model, callback, definition);
    hover->SetLooks(0.0f, 0.0f, kNormalGlow, kHoverGlow);
    hover->SetMeshColor(kNormalGlow);
    child = std::move(hover);
  } else {
    child = std::make_unique<VPLOnUpButtonObject>(GetScene(), model, callback, definition);
  }
  SetScriptId(definition);
  AddChild(std::move(child));
}

void VPLObjEventGrp::SetBaseAlphaAll(float transparency) {
  SetBaseAlpha(transparency);
  for (const std::unique_ptr<VPLObjEvent>& child : mChildren) child->SetBaseAlpha(transparency);
}

bool VPLObjEventGrpCtrl::HitTest(const VPLSegment& ray) const {
  if (GetVisibility() != kMMShown) return false;
  if (VPLObj::HitTest(ray)) return true;
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    if (GetChild(i)->HitTest(ray)) return true;
  }
  return false;
}

VPLObjEvent* VPLObjEventGrpCtrl::FindTarget(const VPLPickEvent& event) {
  if (GetVisibility() == kMMShown && HitTest(event.mRay)) return this;
  return FindChild(event, false);
}

bool VPLObjEventGrpCtrl::PreFilter(const VPLPickEvent& event) {
  if (mCaptured) {
    mCaptured = mCurrentChild->HandleEvent(event);
    return mCaptured;
  }
  if (mCurrentChild != nullptr && !mCurrentChild->HitTest(event.mRay)) {
    mCurrentChild->OnHoverOff();
    mCurrentChild = nullptr;
  }
  if (mCurrentChild == nullptr) {
    mCurrentChild = FindChild(event, true);
    if (mCurrentChild == this) mCurrentChild = nullptr;
    if (mCurrentChild != nullptr) mCurrentChild->OnHoverOn();
  }
  if (mCurrentChild != nullptr) mCaptured = mCurrentChild->HandleEvent(event);
  return mCaptured;
}

void VPLObjEventGrpCtrl::OnHoverOff() {
  if (mCurrentChild != nullptr) {
    mCurrentChild->OnHoverOff();
    ForgetCurrentChild();
  }
  VPLObjEventGrp::OnHoverOff();
}

void VPLObjEventGrpCtrl::RemoveChild(VPLObjEvent* child) {
  if (child != nullptr && child == mCurrentChild) ForgetCurrentChild();
  VPLObjEventGrp::RemoveChild(child);
}

void VPLObjEventGrpCtrl::ForgetCurrentChild() {
  mCurrentChild = nullptr;
  mCaptured = false;
}

void VPLObjEventGrpCtrlNonScroll::Build() {
  const int32_t count = CountChildRows();
  MMTaskClient* client = GetScene() != nullptr ? GetScene()->GetTaskClient() : nullptr;
  for (int32_t i = 0; i < count; ++i) {
    auto* select =
        new UUClassCallback1Parameter<VPLObjEventGrpCtrlNonScroll,
                                      void (VPLObjEventGrpCtrlNonScroll::*)(int16_t), int16_t>(
            this, &VPLObjEventGrpCtrlNonScroll::Select, static_cast<int16_t>(i));
    MakeChild(MMTaskCallback(client, select), ChildDefinition(i));
  }
}

void VPLObjEventGrpCtrlNonScroll::Select(int16_t index) {
  if (index == mSelected || GetChild(index) == nullptr) return;
  if (VPLObjEvent* previous = GetChild(mSelected)) previous->PlayAnimation(0, 0, false);
  mSelected = index;
  GetChild(index)->PlayAnimation(0, 0, false);
}
