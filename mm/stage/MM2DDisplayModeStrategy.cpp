#include "mm/stage/MM2DDisplayModeStrategy.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"

namespace {
constexpr int32_t kFullScreenBitsPerPixel = 16;
}  // namespace

void MM2DDisplayModeStrategy::Apply(MMStage* stage) {
  if (!ApplyMode(stage, kMMDisplayWindow, UURect(0, 0, 640, 480), 32)) Fail(stage);
}

bool MM2DDisplayModeStrategy::ApplyMode(MMStage* stage, int32_t mode, const UURect& rect,
                                        int32_t bitsPerPixel) {
  PlaceStage(stage, mode, rect);
  WinMMOffscreenSurface* surface =
      WinMMCreateOffscreenSurface(bitsPerPixel, rect, stage->GetWindow()->GetPalette());
  if (surface == nullptr) return false;
  stage->SetBackSurface(surface);
  mDisplayMode =
      UUDisplayMode(rect.GetSize(), kFullScreenBitsPerPixel, mode == kMMDisplayFullScreen);
  mHasDisplayMode = true;
  RestoreDisplay(stage);
  return true;
}

bool MM2DDisplayModeStrategy::RestoreDisplay(MMStage* stage) {
  HWND window = stage->GetWindow()->GetHandle();
  if (stage->GetFrontSurface() != nullptr && stage->GetBackSurface() != nullptr &&
      IsIconic(window)) {
    OpenIcon(window);
  }
  if (mMode == kMMDisplayFullScreen && stage->GetBackSurface() != nullptr && mHasDisplayMode) {
    return mDisplayMode.Apply();
  }
  return true;
}

void MM2DDisplayModeStrategy::ReleaseDisplay(MMStage* stage) {
  if (mMode == kMMDisplayFullScreen && stage->GetBackSurface() != nullptr) UUDisplayMode::Restore();
  HWND window = stage->GetWindow()->GetHandle();
  if (stage->GetFrontSurface() != nullptr && stage->GetBackSurface() != nullptr &&
      !IsIconic(window)) {
    CloseWindow(window);
  }
}

MM2DDisplayModeStrategy& MMStandard2DDisplayModeStrategy() {
  static MM2DDisplayModeStrategy strategy;
  return strategy;
}
