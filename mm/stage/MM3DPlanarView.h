#pragma once

#include "mm/stage/MMView.h"

// A view that renders a planar enclosure through the stage's renderer with
// an orthographic projection of the enclosure area it shows, so that a
// point of the enclosure lands on the matching pixel of the view's
// rectangle (y growing downward, as in 2D).
class MM3DPlanarView : public MMView {
 public:
  MM3DPlanarView(MMViewServices* services, MMEnclosure* enclosure, const UURect& rect,
                 int32_t depth);

  void Draw(const MMRegion& region) override;

 protected:
  void ApplyRect(const UURect& rect) override;
  void ApplyOrigin(UUPoint origin) override;

 private:
  // Projects the shown area, near 0 and far 0.1, with an identity view
  // matrix; each applied only when it changes.
  void UpdateProjection();
};
