#include "app/creation/VPLToolAlign.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

namespace {

// to + (from's position - grip), with to's fourth value.
MM3DVector Joined(const MM3DVector& to, const MM3DVector& position, const MM3DVector& grip) {
  return MM3DVector(to.mX + (position.mX - grip.mX), to.mY + (position.mY - grip.mY),
                    to.mZ + (position.mZ - grip.mZ), to.mW);
}

}  // namespace

bool VPLToolAlign::OnMouse(const VPLPickEvent& event) {
  return RunPressDragRelease(event, [this](const VPLSegment& segment) {
    mFirst = mCreation->PickObject(segment.mStart, segment.mEnd, &mFirstHit, nullptr);
    return mFirst != nullptr;
  });
}

void VPLToolAlign::Begin(const VPLSegment& /*segment*/, bool alternate) {
  if (mFirst != nullptr) SoundBegin(mFirst->GetWorldPosition(), alternate);
}

void VPLToolAlign::Drag(const VPLSegment& /*segment*/, bool alternate) {
  if (mFirst != nullptr) SoundDrag(mFirst->GetWorldPosition(), alternate);
}

void VPLToolAlign::End(const VPLSegment& segment, bool alternate) {
  mSecond = mCreation->PickObject(segment.mStart, segment.mEnd, &mSecondHit, nullptr);
  if (mSecond == nullptr || mFirst == nullptr) {
    if (mFirst != nullptr) SoundAct(mFirst->GetWorldPosition(), alternate);
    return;
  }
  MarkChanged();
  if (!alternate) {
    mFirst->SetLocation(Joined(mSecondHit, mFirst->GetWorldPosition(), mFirstHit));
    SoundEnd(mSecond->GetWorldPosition(), false);
  } else {
    mSecond->SetLocation(Joined(mFirstHit, mSecond->GetWorldPosition(), mSecondHit));
    SoundEnd(mFirst->GetWorldPosition(), true);
  }
}
