#include "mm/stage/MM2DAct.h"

#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/stage/MM2DTransitionCut.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"

MM2DAct::MM2DAct(MMStage* stage, MMDisplayModeStrategy* strategy) : MMAct(stage, strategy) {}

void MM2DAct::SetPalette(const AFPalette* palette) {
  mHasPalette = palette != nullptr;
  if (palette != nullptr) mPalette = *palette;
}

void MM2DAct::Draw() {
  if (mDirtyRegion.GetCount() == 0) return;
  mDirtyRegion.Sort();
  MMStage* stage = GetStage();
  MMDrawingSurface* back = stage->GetBackSurface();
  if (mHasPalette) back->SetPalette(mPalette);
  for (MMView* view : GetViews()) {
    if (view->IsVisible() && mDirtyRegion.IntersectsRect(view->GetRect())) view->Draw(mDirtyRegion);
  }
  MMRegion presented;
  if (mHasPalette) {
    presented.Set(stage->GetLocalRect());
  } else {
    presented = mDirtyRegion;
  }
  stage->StageToSurface(presented);
  stage->AddDirtyRegion(presented);
  mDirtyRegion.Clear();
}

void MM2DAct::MoveBackSurfaceOrigin(UUPoint origin) {
  GetStage()->StageToSurface(origin);
  GetStage()->GetBackSurface()->SetOrigin(origin.mX, origin.mY);
}

void MM2DAct::Present() {
  MMStage* stage = GetStage();
  const MMRegion region = stage->GetDirtyRegion();
  if (region.GetCount() == 0) return;
  const UUPoint localOrigin = stage->GetLocalRect().GetTopLeft();
  MoveBackSurfaceOrigin(localOrigin);
  MM2DTransitionEffect* transition = GetNextTransition();
  if (transition == nullptr) transition = GetDefaultTransition();
  const AFPalette* palette = GetPalette();
  MMControlSurface* front = stage->GetFrontSurface();
  MMDrawingSurface* back = stage->GetBackSurface();
  if (transition != nullptr) {
    transition->Run(front, back, region.GetBounds(), palette);
  } else {
    MM2DTransitionCut cut;
    for (int32_t i = 0; i < region.GetCount(); ++i)
      cut.Run(front, back, region.GetRect(i), palette);
  }
  MoveBackSurfaceOrigin(localOrigin);
  SetPalette(nullptr);
  SetNextTransition(nullptr);
}

void MM2DAct::Repaint() {
  MMStage* stage = GetStage();
  MMDrawingSurface* back = stage->GetBackSurface();
  MMControlSurface* front = stage->GetFrontSurface();
  if (back == nullptr || front == nullptr) return;
  const UUPoint localOrigin = stage->GetLocalRect().GetTopLeft();
  MoveBackSurfaceOrigin(back->GetRect().GetTopLeft());
  UURect whole = stage->GetLocalRect();
  stage->StageToSurface(whole);
  front->CopyFrom(*back, whole);
  MoveBackSurfaceOrigin(localOrigin);
}
