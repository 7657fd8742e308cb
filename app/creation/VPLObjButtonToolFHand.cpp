#include "app/creation/VPLObjButtonToolFHand.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLToggleButtonObject.h"

namespace {

constexpr MMResourceId kFlatLook = 316;
constexpr MMResourceId kRoundedLook = 315;
constexpr int32_t kFreehandTool = 8;

}  // namespace

void VPLObjButtonToolFHand::Engage() {
  mToggle = Append(std::make_unique<VPLToggleButtonObject>(
      GetScene(), DefinitionModel(kFlatLook), kFlatLook, kRoundedLook,
      Callback(&VPLObjButtonToolFHand::OnFreehandToggled), kFlatLook));
  mToggle->SetState(Area().GetFreehandMode() != 0);
  EngageTool(kFreehandTool);
}

void VPLObjButtonToolFHand::Release() {
  mToggle = nullptr;
  VPLObjButtonToolWithPreview::Release();
}

void VPLObjButtonToolFHand::OnFreehandToggled() {
  if (mToggle != nullptr) Area().SetFreehandMode(mToggle->GetState() ? 1U : 0U);
}
