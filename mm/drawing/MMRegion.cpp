#include "mm/drawing/MMRegion.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Areas are summed in 64 bits so that large rectangles cannot overflow.
int64_t AreaOf(const UURect& rect) {
  if (rect.IsEmpty()) return 0;
  return (int64_t{rect.mRight} - rect.mLeft) * (int64_t{rect.mBottom} - rect.mTop);
}

UURect Intersection(const UURect& a, const UURect& b) {
  UURect result = a;
  result.Intersect(b);
  return result;
}

bool Inside(const UURect& inner, const UURect& outer) {
  return outer.mLeft <= inner.mLeft && inner.mRight <= outer.mRight && outer.mTop <= inner.mTop &&
         inner.mBottom <= outer.mBottom;
}

// How many of the four sides of rect reach beyond bounds.
int SidesOutside(const UURect& rect, const UURect& bounds) {
  return (rect.mLeft < bounds.mLeft) + (rect.mRight > bounds.mRight) + (rect.mTop < bounds.mTop) +
         (rect.mBottom > bounds.mBottom);
}

}  // namespace

// The working state of one AddRect: the current rectangle is cut against
// the rectangles in use, from the last slot down, until what is left of it
// is disjoint from all of them and can be appended. Pieces of the current
// rectangle that a cut leaves over wait on a fixed stack; when the region
// runs out of slots (or the stack out of entries) the current rectangle is
// merged with one in use and the merged box is added again.
class MMRegion::Adder {
 public:
  Adder(MMRegion& region, const UURect& rect) : mRegion(region), mPending(rect) {}

  // Answers whether a rectangle was appended.
  bool Run() {
    while (TakeNext()) Scan();
    return mChanged;
  }

 private:
  bool TakeNext() {
    if (!mPending.IsDegenerate()) {
      mCurrent = std::exchange(mPending, UURect());
      return true;
    }
    if (mDepth == 0) return false;
    mCurrent = mStack[--mDepth];
    return true;
  }

  void Scan() {
    for (int32_t j = mRegion.mCount - 1; j >= 0; --j) {
      if (mCurrent.IsDegenerate()) return;
      if (!mCurrent.Intersects(mRegion.mRects[j])) continue;
      if (!Meet(j)) {
        MergeWith(j);
        return;
      }
    }
    if (mCurrent.IsDegenerate()) return;
    if (mRegion.mCount < kMaxRects) {
      mRegion.Append(mCurrent);
      mChanged = true;
    } else {
      MergeWith(mRegion.ChooseMergeTarget(mCurrent));
    }
  }

  void MergeWith(int32_t target) {
    mPending = mCurrent;
    mPending.Union(mRegion.mRects[target]);
    mRegion.RemoveAt(target);
  }

  bool HasFreeSlot() const { return mRegion.mCount < kMaxRects; }
  bool HasFreeStackEntry() const { return mDepth < kMaxRects; }

  void Push(const UURect& piece) {
    if (!piece.IsEmpty()) mStack[mDepth++] = piece;
  }

  // Rectangle j gives way to the non-empty ones of its pieces.
  void Replace(int32_t j, const UURect& first, const UURect& second = UURect()) {
    mRegion.RemoveAt(j);
    if (!first.IsEmpty()) mRegion.Append(first);
    if (!second.IsEmpty()) mRegion.Append(second);
  }

