#pragma once

#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMAct.h"

// An act drawn in 2D: its views repaint the dirty areas into the stage's
// back surface, and Present brings them to the window, through a transition
// when one is set.
class MM2DAct : public MMAct {
 public:
  MM2DAct(MMStage* stage, MMDisplayModeStrategy* strategy);

  void SetDefaultTransition(MM2DTransitionEffect* effect) override { mDefaultTransition = effect; }
  MM2DTransitionEffect* GetDefaultTransition() override { return mDefaultTransition; }
  // For the next Present only.
  void SetNextTransition(MM2DTransitionEffect* effect) override { mNextTransition = effect; }
  MM2DTransitionEffect* GetNextTransition() override { return mNextTransition; }
  // For the next Draw and Present only.
  void SetPalette(const AFPalette* palette) override;
  const AFPalette* GetPalette() override { return mHasPalette ? &mPalette : nullptr; }
  void Repaint() override;
  void Present() override;
  void Draw() override;
  void Invalidate(const UURect& rect) override { mDirtyRegion.AddIfNotEmpty(rect); }

  const MMRegion& GetDirtyRegion() const { return mDirtyRegion; }

 private:
  void MoveBackSurfaceOrigin(UUPoint origin);

  MMRegion mDirtyRegion;
  MM2DTransitionEffect* mNextTransition = nullptr;
  AFPalette mPalette;
  bool mHasPalette = false;
  MM2DTransitionEffect* mDefaultTransition = nullptr;
};
