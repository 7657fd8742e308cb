#include "app/shell/MMFloydSteinberg.h"

#include <algorithm>

namespace {

int8_t Saturate(int value) { return static_cast<int8_t>(std::clamp(value, -128, 127)); }

// A part of the error in sixteenths, rounded half away from zero. (An
// arithmetic shift of a negative sum would round down, darkening every
// dithered picture a little.)
int Sixteenths(int parts, int error) {
  const int magnitude = (parts * (error < 0 ? -error : error) + 8) >> 4;
  return error < 0 ? -magnitude : magnitude;
}

}  // namespace

MMFloydSteinberg::MMFloydSteinberg(int32_t width, MMInversePalette* palette,
                                   int16_t noPositiveIndex, int16_t noNegativeIndex)
    : mWidth(std::max(width, 0)),
      mPalette(palette),
      mNoPositive(noPositiveIndex),
      mNoNegative(noNegativeIndex),
      mLines(static_cast<size_t>(3 * (mWidth + 2)), 0) {}

void MMFloydSteinberg::Clear() { std::fill(mLines.begin(), mLines.end(), int8_t{0}); }

// A cell that would overflow its signed byte saturates instead of wrapping.
void MMFloydSteinberg::Spread(int c, int32_t x, int error) {
  if (error == 0) {
    mRunning[c] = 0;
    Cell(c, x + 1) = 0;
    return;
  }
  mRunning[c] = Cell(c, x + 1) + Sixteenths(7, error);
  Cell(c, x + 1) = Saturate(Sixteenths(1, error));
  Cell(c, x) = Saturate(Cell(c, x) + Sixteenths(5, error));
  Cell(c, x - 1) = Saturate(Cell(c, x - 1) + Sixteenths(3, error));
}

template <typename ReadPixel>
void MMFloydSteinberg::DitherRow(uint8_t* destination, int32_t count, ReadPixel readPixel) {
  if (mPalette == nullptr || mLines.empty() || destination == nullptr || count <= 0 ||
      count > mWidth) {
    return;
  }
  for (int c = 0; c < 3; ++c) {
    mRunning[c] = Cell(c, 0);
    Cell(c, -1) = Cell(c, 0) = Cell(c, 1) = 0;
  }
  for (int32_t x = 0; x < count; ++x) {
    int wanted[3];
    readPixel(x, wanted);
    for (int c = 0; c < 3; ++c) {
      wanted[c] += mRunning[c];
      if (wanted[c] < 0 || wanted[c] > 255) wanted[c] = wanted[c] < 1 ? 0 : 255;
    }
    const uint8_t index =
        mPalette->Lookup(static_cast<uint8_t>(wanted[0]), static_cast<uint8_t>(wanted[1]),
                         static_cast<uint8_t>(wanted[2]));
    destination[x] = index;
    const MMPaletteEntry& chosen = mPalette->GetPalette().mEntries[index];
    for (int c = 0; c < 3; ++c) {
      int error = wanted[c] - MMPaletteChannel(chosen, c);
      if ((index == mNoPositive && error > 0) || (index == mNoNegative && error < 0)) error = 0;
      Spread(c, x, error);
    }
  }
}

void MMFloydSteinberg::DitherRow32(const uint8_t* source, uint8_t* destination, int32_t count) {
  if (source == nullptr) return;
  DitherRow(destination, count, [source](int32_t x, int rgb[3]) {
    const uint8_t* p = source + 4 * x;
    rgb[0] = p[2], rgb[1] = p[1], rgb[2] = p[0];
  });
}

void MMFloydSteinberg::DitherRowRgb(const uint8_t* source, uint8_t* destination, int32_t count) {
  if (source == nullptr) return;
  DitherRow(destination, count, [source](int32_t x, int rgb[3]) {
    const uint8_t* p = source + 3 * x;
    rgb[0] = p[0], rgb[1] = p[1], rgb[2] = p[2];
  });
}

void MMFloydSteinberg::DitherRowBgr(const uint8_t* source, uint8_t* destination, int32_t count) {
  if (source == nullptr) return;
  DitherRow(destination, count, [source](int32_t x, int rgb[3]) {
    const uint8_t* p = source + 3 * x;
    rgb[0] = p[2], rgb[1] = p[1], rgb[2] = p[0];
  });
}

void MMFloydSteinberg::DitherRowIndexed(const uint8_t* source, uint8_t* destination, int32_t count,
                                        const MMPalette& palette) {
  if (source == nullptr) return;
  DitherRow(destination, count, [source, &palette](int32_t x, int rgb[3]) {
    const MMPaletteEntry& e = palette.mEntries[source[x]];
    rgb[0] = e.mRed, rgb[1] = e.mGreen, rgb[2] = e.mBlue;
  });
}
