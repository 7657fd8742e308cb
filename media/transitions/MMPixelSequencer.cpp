#include "media/transitions/MMPixelSequencer.h"

namespace {

// Tap masks of maximal-length Galois shift registers by register width:
// every state from 1 to 2^n - 1 comes once before the state returns to 1.
constexpr int32_t kTapCount = 33;
constexpr uint32_t kTaps[kTapCount] = {
    0,         0,          0x3,        0x6,        0xC,       0x14,      0x30,
    0x60,      0xB8,       0x110,      0x240,      0x500,     0xCA0,     0x1B00,
    0x3500,    0x6000,     0xB400,     0x12000,    0x20400,   0x72000,   0x90000,
    0x140000,  0x300000,   0x420000,   0xD80000,   0x1200000, 0x3880000, 0x7200000,
    0x9000000, 0x14000000, 0x32800000, 0x48000000, 0xA3000000};

}  // namespace

int32_t MMPixelSequencer::Bits(uint32_t n) {
  int32_t bits = 0;
  for (; n != 0; n >>= 1) ++bits;
  return bits;
}

void MMPixelSequencer::Init(int32_t width, int32_t height) {
  mWidth = width;
  mHeight = height;
  mHeightBits = Bits(static_cast<uint32_t>(height));
  mHeightMask = (1 << mHeightBits) - 1;
  const int32_t bits = Bits(static_cast<uint32_t>(width)) + mHeightBits;
  mTaps = bits < kTapCount ? static_cast<int32_t>(kTaps[bits]) : 0;
  Restart();
}

void MMPixelSequencer::Restart() {
  mState = 1;
  // A grid without cells, or too large for a register, has nothing to visit
  // (without taps the register would never come back to 1).
  mDone = mWidth < 1 || mHeight < 1 || mTaps == 0;
  SkipOutside();
}

void MMPixelSequencer::Step() {
  const auto state = static_cast<uint32_t>(mState);
  uint32_t next = state >> 1;
  if ((state & 1) != 0) next ^= static_cast<uint32_t>(mTaps);
  mState = static_cast<int32_t>(next);
  mDone = next == 1;
}

UUPoint MMPixelSequencer::Next() {
  const UUPoint cell = CellOf(mState);
  Step();
  SkipOutside();
  return cell;
}

UUPoint MMPixelSequencer::CellOf(int32_t state) const {
  const auto bits = static_cast<uint32_t>(state);
  return UUPoint{static_cast<int32_t>(bits >> mHeightBits), state & mHeightMask};
}

bool MMPixelSequencer::IsOutside() const {
  const UUPoint cell = CellOf(mState);
  return cell.mX >= mWidth || cell.mY >= mHeight;
}

void MMPixelSequencer::SkipOutside() {
  while (IsOutside() && !mDone) Step();
}
