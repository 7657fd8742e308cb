#pragma once
// Palettized to palettized shrinking: strong reductions average the colours
// that fall into each destination pixel and look the mean up in the colour
// cube; mild ones resample by area and dither with the carried error, so
// that pieces of one picture drawn apart still match.

#include "app/shell/MMInversePalette.h"
#include "mm/drawing/MMBitmap.h"

#include <cstdint>

struct MMDownscaleIndexedRequest {
  MMBitmap mSource;
  MMBitmap mDestination;
  // Answers the colours; its own palette is used when mPalette is null.
  MMInversePalette* mInverse = nullptr;
  const MMPalette* mPalette = nullptr;
  // Source pixels of the transparent index count as see-through; a hole
  // pixel makes its destination pixel the hole index; -1 for none.
  int16_t mTransparentIndex = -1;
  int16_t mHoleIndex = -1;
  bool mMirror = false;
};

// False for images that are empty or not 8-bit, or no inverse palette.
bool MMDownscaleIndexed(const MMDownscaleIndexedRequest& request);
// Area weights: any transparent source pixel makes the destination pixel
// the transparent index, key (index 0) weight at least the opaque weight
// index 0, otherwise the weighted mean colour dithered. Destination rows
// that repeat one source row repeat the row above.
bool MMResampleIndexedDither(const MMDownscaleIndexedRequest& request);
