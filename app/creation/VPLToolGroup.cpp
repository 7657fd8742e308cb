#include "app/creation/VPLToolGroup.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLSceneCreationArea.h"

#include <algorithm>
#include <vector>

namespace {

constexpr MM3DColor kNoTint{0.0f, 0.0f, 0.0f, 0.0f};

VPLObjCreationGroup* AsGroup(VPLObjCreation* object) {
  return object != nullptr && object->GetType() == kVPLObjCreationGroup
             ? static_cast<VPLObjCreationGroup*>(object)
             : nullptr;
}

}  // namespace

VPLToolGroup::VPLToolGroup(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                           MMResourceId soundScript)
    : VPLTool(view, creation, area, soundScript) {
  if (VPLObjCreation* current = mCreation->GetCurrentGroup(); current != nullptr)
    current->SetHighlight(true, VPLCreation::kGroupTint);
}

VPLToolGroup::~VPLToolGroup() {
  if (VPLObjCreation* current = mCreation->GetCurrentGroup(); current != nullptr)
    current->SetHighlight(false, kNoTint);
}

int32_t VPLToolGroup::Levels(const VPLObjCreationGroup& group) {
  int32_t deepest = 0;
  for (int32_t i = 0; i < group.GetChildCount(); ++i) {
    if (const VPLObjCreationGroup* nested = AsGroup(group.GetChild(i)); nested != nullptr)
      deepest = std::max(deepest, Levels(*nested));
  }
  return deepest + 1;
}

bool VPLToolGroup::CanNest(const VPLObjCreationGroup& group) const {
  return AsGroup(mCreation->GetCurrentGroup()) == nullptr ||
         Levels(group) + 1 <= VPLObjCreationGroup::kMaxNesting;
}

bool VPLToolGroup::OnMouse(const VPLPickEvent& event) {
  return RunPressDragRelease(event, [this](const VPLSegment& segment) {
    mPicked = mCreation->PickObject(segment.mStart, segment.mEnd, &mHit, nullptr);
    return mPicked != nullptr;
  });
}

void VPLToolGroup::Begin(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked != nullptr) SoundBegin(mPicked->GetWorldPosition(), alternate);
}

void VPLToolGroup::Drag(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked != nullptr) SoundDrag(mPicked->GetWorldPosition(), alternate);
}

void VPLToolGroup::End(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  // The release must hit the pressed object's meshes themselves.
  MM3DVector hit(0.0f, 0.0f, 0.0f, 1.0f);
  if (!mPicked->PickRay(segment.mStart, segment.mEnd, hit, nullptr)) return;
  // The character is never grouped.
  if (mPicked->GetType() == kVPLObjCreationChar) {
    SoundAct(mPicked->GetWorldPosition(), true);
    return;
  }
  if (alternate)
    ShiftClick();
  else
    Click(segment);
}

void VPLToolGroup::Click(const VPLSegment& segment) {
  VPLObjCreationGroup* group = AsGroup(mPicked);
  if (group != nullptr && mPicked == mCreation->GetCurrentGroup()) {
    TakeMemberOut(*group, segment);
    return;
  }
  if (group != nullptr && !CanNest(*group)) return;
  MarkChanged();
  if (group != nullptr || mCreation->GetCurrentGroup() != nullptr)
    AddToCurrentGroup(mPicked);
  else
    NewGroup(mPicked);
  SoundEnd(mPicked->GetWorldPosition(), false);
}

void VPLToolGroup::ShiftClick() {
  MarkChanged();
  SoundEnd(mPicked->GetWorldPosition(), true);
  if (mPicked->GetType() == kVPLObjCreationGroup)
    mCreation->SelectGroup(mPicked);
  else
    NewGroup(mPicked);
}

void VPLToolGroup::TakeMemberOut(VPLObjCreationGroup& group, const VPLSegment& segment) {
  SoundAct(group.GetWorldPosition(), false);
  mCreation->SetModified(true);
  mArea->TakeSnapshot();
  VPLObjCreation* member = group.PickChild(segment.mStart, segment.mEnd, nullptr, nullptr, false);
  if (member == nullptr) return;
  if (group.GetChildCount() > 1 && member == group.GetFirstChild()) {
    RebuildWithoutFirst(group);
    return;
  }
  mCreation->AddObject(member);
  group.RemoveChild(member, true);
  if (group.GetChildCount() == 0) mCreation->RemoveObject(&group);
}

void VPLToolGroup::RebuildWithoutFirst(VPLObjCreationGroup& group) {
  // Taken out from the last to the first: c(n-1), ..., c1, c0.
  std::vector<VPLObjCreation*> members;
  for (int32_t i = group.GetChildCount() - 1; i >= 0; --i) {
    VPLObjCreation* member = group.GetChild(i);
    group.RemoveChild(member, true);
    members.push_back(member);
  }
  mCreation->RemoveObject(&group);
  mCreation->AddObject(members.back());
  members.pop_back();
  VPLObjCreation* second = members.back();
  members.pop_back();
  auto* rebuilt = new VPLObjCreationGroup(mCreation->GetScene(), second->GetModel(), mCreation);
  rebuilt->AppendChild(second);
  for (VPLObjCreation* member : members) rebuilt->AddChild(member, true);
  mCreation->AddObject(rebuilt);
  mCreation->SelectGroup(rebuilt);
}

void VPLToolGroup::NewGroup(VPLObjCreation* object) {
  auto* group = new VPLObjCreationGroup(mCreation->GetScene(), object->GetModel(), mCreation);
  group->AppendChild(object);
  mCreation->DetachObject(object);
  mCreation->AddObject(group);
  mCreation->SelectGroup(group);
}

void VPLToolGroup::AddToCurrentGroup(VPLObjCreation* object) {
  VPLObjCreationGroup* current = AsGroup(mCreation->GetCurrentGroup());
  if (current == nullptr) return;
  mCreation->DetachObject(object);
  current->AddChild(object, true);
}
