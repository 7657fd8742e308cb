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

// One source row of a box: its first and last columns weighted by what the
// box covers of them, the columns between whole. The whole columns are
// summed in integers, which is where the time goes.
Sums SumRow(const uint8_t* row, int32_t count, double firstWeight, double lastWeight) {
  Sums sums;
  sums.Add(row, firstWeight);
  if (count == 1) return sums;
  uint32_t whole[4] = {};
  for (int32_t x = 1; x < count - 1; ++x) {
    for (int c = 0; c < 4; ++c) whole[c] += row[4 * x + c];
  }
  for (int c = 0; c < 4; ++c) sums.mChannel[c] += whole[c];
  sums.Add(row + 4 * (count - 1), lastWeight);
  return sums;
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

bool Fits16(const UURect& rect) {
  constexpr int32_t kLow = std::numeric_limits<int16_t>::min();
  constexpr int32_t kHigh = std::numeric_limits<int16_t>::max();
  return rect.mLeft >= kLow && rect.mTop >= kLow && rect.mRight <= kHigh && rect.mBottom <= kHigh;
}

bool Usable32(const MMBitmap& image) {
  return image.mPixels != nullptr && image.mBitsPerPixel == 32 && !image.mRect.IsEmpty() &&
         Fits16(image.mRect);
}

void ResampleRow(const MMBitmap& source, const MMBitmap& destination, int16_t row, double y0,
                 double y1, double step) {
  const UURect& from = source.mRect;
  double x0 = from.mLeft;
  double x1 = from.mLeft + step;
  for (int32_t i = destination.mRect.mLeft; i < destination.mRect.mRight; ++i) {
    Compose(MMAverageBox32(source, y0, x0, x1, y1), destination.GetPixelAddress(i, row));
    x0 += step;
    x1 = std::min(x1 + step, static_cast<double>(from.mRight));
  }
}

}  // namespace

int32_t MMCeil16(double value) {
  const auto whole = static_cast<int32_t>(value);
  const auto fixed = static_cast<int64_t>(value * 65536.0);
  return (fixed & 0xFFFF) == 0 ? whole : whole + 1;
}

uint32_t MMAverageBox32(const MMBitmap& source, double y0, double x0, double x1, double y1) {
  const UURect& rect = source.mRect;
  if (x1 - x0 < 1) x1 = std::min(x0 + 1, static_cast<double>(rect.mRight));
  if (y1 - y0 < 1) y1 = std::min(y0 + 1, static_cast<double>(rect.mBottom));
  const double area = (x1 - x0) * (y1 - y0);
  if (!(area > 0)) return kEmptyBox;
  // Clamped to the source, so that a box given from outside reads nothing
  // beyond it.
  const int32_t ys = std::max(static_cast<int32_t>(y0), rect.mTop);
  const int32_t ye = std::min(MMCeil16(y1), rect.mBottom);
  const int32_t xs = std::max(static_cast<int32_t>(x0), rect.mLeft);
  const int32_t xe = std::min(MMCeil16(x1), rect.mRight);
  if (ys >= ye || xs >= xe) return kEmptyBox;
  const double firstColumn = 1 - (x0 - xs);
  const double lastColumn = 1 - (xe - x1);
  Sums total;
  for (int32_t y = ys; y < ye; ++y) {
    const double rowWeight = y == ys ? 1 - (y0 - ys) : y == ye - 1 ? 1 - (ye - y1) : 1.0;
    const Sums row = SumRow(source.GetPixelAddress(xs, y), xe - xs, firstColumn, lastColumn);
    for (int c = 0; c < 4; ++c) total.mChannel[c] += row.mChannel[c] * rowWeight;
  }
  return PackAverage(total, area);
}

bool MMResampleArea32(const MMBitmap& source, const MMBitmap& destination) {
  if (!Usable32(source) || !Usable32(destination)) return false;
  const double stepX = static_cast<double>(source.GetWidth()) / destination.GetWidth();
  const double stepY = static_cast<double>(source.GetHeight()) / destination.GetHeight();
  const auto bottom = static_cast<double>(source.mRect.mBottom);
  double y0 = source.mRect.mTop;
  double y1 = std::min(y0 + stepY, bottom);
  for (auto row = static_cast<int16_t>(destination.mRect.mTop); row < destination.mRect.mBottom;
       ++row) {
    ResampleRow(source, destination, row, y0, y1, stepX);
    y0 += stepY;
    y1 = std::min(y1 + stepY, bottom);
  }
  return true;
}
