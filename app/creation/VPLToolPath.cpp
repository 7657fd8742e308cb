#include "app/creation/VPLToolPath.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"

namespace {

constexpr int32_t kNoPath = -1;

}  // namespace

void VPLToolPath::Act(const VPLSegment& segment, bool alternate) {
  VPLToolObjectBasedOnUpAction::Act(segment, alternate);
  if (mPicked == nullptr) return;
  const int32_t path =
      static_cast<int32_t>(alternate ? mArea->GetAlternatePath() : mArea->GetPath());
  if (path == kNoPath && !mPicked->IsPathPlaying()) return;
  mArea->TakeSnapshot();
  mPicked->SetPath(path, mArea->GetPathValue());
  if (path == kNoPath)
    mPicked->StopPath();
  else
    mPicked->PlayPath();
  mCreation->SetModified(true);
}
