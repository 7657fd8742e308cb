#include "mm/stage/MM3DSpatialEnclosure.h"

void MM3DSpatialEnclosure::Draw(const MMRegion& region) {
  GetRenderContext().SumAmbientLights();
  DrawVisuals3D(region);
}
