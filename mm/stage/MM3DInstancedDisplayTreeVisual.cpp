#include "mm/stage/MM3DInstancedDisplayTreeVisual.h"

#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DMatrix.h"

MM3DInstancedDisplayTreeVisual::MM3DInstancedDisplayTreeVisual(
    MM3DDisplayTreeNode* tree, MM3DDisplayTreeNodeTransform* transform,
    UUGrowableArray<MM3DInstance*>& instances, int32_t depth)
    : MM3DDisplayTreeVisual(tree, depth), mTransform(transform) {
  mInstances.Swap(instances);
}

void MM3DInstancedDisplayTreeVisual::Draw(const MMDrawContext& context) {
  if (GetDisplayTree() == nullptr || mTransform == nullptr || !CanRender(context)) return;
  for (const MM3DInstance* instance : mInstances) {
    MM3DMatrix matrix;
    instance->WriteMatrix(matrix);
    mTransform->SetMatrix(matrix);
    Render(context);
  }
}
