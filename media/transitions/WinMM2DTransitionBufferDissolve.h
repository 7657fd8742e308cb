#pragma once

#include "mm/stage/MM2DTransitionEffect.h"

#include <cstdint>

// The new picture's pixels are written in a scattered order into a copy of
// what the window shows, which is brought to the window at intervals: the
// larger the refresh divisor, the more often.
class WinMM2DTransitionBufferDissolve : public MM2DTransitionEffect {
 public:
  explicit WinMM2DTransitionBufferDissolve(int32_t refreshDivisor)
      : mRefreshDivisor(refreshDivisor < 1 ? 1 : refreshDivisor) {}

  // False when the back surface's pixels are neither 8 nor 32 bits, or the
  // buffer cannot be made or filled.
  bool PlayEffect(const UURect& rect) override;

 private:
  int32_t mRefreshDivisor;
};
