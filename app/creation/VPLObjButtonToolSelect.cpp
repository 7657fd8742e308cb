#include "app/creation/VPLObjButtonToolSelect.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLScript.h"

#include <array>

namespace {

// The object tools' button definitions, in the order they are built.
constexpr std::array<MMResourceId, 7> kToolButtons{141, 142, 146, 143, 144, 145, 147};
constexpr MMResourceId kPathLayout = 151;
constexpr MMResourceId kPathList = 163;
constexpr int32_t kMoveTool = 0;

const MM3DColor kPlainColor{0.0f, 0.0f, 0.0f, 0.0f};

// The selection tool of the run.
int32_t gRememberedTool = kMoveTool;

void ShowPlain(VPLUpAlphaHiliteObject& object) {
  object.SetColor(kPlainColor);
  object.SetLooks(0.0f, 0.0f, kPlainColor, VPLObjEventGrp::kHoverGlow);
}

void ShowChosen(VPLUpAlphaHiliteObject& object) {
  object.SetColor(VPLObjButtonToolSelect::kChosenColor);
  object.SetLooks(0.0f, 0.0f, VPLObjButtonToolSelect::kChosenColor,
                  VPLObjButtonToolSelect::kChosenColor);
}

VPLUpAlphaHiliteObject* AsHilite(VPLObjEvent* object) {
  return dynamic_cast<VPLUpAlphaHiliteObject*>(object);
}

}  // namespace

const MM3DColor VPLObjButtonToolSelect::kChosenColor{1.0f, 0.0f, 0.0f, 0.0f};

int32_t VPLObjButtonToolSelect::GetRememberedTool() { return gRememberedTool; }

void VPLObjButtonToolSelect::Engage() {
  for (MMResourceId definition : kToolButtons) AddToolButton(definition);
  AddPathChooser();
  VPLObjButtonTool::Engage();
}

MMTaskCallback VPLObjButtonToolSelect::ChooseCallback(int32_t tool, VPLObjEvent* object) {
  using Chosen = UUClassCallback2Parameters<VPLObjButtonToolSelect,
                                            void (VPLObjButtonToolSelect::*)(int32_t, VPLObjEvent*),
                                            int32_t, VPLObjEvent*>;
  return MMTaskCallback(GetScene()->GetTaskClient(),
                        new Chosen(this, &VPLObjButtonToolSelect::OnToolChosen, tool, object));
}

void VPLObjButtonToolSelect::AddToolButton(MMResourceId definition) {
  auto button = std::make_unique<VPLUpAlphaHiliteObject>(GetScene(), DefinitionModel(definition),
                                                         MMTaskCallback(), definition);
  ShowPlain(*button);
  const auto tool = static_cast<int32_t>(
      VPLScript(definition, kVPLButtonDefinition).GetTagUInt32(kVPLToolNumberTag));
  button->SetCallback(ChooseCallback(tool, button.get()));
  HighlightIfRemembered(tool, button.get());
  AddChild(std::move(button));
}

void VPLObjButtonToolSelect::AddPathChooser() {
  auto chooser = std::make_unique<VPLObjEventGrpCtrlScrollScriptedModels>(
      GetScene(), TableModel(kPathLayout, kVPLLayoutTable), kPathLayout,
      Callback(&VPLObjButtonToolSelect::OnPathScrolled), kPathList);
  chooser->SetWrap(true);
  chooser->SetHoverChildren(true);
  chooser->Build(ChooseCallback(kPathTool, chooser.get()));
  chooser->SetOffset(Area().GetPathIndex());
  mPathChooser = chooser.get();
  HighlightIfRemembered(kPathTool, mPathChooser);
  AddChild(std::move(chooser));
}

void VPLObjButtonToolSelect::HighlightIfRemembered(int32_t tool, VPLObjEvent* object) {
  if (tool == gRememberedTool) Highlight(tool, object);
}

void VPLObjButtonToolSelect::Highlight(int32_t tool, VPLObjEvent* object) {
  ClearHighlight();
  mHighlighted = object;
  gRememberedTool = tool;
  if (VPLUpAlphaHiliteObject* chosen = AsHilite(object)) ShowChosen(*chosen);
  Area().SetTool(tool);
}

void VPLObjButtonToolSelect::ClearHighlight() {
  if (VPLUpAlphaHiliteObject* shown = AsHilite(mHighlighted)) ShowPlain(*shown);
  mHighlighted = nullptr;
}

void VPLObjButtonToolSelect::OnToolChosen(int32_t tool, VPLObjEvent* object) {
  Highlight(tool, object);
}

void VPLObjButtonToolSelect::OnPathScrolled() {
  Area().SetTool(kPathTool);
  ClearHighlight();
  gRememberedTool = kPathTool;
  if (mPathChooser != nullptr) Area().SelectPath(mPathChooser->GetOffset());
}

void VPLObjButtonToolSelect::Release() {
  ClearHighlight();
  mPathChooser = nullptr;
  VPLObjButtonTool::Release();
}
