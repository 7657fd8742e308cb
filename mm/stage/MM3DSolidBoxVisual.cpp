#include "mm/stage/MM3DSolidBoxVisual.h"

#include "mm3d/drivers/MM3DRenderStateBlock.h"

void MM3DSolidBoxVisual::Draw(const MMDrawContext& context) {
  MM3DRenderStateBlock block = QuadBlock(mColor.mA == 255);
  DrawQuad(context, block, mColor, nullptr);
}