  // Resolves the overlap of the current rectangle with rectangle j so that
  // the two become disjoint and still cover what they covered together.
  // Answers false when that needs a slot or stack entry that is not free.
  bool Meet(int32_t j) {
    UURect& r = mRegion.mRects[j];
    UURect& c = mCurrent;
    if (Inside(c, r)) {
      c.Clear();
      return true;
    }
    if (Inside(r, c)) {
      mRegion.RemoveAt(j);
      return true;
    }
    const int tests = (c.mLeft >= r.mLeft) << 3 | (c.mRight <= r.mRight) << 2 |
                      (c.mTop >= r.mTop) << 1 | (c.mBottom <= r.mBottom);
    const UURect old = c;
    const UURect rOld = r;
    switch (tests) {
      case 0b1000:
        r.mRight = c.mLeft;
        return true;
      case 0b0100:
        r.mLeft = c.mRight;
        return true;
      case 0b0010:
        r.mBottom = c.mTop;
        return true;
      case 0b0001:
        r.mTop = c.mBottom;
        return true;
      case 0b1110:
        c.mTop = r.mBottom;
        return true;
      case 0b1101:
        c.mBottom = r.mTop;
        return true;
      case 0b1011:
        c.mLeft = r.mRight;
        return true;
      case 0b0111:
        c.mRight = r.mLeft;
        return true;
      case 0b1100:
        if (!HasFreeSlot()) return false;
        Replace(j, {rOld.mLeft, rOld.mTop, c.mLeft, rOld.mBottom},
                {c.mRight, rOld.mTop, rOld.mRight, rOld.mBottom});
        return true;
      case 0b0011:
        if (!HasFreeSlot()) return false;
        Replace(j, {rOld.mLeft, rOld.mTop, rOld.mRight, c.mTop},
                {rOld.mLeft, c.mBottom, rOld.mRight, rOld.mBottom});
        return true;
      case 0b1010:
        if (!HasFreeStackEntry()) return false;
        Push({old.mLeft, rOld.mBottom, old.mRight, old.mBottom});
        c = {rOld.mLeft, old.mTop, old.mRight, rOld.mBottom};
        Replace(j, {rOld.mLeft, rOld.mTop, rOld.mRight, old.mTop});
        return true;
      case 0b0110:
        if (!HasFreeSlot() || !HasFreeStackEntry()) return false;
        Push({old.mLeft, rOld.mBottom, old.mRight, old.mBottom});
        c = {old.mLeft, old.mTop, rOld.mRight, rOld.mBottom};
        Replace(j, {rOld.mLeft, rOld.mTop, rOld.mRight, old.mTop});
        return true;
      case 0b1001:
        if (!HasFreeSlot() || !HasFreeStackEntry()) return false;
        Push({old.mLeft, old.mTop, old.mRight, rOld.mTop});
        c = {rOld.mLeft, rOld.mTop, old.mRight, old.mBottom};
        Replace(j, {rOld.mLeft, old.mBottom, rOld.mRight, rOld.mBottom});
        return true;
      default:  // 0b0101
        if (!HasFreeSlot() || !HasFreeStackEntry()) return false;
        Push({old.mLeft, old.mTop, old.mRight, rOld.mTop});
        c = {old.mLeft, rOld.mTop, rOld.mRight, old.mBottom};
        Replace(j, {rOld.mLeft, old.mBottom, rOld.mRight, rOld.mBottom});
        return true;
    }
  }

  MMRegion& mRegion;
  UURect mPending;
  UURect mCurrent;
  UURect mStack[kMaxRects];
  int32_t mDepth = 0;
  bool mChanged = false;
};

void MMRegion::Set(const UURect& rect) {
  Clear();
  AddRect(rect);
}

void MMRegion::AddRect(const UURect& rect) {
  if (rect.IsEmpty()) return;
  if (Adder(*this, rect).Run()) Coalesce();
}

void MMRegion::AddIfNotEmpty(const UURect& rect) {
  if (!rect.IsEmpty()) AddRect(rect);
}

void MMRegion::AddRegion(const MMRegion& other) {
  const MMRegion source = other;  // other may be this region
  for (int32_t i = 0; i < source.mCount; ++i) AddRect(source.mRects[i]);
}

void MMRegion::IntersectRect(const UURect& rect) {
  MMRegion result;
  for (int32_t i = 0; i < mCount; ++i) result.AddRect(Intersection(mRects[i], rect));
  *this = result;
}

void MMRegion::IntersectRegion(const MMRegion& other) {
  MMRegion result;
  for (int32_t o = 0; o < other.mCount; ++o) {
    for (int32_t i = 0; i < mCount; ++i) {
      result.AddRect(Intersection(mRects[i], other.mRects[o]));
    }
  }
  *this = result;
}

void MMRegion::Offset(UUPoint point) {
  for (int32_t i = 0; i < mCount; ++i) mRects[i].Offset(point);
}

bool MMRegion::IntersectsRect(const UURect& rect) const {
  for (int32_t i = 0; i < mCount; ++i) {
    if (!Intersection(mRects[i], rect).IsEmpty()) return true;
  }
  return false;
}

bool MMRegion::IntersectsRegion(const MMRegion& other) const {
  for (int32_t o = 0; o < other.mCount; ++o) {
    if (IntersectsRect(other.mRects[o])) return true;
  }
  return false;
}

