#pragma once
// The mirror tool: a click mirrors the object left to right as the camera
// sees it; with Shift it turns it upside down.

#include "app/creation/VPLTool.h"

class VPLToolMirror : public VPLToolObjectBasedOnUpAction {
 public:
  using VPLToolObjectBasedOnUpAction::VPLToolObjectBasedOnUpAction;

  VPLToolEnums GetToolType() const override { return kVPLToolMirror; }
  void Act(const VPLSegment& segment, bool alternate) override;
};
