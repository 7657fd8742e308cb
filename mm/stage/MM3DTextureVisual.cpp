#include "mm/stage/MM3DTextureVisual.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

MM3DTextureVisual::MM3DTextureVisual(const MM3DTextureHandle& texture, const UURect& box,
                                     int32_t depth)
    : MM3DPlanarVisual(box, depth), mTexture(texture) {
  if (mTexture.IsEmpty()) return;
  const UUPoint size = mTexture.GetSize();
  mSourceRect = UURect(0, 0, size.mX, size.mY);
}

void MM3DTextureVisual::SetSourceRect(const UURect& rect) {
  if (rect != mSourceRect) StoreSourceRect(rect);
}

bool MM3DTextureVisual::IsOpaque() const {
  return mTint.mA == 255 && (mTexture.IsEmpty() || mTexture.IsOpaque());
}

void MM3DTextureVisual::Draw(const MMDrawContext& context) {
  MM3DRenderStateBlock block = QuadBlock(IsOpaque());
  if (mTexture.IsEmpty()) {
    DrawQuad(context, block, mTint, nullptr);
    return;
  }
  block.mStages[0].mTexture = mTexture.GetDriverTexture();
  // Texel row 0 is v = 1: the v axis runs upward.
  const UUPoint size = mTexture.GetSize();
  const float width = static_cast<float>(size.mX);
  const float height = static_cast<float>(size.mY);
  const float left = static_cast<float>(mSourceRect.mLeft) / width;
  const float right = static_cast<float>(mSourceRect.mRight) / width;
  const float top = 1.0f - static_cast<float>(mSourceRect.mTop) / height;
  const float bottom = 1.0f - static_cast<float>(mSourceRect.mBottom) / height;
  const MM3DTextureCoordinate coordinates[4] = {
      {left, top}, {right, top}, {right, bottom}, {left, bottom}};
  DrawQuad(context, block, mTint, coordinates);
}
