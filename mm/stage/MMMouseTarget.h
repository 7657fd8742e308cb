#pragma once
// The result of a hit test through the act's views: the interpreter hit and
// the views that lead to it, innermost first. The path holds at most four
// nested views.

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
  // Found, with a fresh path.
  void SetFound(MMMouseInterpreter* target);
  // A visual without interpreter took the point: no target, no path.
  void SetBlocked();
  void ClearViews() { mViewCount = 0; }
  // Answers the view's index on the path, -1 when the path is full (the
  // view is then not recorded).
  int32_t PushView(MMView* view);
  bool ContainsView(const MMView* view) const;
  // Through the path's views from the outermost to the innermost.
  void StageToTarget(UUPoint& point) const;
  // From the innermost to the outermost.
  void TargetToStage(UUPoint& point) const;

  // The used path entries only.
  bool operator==(const MMMouseTarget& other) const;

  MMMouseInterpreter* mTarget = nullptr;
  MMView* mViews[kMaxViews] = {};
  int32_t mViewCount = 0;
  int32_t mStatus = kMMTargetSearching;
};
