#include "app/shell/MMDownscaleIndexed.h"

#include "app/shell/MMErrorCarryDither.h"
#include "app/shell/MMResampleArea.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint8_t kKeyIndex = 0;

bool Usable(const MMDownscaleIndexedRequest& r) {
  const auto image = [](const MMBitmap& b) {
    return b.mPixels != nullptr && b.mBitsPerPixel == 8 && !b.mRect.IsEmpty();
  };
  return r.mInverse != nullptr && image(r.mSource) && image(r.mDestination);
}

const MMPalette& Colours(const MMDownscaleIndexedRequest& r) {
  return r.mPalette != nullptr ? *r.mPalette : r.mInverse->GetPalette();
}

// The colours falling into one destination pixel.
struct Bucket {
  uint32_t mSum[3] = {};  // red, green, blue
  uint32_t mOpaque = 0;
  uint32_t mTransparent = 0;
  bool mHole = false;
};

// The mean of count values: plain shifts for 1, 2, 4 and 8, a rounded
// shift for 16, else rounded by a quarter.
uint32_t Mean(uint32_t sum, uint32_t count) {
  switch (count) {
    case 1:
      return sum;
    case 2:
      return sum >> 1;
    case 4:
      return sum >> 2;
    case 8:
      return sum >> 3;
    case 16:
      return (sum + 4) >> 4;
    default:
      return (sum + count / 4) / count;
  }
}

uint8_t Emit(const MMDownscaleIndexedRequest& r, const Bucket& b) {
  if (b.mHole) return static_cast<uint8_t>(r.mHoleIndex);
  if (b.mOpaque < b.mTransparent || b.mOpaque == 0) {
    // Without a transparent entry the key index stands for see-through.
    return static_cast<uint8_t>(std::max<int16_t>(r.mInverse->GetTransparentIndex(), kKeyIndex));
  }
  const auto channel = [&](int c) {
    return static_cast<uint8_t>(std::min<uint32_t>(Mean(b.mSum[c], b.mOpaque), 255));
  };
  return r.mInverse->Lookup(channel(0), channel(1), channel(2));
}

void MirrorRows(const MMBitmap& image) {
  for (int32_t y = image.mRect.mTop; y < image.mRect.mBottom; ++y) {
    uint8_t* row = image.GetPixelAddress(image.mRect.mLeft, y);
    std::reverse(row, row + image.GetWidth());
  }
}

std::vector<int32_t> Targets(int32_t sourceSize, int32_t destinationSize) {
  const float ratio = static_cast<float>(sourceSize) / static_cast<float>(destinationSize);
  std::vector<int32_t> targets(static_cast<size_t>(sourceSize));
  for (int32_t j = 0; j < sourceSize; ++j) {
    const auto t = static_cast<int32_t>((static_cast<float>(j) + 0.5f) / ratio);
    targets[static_cast<size_t>(j)] = std::min(t, destinationSize - 1);
  }
  return targets;
}

void DownscaleByBuckets(const MMDownscaleIndexedRequest& r) {
  const MMBitmap& source = r.mSource;
  const MMBitmap& destination = r.mDestination;
  const std::vector<int32_t> columns = Targets(source.GetWidth(), destination.GetWidth());
  const std::vector<int32_t> rows = Targets(source.GetHeight(), destination.GetHeight());
  std::vector<Bucket> buckets(static_cast<size_t>(destination.GetWidth()) *
                              static_cast<size_t>(destination.GetHeight()));
  const MMPalette& palette = Colours(r);
  for (int32_t y = 0; y < source.GetHeight(); ++y) {
    for (int32_t x = 0; x < source.GetWidth(); ++x) {
      const uint8_t index = *source.GetPixelAddress(source.mRect.mLeft + x, source.mRect.mTop + y);
      Bucket& b = buckets[static_cast<size_t>(rows[static_cast<size_t>(y)]) *
                              static_cast<size_t>(destination.GetWidth()) +
                          static_cast<size_t>(columns[static_cast<size_t>(x)])];
      if (index == r.mHoleIndex) {
        b.mHole = true;
      } else if (index == r.mTransparentIndex) {
        ++b.mTransparent;
      } else {
        for (int c = 0; c < 3; ++c)
          b.mSum[c] += static_cast<uint32_t>(MMPaletteChannel(palette.mEntries[index], c));
        ++b.mOpaque;
      }
    }
  }
  for (int32_t j = 0; j < destination.GetHeight(); ++j) {
    for (int32_t i = 0; i < destination.GetWidth(); ++i) {
      *destination.GetPixelAddress(destination.mRect.mLeft + i, destination.mRect.mTop + j) =
          Emit(r, buckets[static_cast<size_t>(j) * static_cast<size_t>(destination.GetWidth()) +
                          static_cast<size_t>(i)]);
    }
  }
}

}  // namespace

bool MMResampleIndexedDither(const MMDownscaleIndexedRequest& r) {
  if (!Usable(r)) return false;
  const MMPalette& palette = Colours(r);
  MMErrorCarryDither dither(*r.mInverse);
  const MMBitmap& destination = r.mDestination;
  int32_t previousTop = -1, previousBottom = -1;
  bool repeat = false;
  return MMResampleWalk(
      r.mSource.mRect, destination.mRect, [&](int32_t x, int32_t y, const MMBox& box) {
        if (x == destination.mRect.mLeft) {
          repeat = box.mBottom - box.mTop == 1 && box.mTop == previousTop &&
                   box.mBottom == previousBottom;
          previousTop = box.mTop;
          previousBottom = box.mBottom;
        }
        uint8_t* out = destination.GetPixelAddress(x, y);
        if (repeat) {
          *out = *destination.GetPixelAddress(x, y - 1);
          return;
        }
        double sums[3] = {}, opaque = 0, key = 0;
        bool transparent = false;
        box.ForEachPixel([&](int32_t sx, int32_t sy, double weight) {
          const uint8_t index = *r.mSource.GetPixelAddress(sx, sy);
          if (index == r.mTransparentIndex) {
            transparent = true;
          } else if (index == kKeyIndex) {
            key += weight;
          } else {
            for (int c = 0; c < 3; ++c)
              sums[c] += MMPaletteChannel(palette.mEntries[index], c) * weight;
            opaque += weight;
          }
        });
        if (transparent) {
          *out = static_cast<uint8_t>(r.mTransparentIndex);
        } else if (key >= opaque) {
          *out = kKeyIndex;
        } else {
          const auto channel = [&](int c) {
            return static_cast<uint8_t>(std::clamp(sums[c] / opaque + 0.5, 0.0, 255.0));
          };
          *out = dither.DitherPixel(channel(0), channel(1), channel(2), UUPoint{x, y});
        }
      });
}

bool MMDownscaleIndexed(const MMDownscaleIndexedRequest& r) {
  if (!Usable(r)) return false;
  const bool mild = r.mSource.GetWidth() < 2 * r.mDestination.GetWidth() ||
                    r.mSource.GetHeight() < 2 * r.mDestination.GetHeight();
  if (mild) {
    if (!MMResampleIndexedDither(r)) return false;
  } else {
    DownscaleByBuckets(r);
  }
  if (r.mMirror) MirrorRows(r.mDestination);
  return true;
}
