#pragma once
// The enclosure of the creation act's scenes: the framework never hit-tests
// their visuals, because the scenes pick their own objects in 3D.

#include "mm/stage/MM3DSpatialEnclosure.h"

class VPLEnclosure : public MM3DSpatialEnclosure {
 public:
  using MM3DSpatialEnclosure::MM3DSpatialEnclosure;

  void FindTarget(UUPoint, MMMouseTarget&) override {}
};
