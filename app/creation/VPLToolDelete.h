#pragma once
// The delete tool: a click on an object removes it from the creation; the
// character is only put back at rest.

#include "app/creation/VPLTool.h"

class VPLToolDelete : public VPLToolObjectBasedOnUpAction {
 public:
  using VPLToolObjectBasedOnUpAction::VPLToolObjectBasedOnUpAction;

  VPLToolEnums GetToolType() const override { return kVPLToolDelete; }
  void Act(const VPLSegment& segment, bool alternate) override;
};
