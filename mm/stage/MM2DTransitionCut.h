#pragma once

#include "mm/stage/MM2DTransitionEffect.h"

// The transition every 2D act presents with unless told otherwise: copies
// at once, and meanwhile measures how fast this machine copies, for the
// budgets of the effects: a full copy whenever the area is larger than any
// timed before, and 1000 single-pixel copies at the first cut of the run.
class MM2DTransitionCut : public MM2DTransitionEffect {
 public:
  void Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
           const AFPalette* palette) override;
};
