#pragma once

#include <cstdint>

#include "mm/stage/MMAct.h"

// An act drawn by the 3D engine: each frame is bracketed by the renderer's
// begin and end of frame. 3D acts have no transitions and no palette.
// A frame whose scene did not change since the last presented one is
// neither drawn nor presented: the picture on screen is still right, and
// on a machine without a 3D card each frame costs the processor. A change
// is a new count of 3D scene changes, an invalidation from a view, a
// resume, or the system asking for a repaint.
class MM3DAct : public MMAct {
 public:
  MM3DAct(MMStage* stage, MMDisplayModeStrategy* strategy);

  void SetDefaultTransition(MM2DTransitionEffect*) override {}
  MM2DTransitionEffect* GetDefaultTransition() override { return nullptr; }
  void SetNextTransition(MM2DTransitionEffect*) override {}
  MM2DTransitionEffect* GetNextTransition() override { return nullptr; }
  void SetPalette(const AFPalette*) override {}
  const AFPalette* GetPalette() override { return nullptr; }
  // The next frame is drawn and presented whole.
  void Repaint() override { mFrameNeeded = true; }
  // Nothing while the stage's pause count is above 0.
  void Present() override;
  void Draw() override;
  void Resume() override;
  void Invalidate(const UURect&) override { mFrameNeeded = true; }

 private:
  bool HasChanged() const;

  bool mFrameNeeded = true;
  uint64_t mDrawnChanges = 0;
  bool mDrawn = false;
};
