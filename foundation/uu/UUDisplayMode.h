#pragma once
// One screen mode, and the switch to it and back to the mode the user chose.

#include <cstdint>

#include "foundation/uu/UUPoint.h"

class UUDisplayMode {
 public:
  // size: x the width, y the height in pixels.
  UUDisplayMode(UUPoint size, int32_t bitsPerPixel, bool fullScreen);

  // Switches the screen for this run only (nothing is written to the
  // registry); a change that needs a restart counts as done.
  bool Apply() const;
  // Back to the mode stored in the registry; answers the system's result.
  static int32_t Restore();

  int32_t mWidth;
  int32_t mHeight;
  bool mFullScreen;  // kept for the owner; the switch does not read it
  int32_t mBitsPerPixel;
};

// Three rows of two {minimum, maximum} ranges.
void UUValueRangeGet(int32_t row, int32_t column, int32_t& minimum, int32_t& maximum);
bool UUValueRangeContains(int32_t row, int32_t column, int32_t value);
