#pragma once
// The creation screen's display: the window's client area at the top left
// of the 800 x 600 screen, the stage's own 3D device, and one try of the
// offscreen device that exports and thumbnails draw with.

#include "mm/stage/MM3DDisplayModeStrategy.h"

#include <cstdint>

class VPLDisplayModeStrategy : public MM3DDisplayModeStrategy {
 public:
  void Apply(MMStage* stage) override;
  // Places the window and the stage for the kind (a display mode) and sets
  // up the stage's device; false when no device could be had.
  virtual bool ApplyMode(MMStage* stage, int32_t kind, const UURect& rect, uint8_t option);
};
