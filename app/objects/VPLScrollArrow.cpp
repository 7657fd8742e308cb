#include "app/objects/VPLScrollArrow.h"

void VPLScrollArrow::OnDoubleClick() {
  VPLUpAlphaHiliteObject::OnDoubleClick();
  PlaySound(kVPLClickSoundTag);
  PlayRange(kVPLClickFramesTag);
  FireCallback();
}
