#pragma once
// A control over one of the system's control windows: geometry, visibility
// and enabling are the window's own.

#include "foundation/af/AFControl.h"

class WinAFSystemControl : public AFControl {
 public:
  explicit WinAFSystemControl(AFWindow* owner) : AFControl(owner) {}
  // The rectangle is the one the concrete control creates its window with.
  WinAFSystemControl(AFWindow* owner, const RECT&) : AFControl(owner) {}

  RECT GetRect() override;
  bool IsVisible() override;
  bool IsEnabled() override;
  // Moves or sizes only what changed.
  void SetRect(const RECT& rect) override;
  void Show(bool shown) override;
  void Enable(bool enabled) override;
};

// The window's rectangle in its parent's client coordinates.
RECT WinAFWindowRectInParent(HWND window);
// Moves and sizes a child window, leaving out what did not change.
void WinAFSetWindowRect(HWND window, const RECT& current, const RECT& wanted);
