#include "mm3d/MM3DColor.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"

#include <initializer_list>

bool MM3DColor::Write(UUWriter& writer) const {
  for (const float* component : {&mR, &mG, &mB, &mA}) {
    if (!writer.WriteFloats(component, 1)) return false;
  }
  return true;
}

bool MM3DColor::Read(UUReader& reader) {
  for (float* component : {&mR, &mG, &mB, &mA}) {
    float value = 0.0f;
    if (!reader.ReadFloats(&value, 1)) return false;
    *component = value;
  }
  return true;
}

namespace {

uint8_t PackComponent(float component) {
  return static_cast<uint8_t>(MM3DTruncate(component * 255.0f));
}

}  // namespace

void MM3DPackedColor::SetFromColor(const MM3DColor& color) {
  mR = PackComponent(color.mR);
  mG = PackComponent(color.mG);
  mB = PackComponent(color.mB);
  mA = PackComponent(color.mA);
}
