#include "app/creation/VPLToolMirror.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

void VPLToolMirror::Act(const VPLSegment& /*segment*/, bool alternate) {
  // The character does not mirror, so it makes no action sound.
  if (mPicked->GetType() != kVPLObjCreationChar) SoundAct(mPicked->GetWorldPosition(), alternate);
  MarkChanged();
  MM3DVector eye;
  MM3DVector interest;
  mCreation->GetCamera().GetEyeAndInterest(eye, interest);
  if (alternate)
    mPicked->MirrorUpDown(eye, interest);
  else
    mPicked->MirrorLeftRight(eye, interest);
}
