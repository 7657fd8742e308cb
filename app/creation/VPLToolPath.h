#pragma once
// The path tool: a click sends the object along the chosen motion path
// (the alternate path with Shift); with no path chosen it stops a playing
// one.

#include "app/creation/VPLTool.h"

class VPLToolPath : public VPLToolObjectBasedOnUpAction {
 public:
  using VPLToolObjectBasedOnUpAction::VPLToolObjectBasedOnUpAction;

  VPLToolEnums GetToolType() const override { return kVPLToolPath; }
  void Act(const VPLSegment& segment, bool alternate) override;
};
