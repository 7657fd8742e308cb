#pragma once
// Area resampling of 8-bit images: palettized pictures averaged through
// their palette, single-channel masks, and a palettized picture composed
// through its mask onto a 32-bit image.

#include "app/shell/MMResampleArea.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMPalette.h"

#include <cstdint>

// The box average of a palettized source through its palette: blue, green
// and red only (the fourth byte is 0), or with the palette's fourth byte.
MMPaletteEntry MMAverageBoxIndexedRgb(const MMBitmap& source, const MMPalette& palette,
                                      const MMBox& box);
MMPaletteEntry MMAverageBoxIndexedRgba(const MMBitmap& source, const MMPalette& palette,
                                       const MMBox& box);
// The rounded box average of an 8-bit single-channel image.
uint8_t MMAverageBoxChannel(const MMBitmap& source, const MMBox& box);

// Palettized to palettized: each destination pixel the palette entry
// nearest the RGBA average. False for images that are empty or not 8-bit.
bool MMResampleIndexed(const MMBitmap& source, const MMBitmap& destination,
                       const MMPalette& palette);
// A palettized source and its mask (same geometry) onto a 32-bit
// destination: the averaged colour blends over the destination by the
// averaged mask, which becomes the destination's fourth byte.
bool MMResampleIndexedWithMask(const MMBitmap& source, const MMPalette& palette,
                               const MMBitmap& mask, const MMBitmap& destination);

// Downscales an 8-bit single-channel image: exact halves as 2 x 2 sums,
// other steps by box averages (below 2, a box whose corner 2 x 2 block is
// uniform takes that byte). False, with nothing drawn, for an empty or not
// 8-bit image.
bool MMDownscaleChannel(const MMBitmap& source, const MMBitmap& destination);
