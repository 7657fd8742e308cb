#include "app/creation/VPLToolMagnet.h"

#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLScript.h"

namespace {

constexpr int16_t kSizeTableKind = 0;
constexpr int16_t kReachTableKind = 2;
constexpr int16_t kReferenceOffset = 0;
constexpr int16_t kNumeratorTag = 0;
constexpr int16_t kDenominatorTag = 1;

VPLObjCreationGroup* AsGroup(VPLObjCreation* object) {
  return object->GetType() == kVPLObjCreationGroup ? static_cast<VPLObjCreationGroup*>(object)
                                                   : nullptr;
}

}  // namespace

float VPLToolMagnet::Reach(int32_t size) {
  const VPLScript sizes(kSizeTable, kSizeTableKind);
  if (size < 0 || size >= sizes.GetScript().GetRowCount()) return 0.0f;
  const VPLScript reach(sizes.GetScript().GetScriptId(size, kReferenceOffset), kReachTableKind);
  if (reach.FindTag(kNumeratorTag) < 0 || reach.FindTag(kDenominatorTag) < 0) return 0.0f;
  const int32_t denominator = reach.GetTagInt32(kDenominatorTag);
  if (denominator == 0) return 0.0f;
  return static_cast<float>(reach.GetTagInt32(kNumeratorTag)) / static_cast<float>(denominator);
}

bool VPLToolMagnet::Sounds() const { return mPicked->GetType() != kVPLObjCreationChar; }

VPLObjCreation* VPLToolMagnet::Target(const VPLSegment& segment) const {
  VPLObjCreationGroup* group = AsGroup(mPicked);
  if (group == nullptr) return mPicked;
  return group->PickChild(segment.mStart, segment.mEnd, nullptr, nullptr, true);
}

void VPLToolMagnet::Begin(const VPLSegment& segment, bool alternate) {
  mReach = Reach(mArea->GetMagnetSize());
  if (mPicked == nullptr) return;
  MarkChanged();
  if (VPLObjCreation* target = Target(segment); target != nullptr) {
    // The group holds its scale jiggle while a member deforms.
    if (VPLObjCreationGroup* group = AsGroup(mPicked); group != nullptr) group->SetMagnetBusy(true);
    Run(Step::kBegin, *target, segment, mReach);
  }
  if (Sounds()) SoundBegin(mPicked->GetWorldPosition(), alternate);
}

void VPLToolMagnet::Drag(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  if (VPLObjCreation* target = Target(segment); target != nullptr)
    Run(Step::kDrag, *target, segment, mReach);
  if (Sounds()) SoundDrag(mPicked->GetWorldPosition(), alternate);
}

void VPLToolMagnet::End(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  if (VPLObjCreation* target = Target(segment); target != nullptr) {
    if (VPLObjCreationGroup* group = AsGroup(mPicked); group != nullptr)
      group->SetMagnetBusy(false);
    Run(Step::kEnd, *target, segment, mReach);
  }
  if (Sounds()) SoundEnd(mPicked->GetWorldPosition(), alternate);
  mPicked = nullptr;
}

void VPLToolMagnetPull::Run(Step step, VPLObjCreation& object, const VPLSegment& segment,
                            float reach) const {
  switch (step) {
    case Step::kBegin:
      return object.BeginMagnetPull(segment.mStart, segment.mEnd, reach);
    case Step::kDrag:
      return object.DragMagnetPull(segment.mStart, segment.mEnd, reach);
    case Step::kEnd:
      return object.EndMagnetPull(segment.mStart, segment.mEnd, reach);
  }
}

void VPLToolMagnetPush::Run(Step step, VPLObjCreation& object, const VPLSegment& segment,
                            float reach) const {
  switch (step) {
    case Step::kBegin:
      return object.BeginMagnetPush(segment.mStart, segment.mEnd, reach);
    case Step::kDrag:
      return object.DragMagnetPush(segment.mStart, segment.mEnd, reach);
    case Step::kEnd:
      return object.EndMagnetPush(segment.mStart, segment.mEnd, reach);
  }
}
