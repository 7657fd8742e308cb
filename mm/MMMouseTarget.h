#pragma once
// The result of a hit test through the act's views: the interpreter hit and
// the views that lead to it, innermost first.

#include <cstdint>

#include "foundation/uu/UUPoint.h"

class MMMouseInterpreter;
class MMView;

constexpr int32_t kMMTargetFound = 0;
constexpr int32_t kMMTargetBlocked = 1;
constexpr int32_t kMMTargetSearching = 2;

struct MMMouseTarget {
  static constexpr int32_t kMaxViews = 4;

  // No target, no views, still searching.
  void Reset();
  void SetFound(MMMouseInterpreter* target);
  // Answers the view's index on the path, -1 when the path is full.
  int32_t PushView(MMView* view);
  // Through the path's views from the outermost to the innermost.
  void StageToTarget(UUPoint& point) const;

  MMMouseInterpreter* mTarget = nullptr;
  MMView* mViews[kMaxViews] = {};
  int32_t mViewCount = 0;
  int32_t mStatus = kMMTargetSearching;
};
