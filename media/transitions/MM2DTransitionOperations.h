#pragma once
// The paced effects a transition's PlayEffect can play over a rectangle:
// wipes, slides, dissolves, an opening iris, blinds and random rows. Each
// copies from the transition's back surface to the same place on its front
// surface, paces itself with the transition's WaitForStep and answers false
// as soon as the time limit has passed (or when it cannot play at all), so
// that the transition then copies the rectangle at once.

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UURect.h"
#include "mm/stage/MM2DTransitionEffect.h"

#include <cstdint>

class MMBitmap;

bool WipeRight(MM2DTransitionEffect& effect, const UURect& rect);
bool WipeLeft(MM2DTransitionEffect& effect, const UURect& rect);
bool WipeDown(MM2DTransitionEffect& effect, const UURect& rect);
bool WipeUp(MM2DTransitionEffect& effect, const UURect& rect);

// The new picture pushes the old one away from the edge it enters by.
bool SlideInFromLeft(MM2DTransitionEffect& effect, const UURect& rect);
bool SlideInFromTop(MM2DTransitionEffect& effect, const UURect& rect);
bool SlideInFromRight(MM2DTransitionEffect& effect, const UURect& rect);
bool SlideInFromBottom(MM2DTransitionEffect& effect, const UURect& rect);

// 16 x 16 blocks over a 64 x 64 grid of blocks in a scattered order.
bool BlockDissolve(MM2DTransitionEffect& effect, const UURect& rect);
// Both surfaces' 8-bit pixels, in 4096 scattered passes over 64 x 64
// cells; false when either surface does not expose 8-bit pixels.
bool DissolvePixels(MM2DTransitionEffect& effect, const UURect& rect);
// The front surface's pixels set to one byte value in the same passes.
bool FillPixels(MM2DTransitionEffect& effect, const UURect& rect, uint8_t value);
// What each step does to one small rectangle of every tile.
enum class MMTileOperation { kCopy, kBlack };
// 80 steps, each over one of 80 small rectangles that tile every 32 x 32
// tile of the rectangle.
bool ForEachTileRect(MM2DTransitionEffect& effect, const UURect& rect, MMTileOperation operation);
// By pixels where the front surface exposes them, else by tile rectangles.
bool Dissolve(MM2DTransitionEffect& effect, const UURect& rect);
// Each half of the duration: the old picture dissolves to black, then the
// new one dissolves in.
bool DissolveThroughBlack(MM2DTransitionEffect& effect, const UURect& rect);

// Rings growing from the centre to the edges.
bool IrisOpen(MM2DTransitionEffect& effect, const UURect& rect);
// Pass i copies every 24th row, starting at row i.
bool Blinds(MM2DTransitionEffect& effect, const UURect& rect);
// The rows in a shuffled order.
bool RandomRows(MM2DTransitionEffect& effect, const UURect& rect);
// Single pixels, then blocks of 2 x 2 and 4 x 4, each over a sixteenth of
// the area, in sequencer order; then the whole rectangle.
bool ThreeStageDissolve(MM2DTransitionEffect& effect, const UURect& rect);

// An effect that is done at once.
bool MMTransitionReturnTrue(MM2DTransitionEffect& effect, const UURect& rect);

// The colour of a picture's pixel as a surface draws it: the palette index
// of an 8-bit picture, else the pixel's red, green and blue.
AFColor MMPixelColor(const MMBitmap& bitmap, int32_t x, int32_t y);
// Runs steps draws, pacing after every 2^paceShift-th step and after the
// last; false as soon as the time limit has passed.
template <typename Draw>
bool MMPacedSteps(MM2DTransitionEffect& effect, int32_t steps, int32_t paceShift, Draw draw) {
  const int32_t every = 1 << paceShift;
  for (int32_t i = 0; i < steps; ++i) {
    draw(i);
    const int32_t done = i + 1;
    if ((done % every == 0 || done == steps) && !effect.WaitForStep(done, steps)) return false;
  }
  return true;
}
