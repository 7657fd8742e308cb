#pragma once

#include "mm/stage/MMAct.h"

// An act drawn by the 3D engine: each frame is bracketed by the renderer's
// begin and end of frame. 3D acts have no transitions and no palette.
class MM3DAct : public MMAct {
 public:
  MM3DAct(MMStage* stage, MMDisplayModeStrategy* strategy);

  void SetDefaultTransition(MM2DTransitionEffect*) override {}
  MM2DTransitionEffect* GetDefaultTransition() override { return nullptr; }
  void SetNextTransition(MM2DTransitionEffect*) override {}
  MM2DTransitionEffect* GetNextTransition() override { return nullptr; }
  void SetPalette(const AFPalette*) override {}
  const AFPalette* GetPalette() override { return nullptr; }
  void Repaint() override {}
  // Nothing while the stage's pause count is above 0.
  void Present() override;
  void Draw() override;
  void Invalidate(const UURect&) override {}
};
