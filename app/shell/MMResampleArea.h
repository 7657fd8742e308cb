#pragma once
// Area-averaging resampling of 32-bit images: each destination pixel is the
// average of exactly the part of the source it covers, so a picture shrinks
// without the shimmer of picking single pixels.

#include "mm/drawing/MMBitmap.h"

#include <cstdint>

// The ceiling at 1/65536: a value within 1/65536 above an integer counts as
// that integer, so running sums of steps do not reach one pixel too far.
int32_t MMCeil16(double value);

// A source box [x0, x1) x [y0, y1) as the resamplers weigh it: at least one
// pixel wide and high inside the source, its first and last rows and columns
// weighted by what the box covers of them (a row or column both first and
// last by the first rule), clamped to the source.
struct MMBox {
  // False when the box is empty.
  bool Set(const UURect& source, double y0, double x0, double x1, double y1);
  double RowWeight(int32_t y) const;
  double ColumnWeight(int32_t x) const;

  // Calls add(x, y, weight) for every pixel of the box.
  template <typename Add>
  void ForEachPixel(Add add) const {
    for (int32_t y = mTop; y < mBottom; ++y) {
      const double rowWeight = RowWeight(y);
      for (int32_t x = mLeft; x < mRight; ++x) add(x, y, rowWeight * ColumnWeight(x));
    }
  }

  double mY0 = 0, mX0 = 0, mX1 = 0, mY1 = 0;
  double mArea = 0;
  int32_t mLeft = 0, mTop = 0, mRight = 0, mBottom = 0;
};

// Walks the destination rectangle row by row with running source
// coordinates, calling visit(x, y, box) for each destination pixel with the
// box of the source it covers. False for an empty rectangle or a
// destination whose coordinates do not fit 16 bits.
template <typename Visit>
bool MMResampleWalk(const UURect& source, const UURect& destination, Visit visit);

// The average of the source box [x0, x1) x [y0, y1) in source coordinates,
// edge pixels weighted by the part the box covers; each box is at least one
// pixel wide and high inside the source. An empty box answers 0xFFFFFFFF.
uint32_t MMAverageBox32(const MMBitmap& source, double y0, double x0, double x1, double y1);

// Scales the whole 32-bit source into the whole 32-bit destination. Each
// averaged pixel is composed by its fourth byte: 0 replaces the destination
// pixel, 255 keeps its colour and marks it transparent, others blend. False,
// with nothing drawn, for an empty or non-32-bit image or one whose
// coordinates do not fit 16 bits.
bool MMResampleArea32(const MMBitmap& source, const MMBitmap& destination);

bool MMFits16(const UURect& rect);

template <typename Visit>
bool MMResampleWalk(const UURect& source, const UURect& destination, Visit visit) {
  if (source.IsEmpty() || destination.IsEmpty() || !MMFits16(destination)) return false;
  const double stepX = static_cast<double>(source.GetWidth()) / destination.GetWidth();
  const double stepY = static_cast<double>(source.GetHeight()) / destination.GetHeight();
  const auto right = static_cast<double>(source.mRight);
  const auto bottom = static_cast<double>(source.mBottom);
  double y0 = source.mTop;
  double y1 = y0 + stepY < bottom ? y0 + stepY : bottom;
  // The row is held in 16 bits, as the destination's coordinates are.
  for (auto row = static_cast<int16_t>(destination.mTop); row < destination.mBottom; ++row) {
    double x0 = source.mLeft;
    double x1 = x0 + stepX < right ? x0 + stepX : right;
    for (int32_t column = destination.mLeft; column < destination.mRight; ++column) {
      MMBox box;
      if (box.Set(source, y0, x0, x1, y1)) visit(column, row, box);
      x0 += stepX;
      x1 = x1 + stepX < right ? x1 + stepX : right;
    }
    y0 += stepY;
    y1 = y1 + stepY < bottom ? y1 + stepY : bottom;
  }
  return true;
}
