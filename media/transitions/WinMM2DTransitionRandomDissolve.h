#pragma once

#include "mm/stage/MM2DTransitionEffect.h"

#include <cstdint>

// The new picture appears in cells of a fixed size, in a scattered order
// that visits every cell once; cells of one pixel are set pixel by pixel.
class WinMM2DTransitionRandomDissolve : public MM2DTransitionEffect {
 public:
  WinMM2DTransitionRandomDissolve(int32_t cellWidth, int32_t cellHeight)
      : mCellWidth(cellWidth < 1 ? 1 : cellWidth), mCellHeight(cellHeight < 1 ? 1 : cellHeight) {}

  // False (so that Run copies at once) when single pixels are asked for
  // and the back surface does not expose its pixels.
  bool PlayEffect(const UURect& rect) override;

 private:
  int32_t mCellWidth;
  int32_t mCellHeight;
};
