#pragma once

#include "mm/stage/MMEnclosure.h"

// A planar enclosure whose flat visuals are rendered through the stage's 3D
// renderer, hit-tested as in 2D.
class MM3DPlanarEnclosure : public MMPlanarEnclosure {
 public:
  using MMPlanarEnclosure::MMPlanarEnclosure;

  // The region is ignored: a 3D frame is rendered whole.
  void Draw(const MMRegion& region) override { DrawVisuals3D(region); }
};
