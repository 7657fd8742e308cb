#include "mm/stage/MMView.h"

#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMAct.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMSceneServices.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/MM3DSceneChanges.h"

namespace {

// The default perspective: 45 degrees of vertical field of view, near 1,
// far 1000, and the whole stage's aspect. A host without an act or stage,
// or a stage without height, keeps the volume's own aspect.
MM3DProjectionVolume DefaultProjection(MMViewServices* services) {
  MM3DProjectionVolume projection;
  MMAct* act = services->GetAct();
  MMStage* stage = act != nullptr ? act->GetStage() : nullptr;
  if (stage == nullptr) return projection;
  const UURect stageRect = stage->GetLocalRect();
  if (stageRect.GetHeight() <= 0) return projection;
  const float aspect =
      static_cast<float>(stageRect.GetWidth()) / static_cast<float>(stageRect.GetHeight());
  projection.SetPerspective(45.0f * 0.0174532924f, aspect, 1.0f, 1000.0f);
  return projection;
}

}  // namespace

MMView::MMView(MMViewServices* services, MMEnclosure* enclosure, const UURect& rect, int32_t depth)
    : mRect(rect),
      mDepth(depth),
      mServices(services),
      mEnclosure(enclosure),
      mProjection(DefaultProjection(services)),
      mViewMatrix(MM3DMatrixIdentity) {
  mServices->AddView(this);
  mEnclosure->AddView(this);
  mServices->Invalidate(mRect);
}

MMView::~MMView() {
  mServices->Invalidate(mRect);
  mServices->RemoveView(this);
  mEnclosure->RemoveView(this);
}

MMStage* MMView::GetStage() const { return mServices->GetAct()->GetStage(); }

void MMView::Detach() {
  MMAct* act = mServices->GetAct();
  if (act->GetMouseTarget().ContainsView(this)) act->SetMouseTarget(MMMouseTarget());
}

void MMView::StageToEnclosure(MMRegion& region) const { region.Offset(EnclosureOffset()); }

void MMView::EnclosureToStage(MMRegion& region) const { region.Offset(StageOffset()); }

void MMView::ShownRegion(const MMRegion& region, MMRegion& shown) const {
  shown = region;
  shown.IntersectRect(mRect);
  shown.Sort();
  StageToEnclosure(shown);
}

void MMView::Draw(const MMRegion& region) {
  MMRegion shown;
  ShownRegion(region, shown);
  mEnclosure->Draw(shown);
}

void MMView::HitTest(UUPoint point, MMMouseTarget& target) {
  StageToEnclosure(point);
  mEnclosure->FindTarget(point, target);
  if (target.mStatus == kMMTargetFound) target.PushView(this);
}

void MMView::Invalidate(const UURect& rect) {
  if (!IsVisible()) return;
  UURect onStage = rect;
  EnclosureToStage(onStage);
  onStage.Intersect(mRect);
  if (!onStage.IsEmpty()) mServices->Invalidate(onStage);
}

void MMView::InvalidateWhenShown() const {
  if (IsVisible()) mServices->Invalidate(mRect);
}

void MMView::SetVisibility(MMVisibility visibility) {
  if (visibility == mVisibility) return;
  ApplyVisibility(visibility);
  mServices->VisibilityChanged();
}

void MMView::SetRect(const UURect& rect) {
  if (rect != mRect) ApplyRect(rect);
}

void MMView::SetDepth(int32_t depth) {
  if (depth == mDepth) return;
  ApplyDepth(depth);
  mServices->SortViews();
}

void MMView::SetOrigin(UUPoint origin) {
  if (origin != mOrigin) ApplyOrigin(origin);
}

void MMView::SetDepthRange(const MM3DDepthRange& range) {
  if (range == mDepthRange) return;
  ApplyDepthRange(range);
  MM3DSceneChanges::Note();
}

void MMView::SetProjection(const MM3DProjectionVolume& projection) {
  if (projection == mProjection) return;
  ApplyProjection(projection);
  MM3DSceneChanges::Note();
}

void MMView::UpdateViewMatrix(const MM3DMatrix& matrix) {
  if (matrix == mViewMatrix) return;
  ApplyViewMatrix(matrix);
  MM3DSceneChanges::Note();
}

void MMView::ApplyVisibility(MMVisibility visibility) {
  mVisibility = visibility;
  mServices->Invalidate(mRect);
}

void MMView::ApplyRect(const UURect& rect) {
  InvalidateWhenShown();
  mRect = rect;
  InvalidateWhenShown();
}

void MMView::ApplyDepth(int32_t depth) {
  mDepth = depth;
  InvalidateWhenShown();
}

void MMView::ApplyOrigin(UUPoint origin) {
  mOrigin = origin;
  InvalidateWhenShown();
}

void MMView::AimRendererAtView(MM3DRenderer& renderer) const {
  renderer.SetTarget(nullptr);
  renderer.SetViewport(mRect);
  renderer.SetDepthRange(mDepthRange);
}

namespace {

// Keeps a surface's origin and clip and puts them back at the end of its
// scope.
class SurfaceStateSaver {
 public:
  explicit SurfaceStateSaver(MMDrawingSurface& surface)
      : mSurface(surface), mOrigin(surface.GetRect().GetTopLeft()), mClip(surface.GetClipRect()) {}
  ~SurfaceStateSaver() {
    mSurface.SetOrigin(mOrigin.mX, mOrigin.mY);
    mSurface.SetClipRect(mClip);
  }
  SurfaceStateSaver(const SurfaceStateSaver&) = delete;
  SurfaceStateSaver& operator=(const SurfaceStateSaver&) = delete;

  UUPoint Origin() const { return mOrigin; }
  const UURect& Clip() const { return mClip; }

 private:
  MMDrawingSurface& mSurface;
  UUPoint mOrigin;
  UURect mClip;
};

}  // namespace

void MM2DPlanarView::Draw(const MMRegion& region) {
  MMDrawingSurface& surface = *GetStage()->GetBackSurface();
  const SurfaceStateSaver saved(surface);
  const UURect rect = GetRect();
  UURect clip = saved.Clip();
  clip.Intersect(rect);
  StageToEnclosure(clip);
  surface.SetOrigin(saved.Origin().mX + GetOrigin().mX - rect.mLeft,
                    saved.Origin().mY + GetOrigin().mY - rect.mTop);
  surface.SetClipRect(clip);
  MMRegion shown;
  ShownRegion(region, shown);
  GetEnclosure()->Draw(shown);
}
