#include "mm/stage/MM3DDisplayTreeVisual.h"

#include "mm/stage/MMDrawContext.h"
#include "mm3d/MM3DDisplayTreeNode.h"

bool MM3DDisplayTreeVisual::CanRender(const MMDrawContext& context) {
  return context.mRenderContext != nullptr && context.mPipeline && context.mRenderer;
}

void MM3DDisplayTreeVisual::Render(const MMDrawContext& context) {
  mTree->Render(*context.mRenderContext, *context.mPipeline, *context.mRenderer);
}

void MM3DDisplayTreeVisual::Draw(const MMDrawContext& context) {
  if (mTree != nullptr && CanRender(context)) Render(context);
}
