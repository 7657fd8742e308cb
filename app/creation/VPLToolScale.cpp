#include "app/creation/VPLToolScale.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

#include <algorithm>

namespace {

constexpr float kMaxGrowthOffset = 10.0f;
constexpr float kGrowthPerUnit = 0.1f * 3.0f;
constexpr float kShrinkPerUnit = -0.1f;
constexpr float kShrinkDamping = 0.99f;
// Factors this near 0 would flatten the object to nothing: not passed.
constexpr float kLeastFactor = 0.00001f;

bool NearZero(float factor) { return factor > -kLeastFactor && factor < kLeastFactor; }

}  // namespace

float VPLToolScale::Factor(float offset) {
  if (offset > 0.0f) return 1.0f + std::min(offset, kMaxGrowthOffset) * kGrowthPerUnit;
  if (offset < 0.0f) return 1.0f - offset * kShrinkPerUnit * kShrinkDamping;
  return 1.0f;
}

bool VPLToolScale::Sounds() const { return mPicked->GetType() != kVPLObjCreationChar; }

void VPLToolScale::Begin(const VPLSegment& segment, bool alternate) {
  MarkChanged();
  mPlane = VPLToolDragPlane::ThroughAxis(mCreation->GetCamera().GetEye());
  if (!mPlane.Meet(segment, mStart)) {
    mEngaged = false;
    return;
  }
  mPicked->BeginScale(1.0f, 1.0f, 1.0f);
  mHit = mStart;
  if (Sounds()) SoundBegin(mStart, alternate);
}

void VPLToolScale::Drag(const VPLSegment& segment, bool alternate) {
  MM3DVector h;
  if (mPicked == nullptr || !mPlane.Meet(segment, h)) return;
  const MM3DVector d = h.Direction(mStart);
  const float sy = Factor(d.mY);
  const float sx = Factor(d.mX);
  if (!alternate) {
    if (!NearZero(sy)) mPicked->DragScale(sy, sy, sy);
  } else if (!NearZero(sy) && !NearZero(sx)) {
    mPicked->DragScale(sx, sy, sx);
  }
  mHit = h;
  if (Sounds()) SoundDrag(h, alternate);
}

void VPLToolScale::End(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked == nullptr) return;
  if (Sounds()) SoundEnd(mHit, alternate);
  mPicked->EndScale();
  mPicked = nullptr;
}
