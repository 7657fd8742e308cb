#include "app/creation/VPLPombleVisual.h"

#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"

VPLBasePombleVisual::VPLBasePombleVisual(VPLObj* owner, const UURefCount<MM3DModel>& model,
                                         int32_t depth)
    : MM3DDisplayTreeVisual(model->GetDisplayTree(), depth), mModel(model), mOwner(owner) {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    mPartNodes[part] =
        dynamic_cast<MM3DDisplayTreeNodeSRTTransform*>(model->FindNamedNode(kPartNodeNames[part]));
  }
}

void VPLBasePombleVisual::SetPartOn(int32_t part, bool on) {
  if (!IsBodyPart(part)) return;
  ShowPartNode(part, on);
  mPartOn[part] = on;
}

bool VPLBasePombleVisual::IsPartOn(int32_t part) const { return IsBodyPart(part) && mPartOn[part]; }

void VPLBasePombleVisual::SwitchPartOn(int32_t part) {
  if (IsBodyPart(part)) SetPartOn(part, true);
}

void VPLBasePombleVisual::AllPartsOff() {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) ShowPartNode(part, false);
}

void VPLBasePombleVisual::AllPartsOn() {
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) ShowPartNode(part, true);
}

MM3DDisplayTreeNodeSRTTransform* VPLBasePombleVisual::GetPartNode(int32_t part) const {
  return IsBodyPart(part) ? mPartNodes[part] : nullptr;
}

void VPLBasePombleVisual::ShowPartNode(int32_t part, bool shown) {
  if (mPartNodes[part] != nullptr) mPartNodes[part]->ChangeVisibility(shown ? 1 : 0);
}
