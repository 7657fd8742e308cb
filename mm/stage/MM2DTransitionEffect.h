#pragma once
// What a 2D act asks of a screen transition: bring a rectangle of the back
// surface onto the window. The transitions implement it.

#include "foundation/uu/UURect.h"

class AFPalette;
class MMControlSurface;
class MMDrawingSurface;

class MM2DTransitionEffect {
 public:
  virtual ~MM2DTransitionEffect() = default;
  // palette: selected into the window first, or null.
  virtual void Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
                   const AFPalette* palette) = 0;
};
