#pragma once
// The select tool's palette button: a column of the object tools (move,
// rotate, scale, mirror, align, group, delete) and a chooser of motion
// paths. The chosen one shows red and its tool is chosen in the creation
// area; the tool chosen last is remembered for the run, so the next engage
// chooses it at once.

#include "app/creation/VPLObjButtonTool.h"

#include <cstdint>

class VPLObjEventGrpCtrlScrollScriptedModels;

class VPLObjButtonToolSelect : public VPLObjButtonTool {
 public:
  // The path tool, which the path chooser stands for.
  static constexpr int32_t kPathTool = 15;
  static const MM3DColor kChosenColor;

  using VPLObjButtonTool::VPLObjButtonTool;

  void Engage() override;
  void Release() override;
  // A tool button or the path chooser was clicked.
  void OnToolChosen(int32_t tool, VPLObjEvent* object);
  // The path chooser shows another path: the path tool with that path,
  // nothing shown as chosen.
  void OnPathScrolled();

  VPLObjEventGrpCtrlScrollScriptedModels* GetPathChooser() const { return mPathChooser; }
  VPLObjEvent* GetHighlighted() const { return mHighlighted; }
  // The selection tool of the run, Move until another is chosen.
  static int32_t GetRememberedTool();

 private:
  void AddToolButton(MMResourceId definition);
  void AddPathChooser();
  MMTaskCallback ChooseCallback(int32_t tool, VPLObjEvent* object);
  // Shows the object as chosen (the one shown before goes plain) and
  // chooses its tool, when the tool is the remembered one.
  void HighlightIfRemembered(int32_t tool, VPLObjEvent* object);
  void Highlight(int32_t tool, VPLObjEvent* object);
  void ClearHighlight();

  VPLObjEventGrpCtrlScrollScriptedModels* mPathChooser = nullptr;
  VPLObjEvent* mHighlighted = nullptr;
};
