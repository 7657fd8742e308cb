#pragma once

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"

#include <cstdint>

// A small set of at most 20 pairwise disjoint, non-empty rectangles (dirty
// areas, clip areas). It never allocates: when 20 rectangles do not
// suffice, pieces are merged into bounding boxes, so a region always covers
// at least what was added to it, and sometimes more. Order carries no
// meaning except after Sort.
class MMRegion {
 public:
  static constexpr int32_t kMaxRects = 20;

  int32_t GetCount() const { return mCount; }
  const UURect& GetRect(int32_t index) const { return mRects[index]; }

  void Clear() { mCount = 0; }
  void Set(const UURect& rect);

  // Adds the area of rect; an empty rectangle changes nothing.
  void AddRect(const UURect& rect);
  void AddIfNotEmpty(const UURect& rect);
  void AddRegion(const MMRegion& other);

  // Keeps only the area inside rect (or inside other).
  void IntersectRect(const UURect& rect);
  void IntersectRegion(const MMRegion& other);

  void Offset(UUPoint point);

  bool IntersectsRect(const UURect& rect) const;
  bool IntersectsRegion(const MMRegion& other) const;
  bool ContainsPoint(UUPoint point) const;
  bool ContainsRect(const UURect& rect) const;
  bool ContainsRegion(const MMRegion& other) const;

  UURect GetBounds() const;
  // The covered area; saturates at INT32_MAX.
  int32_t GetArea() const;

  // Ascending by top, ties by left.
  void Sort();
  // The last rectangle moves into the freed slot; an index out of range
  // does nothing.
  void RemoveAt(int32_t index);

 private:
  class Adder;

  int32_t ChooseMergeTarget(const UURect& rect) const;
  void Coalesce();
  void Append(const UURect& rect);

  int32_t mCount = 0;
  UURect mRects[kMaxRects];
};
