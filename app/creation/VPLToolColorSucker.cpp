#include "app/creation/VPLToolColorSucker.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"

VPLObjCreation* VPLToolColorSucker::Suck(const VPLSegment& segment) {
  VPLObjCreation* object =
      mCreation->PickObject(segment.mStart, segment.mEnd, nullptr, &mHitVertex);
  if (object == nullptr) return nullptr;
  const VPLObjCreation* source = object;
  if (object->GetType() == kVPLObjCreationGroup)
    source = static_cast<VPLObjCreationGroup*>(object)->PickChild(segment.mStart, segment.mEnd,
                                                                  nullptr, &mHitVertex, true);
  if (source != nullptr && mArea->GetMaterializer() != nullptr)
    mArea->GetMaterializer()->TakeTextureFrom(*source, &mHitVertex, true, true);
  // Without the interface (a bare area) there is no preview to refresh.
  if (mArea->GetUIHooks() != nullptr) mArea->GetUIHooks()->UpdateToolPreview();
  return object;
}

bool VPLToolColorSucker::OnMouse(const VPLPickEvent& event) {
  // Shift means nothing to the sucker.
  UpdateCursor(false);
  const VPLSegment segment = SegmentAt(event);
  if (event.Has(kVPLPress) && !mEngaged) {
    mEngaged = true;
    if (VPLObjCreation* object = Suck(segment); object != nullptr)
      SoundBegin(object->GetWorldPosition(), false);
  } else if (mEngaged && event.Has(kVPLRelease)) {
    mEngaged = false;
    if (VPLObjCreation* object = Suck(segment); object != nullptr)
      SoundEnd(object->GetWorldPosition(), false);
  } else if (mEngaged && event.Has(kVPLHeld)) {
    if (VPLObjCreation* object = Suck(segment); object != nullptr)
      SoundDrag(object->GetWorldPosition(), false);
  }
  return mEngaged;
}
