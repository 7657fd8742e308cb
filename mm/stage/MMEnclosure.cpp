#include "mm/stage/MMEnclosure.h"

#include "mm/drawing/MMDrawingSurface.h"
#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"
#include "mm/stage/MMVisual.h"

void MMEnclosure::AddVisual(MMVisual* visual) {
  if (mOrderValid && !mVisuals.IsEmpty() && visual->GetDepth() < mVisuals.Back()->GetDepth()) {
    mOrderValid = false;
  }
  mVisuals.PushBack(visual);
  visual->SetEnclosure(this);
}

void MMEnclosure::RemoveVisual(MMVisual* visual) {
  visual->SetEnclosure(nullptr);
  mVisuals.Remove(visual);
}

void MMEnclosure::Invalidate(const UURect& rect) {
  if (rect.IsEmpty()) return;
  for (MMView* view : mViews) view->Invalidate(rect);
}

bool MMEnclosure::CompareDepth(MMVisual* const* a, MMVisual* const* b) {
  return (*a)->GetDepth() < (*b)->GetDepth();
}

void MMEnclosure::SortIfNeeded() {
  if (mOrderValid) return;
  mVisuals.Sort(CompareDepth);
  mOrderValid = true;
}

void MMEnclosure::DrawVisuals(const MMDrawContext& context) {
  SortIfNeeded();
  for (MMVisual* visual : mVisuals) {
    if (visual->GetVisibility() == kMMShown) visual->Draw(context);
  }
}

void MMEnclosure::DrawVisuals3D(const MMRegion& region) {
  MMDrawContext context;
  context.mRegion = region;
  context.mRenderer = mStage->GetRenderer();
  context.mPipeline = mStage->GetPipeline();
  if (!context.mRenderer || !context.mPipeline) return;
  context.mRenderContext = &mRenderContext;
  DrawVisuals(context);
}

void MMPlanarEnclosure::FindTarget(UUPoint point, MMMouseTarget& target) {
  SortIfNeeded();
  const UUList<MMVisual*>& visuals = GetVisuals();
  for (UUUntypedListNode* node = visuals.End()->mPrevious; node != visuals.End();
       node = node->mPrevious) {
    MMVisual* visual = UUList<MMVisual*>::ValueOf(node);
    if (visual->GetVisibility() != kMMShown) continue;
    visual->HitTest(point, target);
    if (target.mStatus != kMMTargetSearching) return;
  }
}

void MM2DPlanarEnclosure::Draw(const MMRegion& region) {
  if (region.GetCount() == 0) return;
  MMSurface* surface = GetStage()->GetBackSurface();
  surface->BeginDraw();
  MMDrawContext context;
  context.mSurface = surface;
  context.mRegion = region;
  DrawVisuals(context);
  surface->EndDraw();
}
