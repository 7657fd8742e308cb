#pragma once

#include "mm/stage/MM3DPlanarVisual.h"

// A quad of one colour: opaque at alpha 255, blended below it.
class MM3DSolidBoxVisual : public MM3DPlanarVisual {
 public:
  MM3DSolidBoxVisual(MM3DPackedColor color, const UURect& box, int32_t depth)
      : MM3DPlanarVisual(box, depth), mColor(color) {}

  void Draw(const MMDrawContext& context) override;

  MM3DPackedColor GetColor() const { return mColor; }

 private:
  MM3DPackedColor mColor;
};
