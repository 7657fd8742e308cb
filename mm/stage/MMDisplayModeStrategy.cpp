#include "mm/stage/MMDisplayModeStrategy.h"

#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/user.h"

void MMDisplayModeStrategy::AppActivated(MMStage* stage) {
  if (mMode != kMMDisplayFullScreen) return;
  RestoreDisplay(stage);
  if (Has3DDisplay(stage) && mHoldsPause) {
    stage->RemovePause();
    mHoldsPause = false;
  }
}

void MMDisplayModeStrategy::AppDeactivated(MMStage* stage) {
  if (mMode != kMMDisplayFullScreen) return;
  if (Has3DDisplay(stage) && !mHoldsPause) {
    stage->AddPause();
    mHoldsPause = true;
  }
  ReleaseDisplay(stage);
}

void MMDisplayModeStrategy::Fail(MMStage* stage) { stage->QuitApplication(); }

bool MMDisplayModeStrategy::Has3DDisplay(MMStage* stage) {
  return stage->GetDriver() && stage->GetRenderer() && stage->GetPipeline() &&
         stage->GetTextureStrategy() != nullptr;
}

UURect MMDisplayModeStrategy::GetScreenRect() {
  return UURect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

UURect MMDisplayModeStrategy::CenterOnScreen(const UURect& rect) {
  const UURect screen = GetScreenRect();
  UURect centred;
  centred.FromPointAndSize(UUPoint{(screen.mRight - rect.GetWidth()) / 2,
                                   (screen.mBottom + rect.mTop - rect.mBottom) / 2},
                           rect.GetWidth(), rect.GetHeight());
  return centred;
}

void MMDisplayModeStrategy::PlaceStage(MMStage* stage, int32_t mode, const UURect& rect) {
  mMode = mode;
  MMStageWindow* window = stage->GetWindow();
  MMStageControl* control = stage->GetControl();
  const auto placeControl = [control](const UURect& controlRect) {
    if (control != nullptr) control->SetRectIfChanged(MMRectToWin32(controlRect));
  };
  if (mode == kMMDisplayWindow) {
    const UUPoint target = MMRectFromWin32(window->GetScreenRect()).GetTopLeft();
    window->SetScreenRect(MMRectToWin32(rect));
    placeControl(rect);
    const UURect placed = MMRectFromWin32(window->GetScreenRect());
    window->SetScreenRect(MMRectToWin32(placed.OffsetBy(
        UUPoint{target.mX + rect.mLeft - placed.mLeft, target.mY + rect.mTop - placed.mTop})));
  } else if (mode == kMMDisplayFullScreen) {
    window->SetScreenRect(MMRectToWin32(rect));
    placeControl(rect);
  } else {
    window->SetScreenRect(MMRectToWin32(GetScreenRect()));
    placeControl(CenterOnScreen(rect));
  }
}
