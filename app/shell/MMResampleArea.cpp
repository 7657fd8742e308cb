#include "app/shell/MMResampleArea.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kEmptyBox = 0xFFFFFFFF;
constexpr uint8_t kOpaque = 0;
constexpr uint8_t kTransparent = 255;

// Blue, green, red and the fourth byte, summed with weights.
struct Sums {
  double mChannel[4] = {};

  void Add(const uint8_t* pixel, double weight) {
    for (int c = 0; c < 4; ++c) mChannel[c] += pixel[c] * weight;
  }
};

// Pixels of weight 1, summed in integers, which is where the time goes.
struct WholeSums {
  uint32_t mChannel[4] = {};

  void AddRun(const uint8_t* pixels, int32_t count) {
    for (int32_t x = 0; x < count; ++x) {
      for (int c = 0; c < 4; ++c) mChannel[c] += pixels[4 * x + c];
    }
  }
};

// One source row of a box: its first and last columns weighted by what the
// box covers of them (whole when it covers them whole), the columns between
// whole.
void SumRow(const uint8_t* row, int32_t count, double firstWeight, double lastWeight,
            WholeSums& whole, Sums& partial) {
  int32_t first = 0, end = count;
  if (firstWeight != 1.0) {
    partial.Add(row, firstWeight);
    first = 1;
  }
  if (count > 1 && lastWeight != 1.0) {
    partial.Add(row + 4 * (count - 1), lastWeight);
    end = count - 1;
  }
  if (first < end) whole.AddRun(row + 4 * first, end - first);
}

uint32_t PackAverage(const Sums& sums, double area) {
  uint32_t pixel = 0;
  for (int c = 0; c < 4; ++c) {
    const double value = std::trunc((sums.mChannel[c] + area / 2) / area);
    pixel |= static_cast<uint32_t>(std::clamp(value, 0.0, 255.0)) << (8 * c);
  }
  return pixel;
}

// The pixel p composed into d by p's fourth byte.
void Compose(uint32_t p, uint8_t* d) {
  uint8_t averaged[4];
  std::memcpy(averaged, &p, sizeof averaged);
  const uint8_t a = averaged[3];
  if (a == kOpaque) {
    std::memcpy(d, averaged, sizeof averaged);
    return;
  }
  if (a != kTransparent) {
    for (int c = 0; c < 3; ++c) {
      d[c] = static_cast<uint8_t>((averaged[c] * (kTransparent - a) + d[c] * a) / kTransparent);
    }
  }
  d[3] = a;
}

bool Usable32(const MMBitmap& image) {
  return image.mPixels != nullptr && image.mBitsPerPixel == 32 && !image.mRect.IsEmpty() &&
         MMFits16(image.mRect);
}

}  // namespace

int32_t MMCeil16(double value) {
  const auto whole = static_cast<int32_t>(value);
  const auto fixed = static_cast<int64_t>(value * 65536.0);
  return (fixed & 0xFFFF) == 0 ? whole : whole + 1;
}

bool MMFits16(const UURect& rect) {
  constexpr int32_t kLow = std::numeric_limits<int16_t>::min();
  constexpr int32_t kHigh = std::numeric_limits<int16_t>::max();
  return rect.mLeft >= kLow && rect.mTop >= kLow && rect.mRight <= kHigh && rect.mBottom <= kHigh;
}

bool MMBox::Set(const UURect& source, double y0, double x0, double x1, double y1) {
  if (x1 - x0 < 1) x1 = std::min(x0 + 1, static_cast<double>(source.mRight));
  if (y1 - y0 < 1) y1 = std::min(y0 + 1, static_cast<double>(source.mBottom));
  mY0 = y0, mX0 = x0, mX1 = x1, mY1 = y1;
  mArea = (x1 - x0) * (y1 - y0);
  // Clamped to the source, so that a box given from outside reads nothing
  // beyond it.
  mTop = std::max(static_cast<int32_t>(y0), source.mTop);
  mBottom = std::min(MMCeil16(y1), source.mBottom);
  mLeft = std::max(static_cast<int32_t>(x0), source.mLeft);
  mRight = std::min(MMCeil16(x1), source.mRight);
  return mArea > 0 && mTop < mBottom && mLeft < mRight;
}

double MMBox::RowWeight(int32_t y) const {
  if (y == mTop) return 1 - (mY0 - mTop);
  return y == mBottom - 1 ? 1 - (mBottom - mY1) : 1.0;
}

double MMBox::ColumnWeight(int32_t x) const {
  if (x == mLeft) return 1 - (mX0 - mLeft);
  return x == mRight - 1 ? 1 - (mRight - mX1) : 1.0;
}

uint32_t MMAverageBox32(const MMBitmap& source, double y0, double x0, double x1, double y1) {
  MMBox box;
  if (!box.Set(source.mRect, y0, x0, x1, y1)) return kEmptyBox;
  const double firstColumn = box.ColumnWeight(box.mLeft);
  const double lastColumn = box.ColumnWeight(box.mRight - 1);
  Sums total;
  for (int32_t y = box.mTop; y < box.mBottom; ++y) {
    WholeSums whole;
    Sums partial;
    SumRow(source.GetPixelAddress(box.mLeft, y), box.mRight - box.mLeft, firstColumn, lastColumn,
           whole, partial);
    const double rowWeight = box.RowWeight(y);
    for (int c = 0; c < 4; ++c) {
      total.mChannel[c] += (whole.mChannel[c] + partial.mChannel[c]) * rowWeight;
    }
  }
  return PackAverage(total, box.mArea);
}

bool MMResampleArea32(const MMBitmap& source, const MMBitmap& destination) {
  if (!Usable32(source) || !Usable32(destination)) return false;
  return MMResampleWalk(source.mRect, destination.mRect,
                        [&](int32_t x, int32_t y, const MMBox& box) {
                          Compose(MMAverageBox32(source, box.mY0, box.mX0, box.mX1, box.mY1),
                                  destination.GetPixelAddress(x, y));
                        });
}
