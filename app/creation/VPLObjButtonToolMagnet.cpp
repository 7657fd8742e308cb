#include "app/creation/VPLObjButtonToolMagnet.h"

#include "app/creation/VPLDrawSizeButton.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLToggleButtonObject.h"

namespace {

constexpr MMResourceId kPullLook = 219;
constexpr MMResourceId kPushLook = 218;
constexpr int32_t kMagnetPushTool = 12;
constexpr int32_t kMagnetPullTool = 17;
const MM3DColor kNoGlow{0.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

void VPLObjButtonToolMagnet::Engage() {
  mSizes = AddSizeButtons(kSizeLayout, kMagnetPullTool);
  mToggle = Append(std::make_unique<VPLToggleButtonObject>(
      GetScene(), DefinitionModel(kPullLook), kPullLook, kPushLook,
      Callback(&VPLObjButtonToolMagnet::OnMagnetToggled), kPullLook));
  mToggle->SetLooks(0.0f, 0.0f, kNoGlow, kHoverGlow);
  mToggle->SetState(false);
  ChooseTool();
  VPLObjButtonTool::Engage();
}

void VPLObjButtonToolMagnet::Release() {
  mToggle = nullptr;
  mSizes = nullptr;
  VPLObjButtonTool::Release();
}

void VPLObjButtonToolMagnet::OnMagnetToggled() {
  if (mToggle != nullptr) ChooseTool();
}

void VPLObjButtonToolMagnet::ChooseTool() {
  const int32_t tool = mToggle->GetState() ? kMagnetPushTool : kMagnetPullTool;
  Area().SetTool(tool);
  mSizes->SetToolNumber(tool);
}
