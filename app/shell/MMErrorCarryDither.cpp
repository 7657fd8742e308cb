#include "app/shell/MMErrorCarryDither.h"

#include <algorithm>
#include <iterator>

namespace {

// The position in each group of four where a row drops its error, shifted
// from row to row so the pattern does not form columns.
int ResetColumn(int32_t y) {
  constexpr int kResetColumns[4] = {0, 1, 3, 2};
  return kResetColumns[y & 3];
}

}  // namespace

uint8_t MMErrorCarryDither::DitherPixel(uint8_t red, uint8_t green, uint8_t blue, UUPoint point) {
  const int wanted[3] = {red, green, blue};
  ++mLastX;
  if (point.mX == mLastX && point.mY == mLastY) return ContinueRun(wanted, point.mX, point.mY);
  std::fill(std::begin(mError), std::end(mError), 0);
  mLastX = point.mX;
  mLastY = point.mY;
  if (mWarmingUp) return 0;
  // The three pixels to the left, dithered in the same colour, bring the
  // carried error to what it would be inside a run.
  mWarmingUp = true;
  for (int32_t back = 3; back >= 1; --back) {
    DitherPixel(red, green, blue, UUPoint{point.mX - back, point.mY});
  }
  mWarmingUp = false;
  return DitherPixel(red, green, blue, point);
}

uint8_t MMErrorCarryDither::ContinueRun(const int wanted[3], int32_t x, int32_t y) {
  int adjusted[3];
  for (int c = 0; c < 3; ++c) adjusted[c] = std::clamp(wanted[c] + mError[c], 0, 255);
  const uint8_t index =
      mPalette.Lookup(static_cast<uint8_t>(adjusted[0]), static_cast<uint8_t>(adjusted[1]),
                      static_cast<uint8_t>(adjusted[2]));
  const MMPaletteEntry& chosen = mPalette.GetPalette().mEntries[index];
  const bool reset = (x & 3) == ResetColumn(y);
  for (int c = 0; c < 3; ++c) mError[c] = reset ? 0 : adjusted[c] - MMPaletteChannel(chosen, c);
  return index;
}

void MMBlendDither::BlendPixel(uint8_t source, uint8_t& destination, UUPoint point) {
  if (source == 0) return;
  if (destination == 0 || mSourceWeight == 256) {
    destination = source;
    return;
  }
  const MMPaletteEntry& s = mSource.mEntries[source];
  const MMPaletteEntry& d = mDestination.mEntries[destination];
  const auto mix = [this](int a, int b) {
    return static_cast<uint8_t>((a * mSourceWeight + b * mDestinationWeight) >> 8);
  };
  destination = mDither.DitherPixel(mix(s.mRed, d.mRed), mix(s.mGreen, d.mGreen),
                                    mix(s.mBlue, d.mBlue), point);
}
