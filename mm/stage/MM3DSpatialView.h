#pragma once

#include "mm/stage/MMView.h"

// A view that renders a 3D spatial enclosure through the stage's pipeline,
// with the view's projection and its view matrix as the camera.
class MM3DSpatialView : public MMView {
 public:
  using MMView::MMView;

  // The renderer and pipeline state is set even for an empty region: the 3D
  // enclosures render whole frames.
  void Draw(const MMRegion& region) override;
};
