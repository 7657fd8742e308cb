#pragma once
// The colour sucker, the creation area's second tool, reached with Ctrl:
// the press and every step of the drag copy the material under the pointer
// into the current material and refresh the tool button's preview.

#include "app/creation/VPLTool.h"

class VPLToolColorSucker : public VPLTool {
 public:
  using VPLTool::VPLTool;

  VPLToolEnums GetToolType() const override { return kVPLToolColorSucker; }
  bool OnMouse(const VPLPickEvent& event) override;

 private:
  // Copies the material of the object under the segment; the object, or
  // null when there is none.
  VPLObjCreation* Suck(const VPLSegment& segment);
};
