#include "mm/stage/MM3DAct.h"

#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"
#include "mm3d/MM3DSceneChanges.h"

MM3DAct::MM3DAct(MMStage* stage, MMDisplayModeStrategy* strategy) : MMAct(stage, strategy) {}

bool MM3DAct::HasChanged() const {
  return mFrameNeeded || MM3DSceneChanges::Get() != mDrawnChanges;
}

void MM3DAct::Draw() {
  MMStage* stage = GetStage();
  mDrawn = false;
  if (stage->GetPauseCount() > 0 || !HasChanged()) return;
  stage->GetRenderer()->BeginFrame();
  for (MMView* view : GetViews()) {
    if (!view->IsVisible()) continue;
    MMRegion region;
    region.Set(view->GetRect());
    view->Draw(region);
  }
  // Taken after drawing: caches the drawing itself refreshes are no change.
  mDrawnChanges = MM3DSceneChanges::Get();
  mFrameNeeded = false;
  mDrawn = true;
}

void MM3DAct::Present() {
  MMStage* stage = GetStage();
  if (stage->GetPauseCount() > 0) return;
  // A paint that arrived while the frame was being made asks for another.
  if (stage->GetDirtyRegion().GetCount() != 0) mFrameNeeded = true;
  if (!mDrawn) return;
  stage->GetRenderer()->EndFrame();
  mDrawn = false;
}

void MM3DAct::Resume() {
  mFrameNeeded = true;
  MMAct::Resume();
}
