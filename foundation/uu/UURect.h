#pragma once

#include "foundation/uu/UUPoint.h"

#include <algorithm>
#include <cstdint>
#include <utility>

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
  constexpr UUPoint GetTopRight() const { return UUPoint{mRight, mTop}; }
  constexpr UUPoint GetBottomLeft() const { return UUPoint{mLeft, mBottom}; }
  constexpr UUPoint GetBottomRight() const { return UUPoint{mRight, mBottom}; }
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

  // Left <= right and top <= bottom, by swapping.
  constexpr void Normalize() {
    if (mRight < mLeft) std::swap(mLeft, mRight);
    if (mBottom < mTop) std::swap(mTop, mBottom);
  }

  // Moves the rectangle so that its centre (half the width and height from
  // the top left) lies on the point.
  constexpr void CentreOn(UUPoint point) {
    FromPointAndSize(UUPoint{point.mX - GetWidth() / 2, point.mY - GetHeight() / 2}, GetWidth(),
                     GetHeight());
  }

  // A rectangle of the size centred in this one.
  constexpr UURect CentreSize(UUPoint size) const {
    UURect centred;
    centred.FromPointAndSize(
        UUPoint{mLeft + (GetWidth() - size.mX) / 2, mTop + (GetHeight() - size.mY) / 2}, size.mX,
        size.mY);
    return centred;
  }

  // The factor, at most 1, by which the rectangle must shrink about its
  // centre to lie inside the other; 0 when its centre lies outside.
  double FitScale(const UURect& other) const;
  // Width and height scaled (truncated) about the centre.
  void ScaleAboutCentre(double scaleX, double scaleY);
  // Shrunk to the ratio width:height, centred.
  void FitAspect(int32_t width, int32_t height);

  // The corner a quarter turn brings to the top left: 0 the top left, 90
  // the bottom left, 180 the bottom right, above 180 the top right.
  constexpr UUPoint CornerForAngle(int32_t angle) const {
    if (angle > 180) return GetTopRight();
    if (angle == 180) return GetBottomRight();
    if (angle == 90) return GetBottomLeft();
    return GetTopLeft();
  }
  // The size as seen after a turn: 0 and 180 keep it, others exchange.
  constexpr int32_t WidthForAngle(int32_t angle) const {
    return angle == 0 || angle == 180 ? GetWidth() : GetHeight();
  }
  constexpr int32_t HeightForAngle(int32_t angle) const {
    return angle == 0 || angle == 180 ? GetHeight() : GetWidth();
  }
  constexpr UUPoint SizeForAngle(int32_t angle) const {
    return UUPoint{WidthForAngle(angle), HeightForAngle(angle)};
  }

  // Exchanges width and height about the centre for angles that come to
  // 90 or 270 (any integer, wrapped into 0-359).
  constexpr void RotateQuarter(int32_t angle) {
    const int32_t wrapped = ((angle % 360) + 360) % 360;
    if (wrapped == 90 || wrapped == 270) RotateQuarterAboutCentre();
  }
  constexpr void RotateQuarterAboutCentre() {
    const UUPoint centre{mLeft + GetWidth() / 2, mTop + GetHeight() / 2};
    const int32_t width = GetWidth();
    FromPointAndSize(UUPoint{centre.mX - GetHeight() / 2, centre.mY - width / 2}, GetHeight(),
                     width);
  }
  // Turns the rectangle by 360 - angle degrees (quarter turns) about the
  // point, then normalises it.
  constexpr void RotateAboutPoint(int32_t angle, UUPoint point) {
    const int32_t turn = ((360 - angle) % 360 + 360) % 360;
    const UUPoint a = TurnQuarter(UUPoint{mLeft - point.mX, mTop - point.mY}, turn);
    const UUPoint b = TurnQuarter(UUPoint{mRight - point.mX, mBottom - point.mY}, turn);
    *this = UURect(a.mX + point.mX, a.mY + point.mY, b.mX + point.mX, b.mY + point.mY);
    Normalize();
  }

  // (x, y) turned by 90 to (y, -x), 180 to (-x, -y), 270 to (-y, x).
  static constexpr UUPoint TurnQuarter(UUPoint p, int32_t angle) {
    switch (angle) {
      case 90:
        return UUPoint{p.mY, -p.mX};
      case 180:
        return UUPoint{-p.mX, -p.mY};
      case 270:
        return UUPoint{-p.mY, p.mX};
      default:
        return p;
    }
  }
};

constexpr UURect UURectUnionOf(const UURect& a, const UURect& b) {
  UURect united = a;
  united.Union(b);
  return united;
}

constexpr UURect UURectIntersectionOf(const UURect& a, const UURect& b) {
  UURect common = a;
  common.Intersect(b);
  return common;
}
