#include "mm/MM3DAct.h"

#include "mm/MM3DDisplayServices.h"
#include "mm/MMRegion.h"
#include "mm/MMStage.h"
#include "mm/MMView.h"

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
