#pragma once
// The intro's display: an 800 x 600 back surface of 32 bits per pixel in
// full screen, the window's client area at the top left of the screen.

#include "mm/stage/MM2DDisplayModeStrategy.h"

class VPL2DDisplayStrategy : public MM2DDisplayModeStrategy {
 public:
  void Apply(MMStage* stage) override;
};

// The one strategy of the whole run.
VPL2DDisplayStrategy& VPLIntroDisplayStrategy();
