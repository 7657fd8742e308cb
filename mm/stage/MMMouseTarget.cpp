#include "mm/stage/MMMouseTarget.h"

#include "mm/stage/MMView.h"

void MMMouseTarget::Reset() { *this = MMMouseTarget(); }

void MMMouseTarget::SetFound(MMMouseInterpreter* target) {
  mTarget = target;
  mStatus = kMMTargetFound;
  mViewCount = 0;
}

void MMMouseTarget::SetBlocked() {
  mTarget = nullptr;
  mStatus = kMMTargetBlocked;
  mViewCount = 0;
}

int32_t MMMouseTarget::PushView(MMView* view) {
  if (mViewCount >= kMaxViews) return -1;
  mViews[mViewCount] = view;
  return mViewCount++;
}

bool MMMouseTarget::ContainsView(const MMView* view) const {
  for (int32_t i = 0; i < mViewCount; ++i) {
    if (mViews[i] == view) return true;
  }
  return false;
}

void MMMouseTarget::StageToTarget(UUPoint& point) const {
  for (int32_t i = mViewCount - 1; i >= 0; --i) mViews[i]->StageToEnclosure(point);
}

void MMMouseTarget::TargetToStage(UUPoint& point) const {
  for (int32_t i = 0; i < mViewCount; ++i) mViews[i]->EnclosureToStage(point);
}

bool MMMouseTarget::operator==(const MMMouseTarget& other) const {
  if (mTarget != other.mTarget || mStatus != other.mStatus || mViewCount != other.mViewCount)
    return false;
  for (int32_t i = 0; i < mViewCount; ++i) {
    if (mViews[i] != other.mViews[i]) return false;
  }
  return true;
}
