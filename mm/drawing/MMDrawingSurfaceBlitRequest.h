#pragma once

#include "mm/drawing/MMBlitRequest.h"
#include "mm/drawing/MMSurface.h"

// A blit request whose destination is a surface, locked only while the blit
// runs and clipped to the surface's clip rectangle then.
class MMDrawingSurfaceBlitRequest : public MMBlitRequest {
 public:
  // The whole image stretched into rect (surface coordinates).
  bool Prepare(MMImageDescription* image, MMSurface* surface, const UURect& rect);
  // A source rectangle (right to left or bottom to top to mirror)
  // stretched into rect.
  bool PrepareRect(MMImageDescription* image, MMSurface* surface, const UURect& sourceRect,
                   const UURect& rect);
  // True when something was drawn. Executed once: it moves the start.
  bool Execute() override;

 private:
  bool PrepareAxes(MMImageDescription* image, MMSurface* surface, const UURect& sourceRect,
                   const UURect& rect, bool exactWhenEqual);
  static int32_t StartOffset(int32_t skipped, int32_t step);

  MMSurface* mSurface = nullptr;
  UURect mRect;
  UURect mClipped;
};
