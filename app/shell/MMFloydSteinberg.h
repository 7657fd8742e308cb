#pragma once
// Floyd-Steinberg dithering of whole rows into a palette: each pixel's error
// goes 7/16 to the next pixel and 1/16, 5/16 and 3/16 to the three below,
// kept in one line of signed bytes per channel.

#include "app/shell/MMInversePalette.h"

#include <cstdint>
#include <vector>

class MMFloydSteinberg {
 public:
  // No positive error is carried from the first special index and no
  // negative error from the second (-1 for none).
  MMFloydSteinberg(int32_t width, MMInversePalette* palette, int16_t noPositiveIndex,
                   int16_t noNegativeIndex);

  void Clear();
  // Rows of blue-green-red-x, red-green-blue, blue-green-red pixels, or
  // indexes into the palette given. Nothing is done for a count that is
  // not positive or exceeds the width, or a missing row.
  void DitherRow32(const uint8_t* source, uint8_t* destination, int32_t count);
  void DitherRowRgb(const uint8_t* source, uint8_t* destination, int32_t count);
  void DitherRowBgr(const uint8_t* source, uint8_t* destination, int32_t count);
  void DitherRowIndexed(const uint8_t* source, uint8_t* destination, int32_t count,
                        const MMPalette& palette);

 private:
  // Reads pixel x of the source row as red, green, blue.
  template <typename ReadPixel>
  void DitherRow(uint8_t* destination, int32_t count, ReadPixel readPixel);
  void Spread(int c, int32_t x, int error);
  int8_t& Cell(int c, int32_t x) { return mLines[static_cast<size_t>(c * (mWidth + 2) + x + 1)]; }

  int32_t mWidth;
  MMInversePalette* mPalette;
  int16_t mNoPositive;
  int16_t mNoNegative;
  std::vector<int8_t> mLines;  // red, green, blue lines of width + 2 cells
  int mRunning[3] = {};
};
