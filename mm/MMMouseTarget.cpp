#include "mm/MMMouseTarget.h"

#include "mm/MMView.h"

void MMMouseTarget::Reset() { *this = MMMouseTarget(); }

void MMMouseTarget::SetFound(MMMouseInterpreter* target) {
  mTarget = target;
  mStatus = kMMTargetFound;
  mViewCount = 0;
}

int32_t MMMouseTarget::PushView(MMView* view) {
  if (mViewCount >= kMaxViews) return -1;
  mViews[mViewCount] = view;
  return mViewCount++;
}

void MMMouseTarget::StageToTarget(UUPoint& point) const {
  for (int32_t i = mViewCount - 1; i >= 0; --i) mViews[i]->StageToEnclosure(point);
}
