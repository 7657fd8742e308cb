#include "app/creation/VPLObjButtonToolDraw.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLPrimObjSelector.h"
#include "app/objects/VPLSceneUIBase.h"

namespace {

constexpr MMResourceId kProfileLayout = 314;
constexpr MMResourceId kProfileList = 313;
constexpr int32_t kTubeDrawTool = 7;

}  // namespace

void VPLObjButtonToolDraw::Engage() {
  AddSizeButtons(kSizeLayout, kTubeDrawTool);
  auto chooser = std::make_unique<VPLPrimObjSelector>(
      UIScene(), TableModel(kProfileLayout, kVPLLayoutTable), kProfileLayout,
      Callback(&VPLObjButtonToolDraw::OnProfileScrolled), kProfileList);
  chooser->SetWrap(true);
  chooser->Build();
  chooser->SetOffset(Area().GetToolOption());
  mProfileChooser = Append(std::move(chooser));
  EngageTool(kTubeDrawTool);
}

void VPLObjButtonToolDraw::Release() {
  mProfileChooser = nullptr;
  VPLObjButtonToolWithPreview::Release();
}

void VPLObjButtonToolDraw::OnProfileScrolled() {
  if (mProfileChooser != nullptr) Area().SetToolOption(mProfileChooser->GetOffset());
}
