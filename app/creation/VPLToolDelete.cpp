#include "app/creation/VPLToolDelete.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

void VPLToolDelete::Act(const VPLSegment& segment, bool alternate) {
  VPLToolObjectBasedOnUpAction::Act(segment, alternate);
  if (mPicked == nullptr) return;
  MarkChanged();
  if (mPicked->GetCreation() != nullptr) mPicked->GetCreation()->RemoveObject(mPicked);
  // Forgotten, so no release sound plays where it was.
  mPicked = nullptr;
}
