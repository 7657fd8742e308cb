#include "media/transitions/WinMM2DTransitionPaletteFades.h"

#include "foundation/af/AFWindow.h"
#include "media/transitions/MMPaletteFade.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <memory>

namespace {

const AFPalette kBlack;

// The new picture in the palette: on the back surface and the window, and
// copied to the window.
void ShowInPalette(MM2DTransitionEffect& effect, const UURect& rect, const AFPalette& palette) {
  effect.GetBackSurface()->SetPalette(palette);
  effect.SelectPalette(palette);
  effect.CopyRect(rect);
}

// Fades the new picture in from black over steps, pacing each at done of
// total; false (with the target shown) when the time limit passed.
bool FadeIn(MM2DTransitionEffect& effect, const UURect& rect, const AFPalette& target,
            int32_t steps, int32_t& done, int32_t total) {
  ShowInPalette(effect, rect, kBlack);
  MMPaletteFade fade;
  fade.Init(kBlack, target, steps);
  AFPalette palette;
  for (int32_t i = 0; i < steps; ++i) {
    fade.GetPalette(palette, i);
    ShowInPalette(effect, rect, palette);
    if (!effect.WaitForStep(++done, total)) {
      ShowInPalette(effect, rect, target);
      return false;
    }
  }
  return true;
}

const AFPalette& TargetOf(const MMDrawingSurface* back, const AFPalette* palette) {
  return palette != nullptr ? *palette : back->GetPalette();
}

}  // namespace

void WinMM2DTransitionCutToBlackThenPaletteFadeIn::Run(MMControlSurface* front,
                                                       MMDrawingSurface* back, const UURect& rect,
                                                       const AFPalette* palette) {
  mTarget = TargetOf(back, palette);
  MM2DTransitionEffect::Run(front, back, rect, palette);
}

bool WinMM2DTransitionCutToBlackThenPaletteFadeIn::PlayEffect(const UURect& rect) {
  int32_t done = 0;
  return FadeIn(*this, rect, mTarget, mSteps, done, mSteps);
}

void WinMM2DTransitionFadeToBlackThenPaletteFadeIn::Run(MMControlSurface* front,
                                                        MMDrawingSurface* back, const UURect& rect,
                                                        const AFPalette* palette) {
  mTarget = TargetOf(back, palette);
  const AFWindow* window = GetWindowOf(front);
  mScreen = window != nullptr ? window->GetPalette() : AFPalette();
  MM2DTransitionEffect::Run(front, back, rect, palette);
}

bool WinMM2DTransitionFadeToBlackThenPaletteFadeIn::FadeOut(const UURect& rect, int32_t steps,
                                                            int32_t& done) {
  MMPaletteFade fade;
  fade.Init(mScreen, kBlack, steps);
  AFPalette palette;
  if (GetFrontSurface()->GetPixelFormat() == kMMFormat8) {
    // A palette display fades by its palette alone.
    for (int32_t i = 0; i < steps; ++i) {
      fade.GetPalette(palette, i);
      SelectPalette(palette);
      if (!WaitForStep(++done, mSteps)) return false;
    }
    return true;
  }
  // Elsewhere the old picture is taken into an 8-bit copy in the screen's
  // palette, whose palette then fades; without it the fade-out is skipped.
  std::unique_ptr<WinMMOffscreenSurface> copy(WinMMCreateOffscreenSurface(8, rect, mScreen));
  if (copy == nullptr) return true;
  copy->BeginDraw();
  const BOOL taken = BitBlt(copy->GetDC(), rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(),
                            GetFrontSurface()->GetDC(), rect.mLeft, rect.mTop, SRCCOPY);
  copy->EndDraw();
  if (!taken) return true;
  for (int32_t i = 0; i < steps; ++i) {
    fade.GetPalette(palette, i);
    copy->SetPalette(palette);
    GetFrontSurface()->CopyFrom(*copy, rect);
    if (!WaitForStep(++done, mSteps)) return false;
  }
  return true;
}

bool WinMM2DTransitionFadeToBlackThenPaletteFadeIn::PlayEffect(const UURect& rect) {
  int32_t done = 0;
  if (!FadeOut(rect, mSteps - mSteps / 2, done)) {
    ShowInPalette(*this, rect, mTarget);
    return false;
  }
  return FadeIn(*this, rect, mTarget, mSteps / 2, done, mSteps);
}
