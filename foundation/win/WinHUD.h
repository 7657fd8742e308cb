#pragma once
// The statistics display as a small top-level window of its own, painting
// the frame rate, the share of the frame spent rendering and the polygons
// drawn in red over the window's background. It keeps its place between
// runs.

#include "foundation/af/HUD.h"
#include "foundation/win/Window.h"

class WinHUD;

class HUDWindow : public Window {
 public:
  HUDWindow(const AFWindowDescription& description, const UURegistryLocation& location,
            WinHUD* hud);
  // Tells its display, which then has no window.
  ~HUDWindow() override;

  bool Paint() override;

 private:
  WinHUD* mHUD;
};

class WinHUD : public HUD {
 public:
  // Shows the window; when it cannot be allocated there is no window.
  WinHUD();
  // Deletes the window, which stores its place.
  ~WinHUD() override;

  // Null when the window could not be made.
  HUDWindow* GetWindow() const { return mWindow; }

 protected:
  // Repaints the whole window.
  void Refresh() override;

 private:
  // The user may close the window, which deletes it; the display then
  // forgets it rather than keep a pointer to a deleted window.
  friend class HUDWindow;

  HUDWindow* mWindow = nullptr;
};
