#include "mm/stage/MM3DSpatialView.h"

#include "mm/stage/MMStage.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"

void MM3DSpatialView::Draw(const MMRegion& region) {
  const MMStage* stage = GetStage();
  const UURefCount<MM3DRenderer> renderer = stage->GetRenderer();
  const UURefCount<MM3DPipeline>& pipeline = stage->GetPipeline();
  // A stage without a 3D display has nothing to render with.
  if (!renderer || !pipeline) return;
  AimRendererAtView(*renderer);
  // Each view starts without culling, whatever the last part drawn left.
  renderer->SetCullMode(kMM3DCullNone);
  pipeline->SetProjection(GetProjection());
  pipeline->SetCameraMatrix(GetViewMatrix());
  MMView::Draw(region);
}
