#pragma once

#include "mm/stage/MM3DPlanarVisual.h"
#include "mm3d/MM3DTextureHandle.h"

// A quad showing a rectangle of a texture, tinted by the vertex colour
// (opaque white after construction). It is blended when the tint or the
// texture has alpha.
class MM3DTextureVisual : public MM3DPlanarVisual {
 public:
  // Holds a reference to the texture and shows all of it. An empty handle
  // draws the quad in the tint alone.
  MM3DTextureVisual(const MM3DTextureHandle& texture, const UURect& box, int32_t depth);

  void Draw(const MMDrawContext& context) override;

  // Texels of the texture; without invalidation, as SetBox.
  void SetSourceRect(const UURect& rect);
  void SetTint(MM3DPackedColor tint) { mTint = tint; }

  const UURect& GetSourceRect() const { return mSourceRect; }
  MM3DPackedColor GetTint() const { return mTint; }
  const MM3DTextureHandle& GetTexture() const { return mTexture; }

 protected:
  virtual void StoreSourceRect(const UURect& rect) { mSourceRect = rect; }

 private:
  bool IsOpaque() const;

  UURect mSourceRect;
  MM3DPackedColor mTint{255, 255, 255, 255};
  MM3DTextureHandle mTexture;
};
