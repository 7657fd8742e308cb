#pragma once

#include <cstdint>

#include "foundation/uu/UURect.h"

class MMStage;

// Display modes.
constexpr int32_t kMMDisplayWindow = 1;
constexpr int32_t kMMDisplayFullScreen = 3;

// Decides how the stage uses the screen and builds its display objects.
// Every act makes its strategy current on the stage, which tears down the
// old display and calls Apply. In full screen the strategies also give the
// screen back when the application is deactivated and take it again.
// Any mode other than window and full screen is a window covering the
// whole screen with the stage centred in it.
class MMDisplayModeStrategy {
 public:
  MMDisplayModeStrategy() = default;
  virtual ~MMDisplayModeStrategy() = default;
  MMDisplayModeStrategy(const MMDisplayModeStrategy&) = delete;
  MMDisplayModeStrategy& operator=(const MMDisplayModeStrategy&) = delete;

  // Installs a back surface or a 3D display on the stage.
  virtual void Apply(MMStage* stage) = 0;
  virtual void AppActivated(MMStage* stage);
  virtual void AppDeactivated(MMStage* stage);
  // No display can be built: the application is asked to quit.
  virtual void Fail(MMStage* stage);
  virtual bool RestoreDisplay(MMStage* stage) = 0;
  virtual void ReleaseDisplay(MMStage* stage) = 0;

  int32_t GetMode() const { return mMode; }

  static UURect GetScreenRect();
  static UURect CenterOnScreen(const UURect& rect);

 protected:
  // Sizes and places the window and the stage control for the mode.
  void PlaceStage(MMStage* stage, int32_t mode, const UURect& rect);
  static bool Has3DDisplay(MMStage* stage);

  int32_t mMode = kMMDisplayWindow;
  // Whether the strategy holds a pause of the stage: an activation that
  // did not follow a deactivation removes none, so the count never drops
  // below what the stage's other pauses make it.
  bool mHoldsPause = false;
};
