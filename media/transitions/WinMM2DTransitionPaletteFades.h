#pragma once
// Transitions through black for palette pictures: the new picture is shown
// black and its palette fades in, after a cut or after the old picture has
// faded to black. The target palette is the palette given to Run, else the
// back surface's.

#include "foundation/af/AFPalette.h"
#include "mm/stage/MM2DTransitionEffect.h"

#include <cstdint>

class WinMM2DTransitionCutToBlackThenPaletteFadeIn : public MM2DTransitionEffect {
 public:
  explicit WinMM2DTransitionCutToBlackThenPaletteFadeIn(int32_t steps) : mSteps(steps) {}

  void Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
           const AFPalette* palette) override;
  // Past the time limit the target palette is shown, and false.
  bool PlayEffect(const UURect& rect) override;

 private:
  int32_t mSteps;
  AFPalette mTarget;
};

// One time line of steps: the first steps - steps / 2 fade the old picture
// to black, the rest fade the new one in.
class WinMM2DTransitionFadeToBlackThenPaletteFadeIn : public MM2DTransitionEffect {
 public:
  explicit WinMM2DTransitionFadeToBlackThenPaletteFadeIn(int32_t steps) : mSteps(steps) {}

  void Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
           const AFPalette* palette) override;
  bool PlayEffect(const UURect& rect) override;

 private:
  // False when the time limit passed.
  bool FadeOut(const UURect& rect, int32_t steps, int32_t& done);

  int32_t mSteps;
  AFPalette mTarget;
  AFPalette mScreen;
};
