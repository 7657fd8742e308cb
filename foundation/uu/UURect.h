#pragma once

#include "foundation/uu/UUPoint.h"

#include <algorithm>
#include <cstdint>

// The integer rectangle the whole system passes around. Left and top are
// inside, right and bottom outside; it is empty when left >= right or
// top >= bottom, and degenerate when left = right or top = bottom.
struct UURect {
  int32_t mLeft = 0;
  int32_t mTop = 0;
  int32_t mRight = 0;
  int32_t mBottom = 0;

  constexpr UURect() = default;
  constexpr UURect(int32_t left, int32_t top, int32_t right, int32_t bottom)
      : mLeft(left), mTop(top), mRight(right), mBottom(bottom) {}

  friend bool operator==(const UURect&, const UURect&) = default;

  constexpr int32_t GetWidth() const { return mRight - mLeft; }
  constexpr int32_t GetHeight() const { return mBottom - mTop; }
  // The size as a point: x the width, y the height.
  constexpr UUPoint GetSize() const { return UUPoint{GetWidth(), GetHeight()}; }
  constexpr UUPoint GetTopLeft() const { return UUPoint{mLeft, mTop}; }
  constexpr bool IsEmpty() const { return mLeft >= mRight || mTop >= mBottom; }
  constexpr bool IsDegenerate() const { return mLeft == mRight || mTop == mBottom; }
  constexpr bool IsNormal() const { return mRight >= mLeft && mBottom >= mTop; }

  constexpr void Clear() { *this = UURect(); }

  constexpr void FromPointAndSize(UUPoint point, int32_t width, int32_t height) {
    *this = UURect(point.mX, point.mY, point.mX + width, point.mY + height);
  }

  constexpr void Offset(UUPoint point) {
    mLeft += point.mX;
    mRight += point.mX;
    mTop += point.mY;
    mBottom += point.mY;
  }

  constexpr UURect OffsetBy(UUPoint point) const {
    UURect moved = *this;
    moved.Offset(point);
    return moved;
  }

  // Whether each rectangle starts before the other ends, on both axes:
  // rectangles that only touch do not intersect.
  constexpr bool Intersects(const UURect& other) const {
    return other.mLeft < mRight && mLeft < other.mRight && other.mTop < mBottom &&
           mTop < other.mBottom;
  }

  // In place. Rectangles that only touch leave the degenerate strip along
  // the shared edge; rectangles apart leave all zeros.
  constexpr void Intersect(const UURect& other) {
    mLeft = std::max(mLeft, other.mLeft);
    mTop = std::max(mTop, other.mTop);
    mRight = std::min(mRight, other.mRight);
    mBottom = std::min(mBottom, other.mBottom);
    if (mRight < mLeft || mBottom < mTop) Clear();
  }

  // In place. A degenerate rectangle stands for nothing: this takes the
  // other whole, and a degenerate other changes nothing.
  constexpr void Union(const UURect& other) {
    if (IsDegenerate()) {
      *this = other;
    } else if (!other.IsDegenerate()) {
      mLeft = std::min(mLeft, other.mLeft);
      mTop = std::min(mTop, other.mTop);
      mRight = std::max(mRight, other.mRight);
      mBottom = std::max(mBottom, other.mBottom);
    }
  }
};
