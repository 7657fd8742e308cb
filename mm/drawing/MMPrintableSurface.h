#pragma once

#include "foundation/af/AFPrintable.h"
#include "foundation/uu/UURect.h"

class MMDrawingSurface;

// A drawing surface's pixels stretched into a rectangle of the page
// (printer device pixels). The surface is not owned; the whole surface
// reaches the page when its rectangle starts at (0, 0).
class MMPrintableSurface : public AFPrintable {
 public:
  MMPrintableSurface(const UURect& pageRect, MMDrawingSurface* surface)
      : mPageRect(pageRect), mSurface(surface) {}

  // False when there is no surface or the pixels could not be drawn.
  bool Draw(AFPrintSessionBase& session) override;

  const UURect& GetPageRect() const { return mPageRect; }
  void SetPageRect(const UURect& rect) { mPageRect = rect; }

 private:
  UURect mPageRect;
  MMDrawingSurface* mSurface;
};
