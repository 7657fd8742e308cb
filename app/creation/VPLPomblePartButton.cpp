#include "app/creation/VPLPomblePartButton.h"

#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/objects/VPLToggleButtonObject.h"

VPLPomblePartButton::VPLPomblePartButton(MMScene* scene, const UURefCount<MM3DModel>& model,
                                         MMResourceId layout, const MMTaskCallback& callback)
    : VPLObjEventGrpCtrlNonScroll(scene, model, layout, callback) {
  mSelected = -1;
}

void VPLPomblePartButton::Select(int16_t index) {
  if (GetChild(index) == nullptr) return;
  // The click flipped the chosen toggle off; it stays on.
  if (index == mSelected) {
    ShowOn(index, true);
    return;
  }
  ShowOn(mSelected, false);
  mSelected = index;
  ShowOn(index, true);
  if (mTool != nullptr) mTool->SelectPart(index);
}

void VPLPomblePartButton::ShowOn(int16_t index, bool on) const {
  if (auto* toggle = dynamic_cast<VPLToggleButtonObject*>(GetChild(index))) toggle->SetState(on);
}
