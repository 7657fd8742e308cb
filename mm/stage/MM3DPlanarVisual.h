#pragma once

#include "mm/stage/MMVisual.h"
#include "mm3d/MM3DColor.h"

class MM3DRenderStateBlock;
struct MM3DTextureCoordinate;

// A box in a 3D planar enclosure, hit-tested like a 2D box and drawn as a
// flat quad at z = 0 in enclosure coordinates, which the 3D planar view
// projects onto its rectangle.
class MM3DPlanarVisual : public MMPlanarVisual {
 public:
  MM3DPlanarVisual(const UURect& box, int32_t depth) : MMPlanarVisual(depth), mBox(box) {}

  UURect GetBounds() const override { return mBox; }
  bool Contains(int32_t x, int32_t y) const override;

  // Without invalidation: 3D views redraw whole frames.
  void SetBox(const UURect& box);
  // Division truncating toward zero: a box of odd size lies one pixel
  // nearer the bottom right.
  void CenterOn(UUPoint point);

 protected:
  // Moves the box, its size kept.
  void StorePosition(UUPoint point) override;
  virtual void StoreBox(const UURect& box) { mBox = box; }

  // One stage without texture: written opaque (depth test and write, one
  // to zero) or blended over what is drawn (depth test only, source alpha).
  static MM3DRenderStateBlock QuadBlock(bool opaque);
  // The box as two triangles with the block's state, the colour on every
  // corner and, when given, four texture coordinates in corner order. The
  // block's texture handles are released afterwards.
  void DrawQuad(const MMDrawContext& context, MM3DRenderStateBlock& block, MM3DPackedColor color,
                const MM3DTextureCoordinate* coordinates) const;

 private:
  UURect mBox;
};
