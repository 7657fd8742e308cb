#pragma once

#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMSurface.h"

#include <cstdint>

// The surface of the stage control's window: drawn through the window's
// device context, which it keeps for its whole life. Its pixels cannot be
// locked; finished offscreen pictures are copied onto it. The display is a
// true-colour device, so pictures reach the window by BitBlt (DrawDib is for
// palette displays only).
class MMControlSurface : public MMSurface {
 public:
  // The stage control's window.
  explicit MMControlSurface(HWND window);
  ~MMControlSurface() override;

  // The window's client area.
  UURect GetRect() const override;
  // 0 on an 8-bit display, else 3.
  int32_t GetPixelFormat() const override;
  bool GetImageDescription(MMBitmap&) const override { return false; }

  // Copies the rectangle of the source to the same place in the window;
  // answers the copy's result.
  int32_t CopyFrom(MMDrawingSurface& source, const UURect& rect);
  // Copies from a source point into the window's rectangle.
  int32_t CopyFromAt(MMDrawingSurface& source, const UUPoint& sourcePoint, const UURect& rect);
  // Moves the rectangle's pixels by (dx, dy); true when only the strip the
  // move uncovers needs repainting.
  bool Scroll(const UURect& rect, int32_t dx, int32_t dy);

  HWND GetWindow() const { return mWindow; }

 private:
  HWND mWindow;
};
