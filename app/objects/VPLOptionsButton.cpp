#include "app/objects/VPLOptionsButton.h"

#include "app/objects/VPLToggleButtonObject.h"

namespace {

// The option's toggle; null when the child is none or no toggle.
VPLToggleButtonObject* Toggle(VPLObjEvent* child) {
  return dynamic_cast<VPLToggleButtonObject*>(child);
}

}  // namespace

void VPLOptionsButton::Select(int16_t index) {
  if (mSelected >= 0) {
    if (VPLToggleButtonObject* previous = Toggle(GetChild(mSelected))) previous->SetState(false);
  }
  VPLObjEventGrpCtrlNonScroll::Select(index);
  if (VPLToggleButtonObject* selected = Toggle(GetChild(mSelected))) selected->SetState(true);
}
