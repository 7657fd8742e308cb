#include "mm/stage/MM3DAct.h"

#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"

MM3DAct::MM3DAct(MMStage* stage, MMDisplayModeStrategy* strategy) : MMAct(stage, strategy) {}

void MM3DAct::Draw() {
  MMStage* stage = GetStage();
  if (stage->GetPauseCount() > 0) return;
  stage->GetRenderer()->BeginFrame();
  for (MMView* view : GetViews()) {
    if (!view->IsVisible()) continue;
    MMRegion region;
    region.Set(view->GetRect());
    view->Draw(region);
  }
}

void MM3DAct::Present() {
  MMStage* stage = GetStage();
  if (stage->GetPauseCount() > 0) return;
  stage->GetRenderer()->EndFrame();
}
