#pragma once
// The magnet tool's palette button: the magnet sizes and a toggle between
// pulling (off) and pushing (on). Each engage starts with pulling; the
// size is kept in the creation area and both magnet tools read it.

#include "app/creation/VPLObjButtonTool.h"

class VPLToggleButtonObject;

class VPLObjButtonToolMagnet : public VPLObjButtonTool {
 public:
  using VPLObjButtonTool::VPLObjButtonTool;

  void Engage() override;
  void Release() override;
  void OnMagnetToggled();

  VPLToggleButtonObject* GetToggle() const { return mToggle; }
  VPLDrawSizeButton* GetSizes() const { return mSizes; }

 private:
  // The magnet tool of the toggle's state, chosen in the area and given to
  // the sizes.
  void ChooseTool();

  VPLToggleButtonObject* mToggle = nullptr;
  VPLDrawSizeButton* mSizes = nullptr;
};
