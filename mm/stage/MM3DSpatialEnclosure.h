#pragma once

#include "mm/stage/MMEnclosure.h"

// A 3D space rendered through the stage's renderer and pipeline, lit by the
// lights its models push into the render context. It yields no mouse
// target: the application picks 3D objects with its own ray tests.
class MM3DSpatialEnclosure : public MMEnclosure {
 public:
  using MMEnclosure::MMEnclosure;

  // The region is ignored: a 3D frame is rendered whole.
  void Draw(const MMRegion& region) override;
  void FindTarget(UUPoint, MMMouseTarget&) override {}
};
