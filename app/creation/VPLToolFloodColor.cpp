#include "app/creation/VPLToolFloodColor.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"

VPLToolFloodColor::VPLToolFloodColor(MMView* view, VPLCreation* creation,
                                     VPLSceneCreationArea* area, MMResourceId soundScript)
    : VPLToolObjectBasedOnUpAction(view, creation, area, soundScript),
      mMaterial(area != nullptr ? area->GetMaterializer() : nullptr) {}

void VPLToolFloodColor::Act(const VPLSegment& segment, bool alternate) {
  VPLToolObjectBasedOnUpAction::Act(segment, alternate);
  if (mPicked == nullptr) return;
  MarkChanged();
  // A group's member is found at the release, a plain object's mesh was
  // found at the press.
  VPLObjCreation* target = mPicked;
  if (mPicked->GetType() == kVPLObjCreationGroup)
    target = static_cast<VPLObjCreationGroup*>(mPicked)->PickChild(segment.mStart, segment.mEnd,
                                                                   nullptr, &mHitVertex, true);
  if (mMaterial != nullptr) mMaterial->Apply(target, &mHitVertex);
  mHitVertex.mNode = nullptr;
}
