#pragma once

#include "foundation/uu/UUDisplayMode.h"
#include "mm/stage/MMDisplayModeStrategy.h"

// Gives the stage an offscreen back surface; in full screen it keeps the
// display mode it switches the screen to (16 bits per pixel whatever the
// surface's depth).
class MM2DDisplayModeStrategy : public MMDisplayModeStrategy {
 public:
  // A 640 x 480 window of 32 bits per pixel.
  void Apply(MMStage* stage) override;
  bool RestoreDisplay(MMStage* stage) override;
  void ReleaseDisplay(MMStage* stage) override;

  bool ApplyMode(MMStage* stage, int32_t mode, const UURect& rect, int32_t bitsPerPixel);
  // Null before the first Apply.
  const UUDisplayMode* GetDisplayMode() const { return mHasDisplayMode ? &mDisplayMode : nullptr; }

 private:
  // Kept in the strategy itself: the standard strategies outlive the memory
  // pool that allocations come from.
  bool mHasDisplayMode = false;
  UUDisplayMode mDisplayMode{UUPoint{0, 0}, 16, false};
};

// The strategy acts use unless they bring their own; built at start-up.
MM2DDisplayModeStrategy& MMStandard2DDisplayModeStrategy();
