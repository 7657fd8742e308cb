#pragma once

#include "foundation/uu/UUPoint.h"

#include <cstdint>

// The cells of a grid in a scattered order, each once, from a maximal-length
// linear-feedback shift register over the bits of both coordinates (x in
// the high bits, y in the low bits). A full pass returns every cell except
// (0, 0), which callers draw themselves at the end.
class MMPixelSequencer {
 public:
  void Init(int32_t width, int32_t height);
  void Restart();
  void Step();
  // The current cell; then moves on to the next cell inside the grid.
  UUPoint Next();

  bool IsDone() const { return mDone; }

  // The number of right shifts that bring n to 0.
  static int32_t Bits(uint32_t n);

 private:
  bool IsOutside() const;
  UUPoint CellOf(int32_t state) const;
  void SkipOutside();

  int32_t mWidth = 0;
  int32_t mHeight = 0;
  int32_t mState = 1;
  int32_t mTaps = 0;
  int32_t mHeightBits = 0;
  int32_t mHeightMask = 0;
  bool mDone = false;
};
