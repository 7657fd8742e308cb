#pragma once
// Dithering of pixels written one at a time: the error of each pixel is
// carried to the next along a row and dropped at positions fixed by x and
// y, so the index of a pixel depends only on its colour, its position and
// the colours just left of it, and separately drawn pieces of one picture
// match.

#include "app/shell/MMInversePalette.h"
#include "foundation/uu/UUPoint.h"

#include <cstdint>

class MMErrorCarryDither {
 public:
  explicit MMErrorCarryDither(MMInversePalette& palette) : mPalette(palette) {}

  uint8_t DitherPixel(uint8_t red, uint8_t green, uint8_t blue, UUPoint point);

 private:
  uint8_t ContinueRun(const int wanted[3], int32_t x, int32_t y);

  MMInversePalette& mPalette;
  int32_t mLastX = 0;
  int32_t mLastY = 0;
  int32_t mError[3] = {};  // red, green, blue
  bool mWarmingUp = false;
};

// Blends an indexed source pixel over an indexed destination pixel by
// alpha and dithers the result into the destination's palette.
class MMBlendDither {
 public:
  MMBlendDither(MMInversePalette& palette, const MMPalette& sourcePalette,
                const MMPalette& destinationPalette, uint8_t alpha)
      : mDither(palette),
        mSourceWeight(alpha + 1),
        mDestinationWeight(255 - alpha),
        mSource(sourcePalette),
        mDestination(destinationPalette) {}

  // Source index 0 leaves the destination; destination index 0 or an alpha
  // of 255 takes the source index.
  void BlendPixel(uint8_t source, uint8_t& destination, UUPoint point);

 private:
  MMErrorCarryDither mDither;
  int32_t mSourceWeight;
  int32_t mDestinationWeight;
  const MMPalette& mSource;
  const MMPalette& mDestination;
};