bool MMRegion::ContainsPoint(UUPoint point) const {
  for (int32_t i = 0; i < mCount; ++i) {
    const UURect& r = mRects[i];
    if (r.mLeft <= point.mX && point.mX < r.mRight && r.mTop <= point.mY && point.mY < r.mBottom) {
      return true;
    }
  }
  return false;
}

// The rectangles are disjoint, so their overlaps with rect add up to rect's
// area exactly when they cover it.
bool MMRegion::ContainsRect(const UURect& rect) const {
  int64_t covered = 0;
  for (int32_t i = 0; i < mCount; ++i) covered += AreaOf(Intersection(mRects[i], rect));
  return covered == AreaOf(rect);
}

bool MMRegion::ContainsRegion(const MMRegion& other) const {
  for (int32_t o = 0; o < other.mCount; ++o) {
    if (!ContainsRect(other.mRects[o])) return false;
  }
  return true;
}

UURect MMRegion::GetBounds() const {
  UURect bounds;
  for (int32_t i = 0; i < mCount; ++i) bounds.Union(mRects[i]);
  return bounds;
}

int32_t MMRegion::GetArea() const {
  int64_t area = 0;
  for (int32_t i = 0; i < mCount; ++i) area += AreaOf(mRects[i]);
  return static_cast<int32_t>(std::min<int64_t>(area, INT32_MAX));
}

void MMRegion::Sort() {
  const auto before = [](const UURect& a, const UURect& b) {
    return a.mTop < b.mTop || (a.mTop == b.mTop && a.mLeft < b.mLeft);
  };
  for (int32_t i = 0; i + 1 < mCount; ++i) {
    int32_t least = i;
    for (int32_t k = i + 1; k < mCount; ++k) {
      if (before(mRects[k], mRects[least])) least = k;
    }
    std::swap(mRects[i], mRects[least]);
  }
}

void MMRegion::RemoveAt(int32_t index) {
  if (index < 0 || index >= mCount) return;
  --mCount;
  if (index != mCount) mRects[index] = mRects[mCount];
}

void MMRegion::Append(const UURect& rect) { mRects[mCount++] = rect; }

// The slot whose merge with rect wastes least: the cost is the area the
// merged box adds beyond rect and the overlaps it swallows; a candidate
// other than the first examined must also swallow more rectangles whole
// than it cuts across corners. Answers -1 for an empty region.
int32_t MMRegion::ChooseMergeTarget(const UURect& rect) const {
  int32_t best = -1;
  int64_t bestCost = 0;
  for (int32_t i = mCount - 1; i >= 0; --i) {
    UURect merged = rect;
    merged.Union(mRects[i]);
    int64_t cost = AreaOf(merged) - AreaOf(rect);
    int32_t swallowed = 0;
    for (int32_t k = 0; k < mCount; ++k) {
      const UURect& other = mRects[k];
      if (!other.Intersects(merged)) continue;
      cost += AreaOf(Intersection(other, rect)) - AreaOf(Intersection(other, merged));
      const int outside = SidesOutside(other, merged);
      if (outside == 0) ++swallowed;
      if (outside == 2) --swallowed;
    }
    if (best < 0 || (swallowed > 0 && cost < bestCost)) {
      best = i;
      bestCost = cost;
      if (cost == 0) break;
    }
  }
  return best;
}

// Joins pairs that share a whole edge, until none is left.
void MMRegion::Coalesce() {
  bool merged = true;
  while (merged) {
    merged = false;
    for (int32_t a = mCount - 1; a > 0 && !merged; --a) {
      for (int32_t b = a - 1; b >= 0 && !merged; --b) {
        const UURect& ra = mRects[a];
        UURect& rb = mRects[b];
        const bool stacked = ra.mLeft == rb.mLeft && ra.mRight == rb.mRight &&
                             (ra.mTop == rb.mBottom || ra.mBottom == rb.mTop);
        const bool sideBySide = ra.mLeft != rb.mLeft && ra.mTop == rb.mTop &&
                                ra.mBottom == rb.mBottom &&
                                (ra.mLeft == rb.mRight || ra.mRight == rb.mLeft);
        if (stacked || sideBySide) {
          rb.Union(ra);
          RemoveAt(a);
          merged = true;
        }
      }
    }
  }
}
