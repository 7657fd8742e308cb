#include "mm/stage/MM3DPlanarView.h"

#include "mm/stage/MMStage.h"
#include "mm3d/MM3DRenderer.h"

MM3DPlanarView::MM3DPlanarView(MMViewServices* services, MMEnclosure* enclosure, const UURect& rect,
                               int32_t depth)
    : MMView(services, enclosure, rect, depth) {
  UpdateProjection();
}

void MM3DPlanarView::Draw(const MMRegion& region) {
  const UURefCount<MM3DRenderer> renderer = GetStage()->GetRenderer();
  // A stage without a 3D display has nothing to render with.
  if (!renderer) return;
  AimRendererAtView(*renderer);
  // Flat quads face either way; a 3D pass before may have left culling on.
  renderer->SetCullMode(kMM3DCullNone);
  renderer->SetProjection(GetProjection());
  renderer->SetViewMatrix(GetViewMatrix());
  MMView::Draw(region);
}

void MM3DPlanarView::ApplyRect(const UURect& rect) {
  MMView::ApplyRect(rect);
  UpdateProjection();
}

void MM3DPlanarView::ApplyOrigin(UUPoint origin) {
  MMView::ApplyOrigin(origin);
  UpdateProjection();
}

void MM3DPlanarView::UpdateProjection() {
  const UUPoint origin = GetOrigin();
  const UURect rect = GetRect();
  const UURect shown(origin.mX, origin.mY, origin.mX + rect.GetWidth(),
                     origin.mY + rect.GetHeight());
  MM3DProjectionVolume projection;
  projection.SetOrthographic(static_cast<float>(shown.mLeft), static_cast<float>(shown.mRight),
                             static_cast<float>(shown.mBottom), static_cast<float>(shown.mTop),
                             0.0f, 0.1f);
  if (!(projection == GetProjection())) ApplyProjection(projection);
  if (!(MM3DMatrixIdentity == GetViewMatrix())) ApplyViewMatrix(MM3DMatrixIdentity);
}
