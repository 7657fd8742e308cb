#include "app/shell/MMResampleIndexed.h"

#include "app/shell/MMInversePalette.h"
#include "app/shell/MMProductTable.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounded weighted averages of the first count bytes of each pixel, as
// fetch(x, y, bytes) gives them.
template <typename Fetch>
void AverageBytes(const MMBox& box, int count, Fetch fetch, uint8_t* out) {
  double sums[4] = {};
  box.ForEachPixel([&](int32_t x, int32_t y, double weight) {
    uint8_t bytes[4] = {};
    fetch(x, y, bytes);
    for (int c = 0; c < count; ++c) sums[c] += bytes[c] * weight;
  });
  for (int c = 0; c < count; ++c) {
    const double value = std::trunc((sums[c] + box.mArea / 2) / box.mArea);
    out[c] = static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
  }
}

MMPaletteEntry AverageThroughPalette(const MMBitmap& source, const MMPalette& palette,
                                     const MMBox& box, int count) {
  uint8_t bytes[4] = {};
  AverageBytes(
      box, count,
      [&](int32_t x, int32_t y, uint8_t* entry) {
        const MMPaletteEntry& e = palette.mEntries[*source.GetPixelAddress(x, y)];
        entry[0] = e.mBlue, entry[1] = e.mGreen, entry[2] = e.mRed, entry[3] = e.mTransparency;
      },
      bytes);
  return MMPaletteEntry{bytes[0], bytes[1], bytes[2], bytes[3]};
}

bool Usable(const MMBitmap& image, int32_t bits) {
  return image.mPixels != nullptr && image.mBitsPerPixel == bits && !image.mRect.IsEmpty();
}

// Each destination byte the sum of a 2 x 2 source block, shifted down.
void DownscaleHalf(const MMBitmap& source, const MMBitmap& destination) {
  const UURect& from = source.mRect;
  for (int32_t j = 0; j < destination.GetHeight(); ++j) {
    for (int32_t i = 0; i < destination.GetWidth(); ++i) {
      const int32_t x = from.mLeft + 2 * i, y = from.mTop + 2 * j;
      const int sum = *source.GetPixelAddress(x, y) + *source.GetPixelAddress(x + 1, y) +
                      *source.GetPixelAddress(x, y + 1) + *source.GetPixelAddress(x + 1, y + 1);
      *destination.GetPixelAddress(destination.mRect.mLeft + i, destination.mRect.mTop + j) =
          static_cast<uint8_t>(sum >> 2);
    }
  }
}

// Below a step of 2 a uniform 2 x 2 block at the box's corner is copied.
bool UniformCorner(const MMBitmap& source, const MMBox& box, uint8_t& value) {
  if (box.mLeft + 1 >= source.mRect.mRight || box.mTop + 1 >= source.mRect.mBottom) return false;
  value = *source.GetPixelAddress(box.mLeft, box.mTop);
  return *source.GetPixelAddress(box.mLeft + 1, box.mTop) == value &&
         *source.GetPixelAddress(box.mLeft, box.mTop + 1) == value &&
         *source.GetPixelAddress(box.mLeft + 1, box.mTop + 1) == value;
}

}  // namespace

MMPaletteEntry MMAverageBoxIndexedRgb(const MMBitmap& source, const MMPalette& palette,
                                      const MMBox& box) {
  return AverageThroughPalette(source, palette, box, 3);
}

MMPaletteEntry MMAverageBoxIndexedRgba(const MMBitmap& source, const MMPalette& palette,
                                       const MMBox& box) {
  return AverageThroughPalette(source, palette, box, 4);
}

uint8_t MMAverageBoxChannel(const MMBitmap& source, const MMBox& box) {
  uint8_t value = 0;
  AverageBytes(
      box, 1,
      [&](int32_t x, int32_t y, uint8_t* bytes) { bytes[0] = *source.GetPixelAddress(x, y); },
      &value);
  return value;
}

bool MMResampleIndexed(const MMBitmap& source, const MMBitmap& destination,
                       const MMPalette& palette) {
  if (!Usable(source, 8) || !Usable(destination, 8)) return false;
  return MMResampleWalk(
      source.mRect, destination.mRect, [&](int32_t x, int32_t y, const MMBox& box) {
        *destination.GetPixelAddress(x, y) =
            MMPaletteNearestIndex(MMAverageBoxIndexedRgba(source, palette, box), palette);
      });
}

bool MMResampleIndexedWithMask(const MMBitmap& source, const MMPalette& palette,
                               const MMBitmap& mask, const MMBitmap& destination) {
  if (!Usable(source, 8) || !Usable(mask, 8) || mask.mRect != source.mRect ||
      !Usable(destination, 32)) {
    return false;
  }
  return MMResampleWalk(source.mRect, destination.mRect,
                        [&](int32_t x, int32_t y, const MMBox& box) {
                          const uint8_t m = MMAverageBoxChannel(mask, box);
                          const MMPaletteEntry c = MMAverageBoxIndexedRgb(source, palette, box);
                          uint8_t* d = destination.GetPixelAddress(x, y);
                          d[0] = MMBlendChannel(c.mBlue, d[0], m);
                          d[1] = MMBlendChannel(c.mGreen, d[1], m);
                          d[2] = MMBlendChannel(c.mRed, d[2], m);
                          d[3] = m;
                        });
}

bool MMDownscaleChannel(const MMBitmap& source, const MMBitmap& destination) {
  if (!Usable(source, 8) || !Usable(destination, 8)) return false;
  if (source.GetWidth() == 2 * destination.GetWidth() &&
      source.GetHeight() == 2 * destination.GetHeight()) {
    DownscaleHalf(source, destination);
    return true;
  }
  const bool fine = source.GetWidth() < 2 * destination.GetWidth();
  return MMResampleWalk(source.mRect, destination.mRect,
                        [&](int32_t x, int32_t y, const MMBox& box) {
                          uint8_t value = 0;
                          if (!fine || !UniformCorner(source, box, value)) {
                            value = MMAverageBoxChannel(source, box);
                          }
                          *destination.GetPixelAddress(x, y) = value;
                        });
}
