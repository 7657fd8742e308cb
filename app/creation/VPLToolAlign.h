#pragma once
// The align tool: press on one object and release on another, and the
// first moves so that the pressed point lands on the released-on point;
// with Shift the object under the release moves onto the pressed one.

#include "app/creation/VPLTool.h"

class VPLObjCreation;

class VPLToolAlign : public VPLTool {
 public:
  using VPLTool::VPLTool;

  VPLToolEnums GetToolType() const override { return kVPLToolAlign; }
  bool OnMouse(const VPLPickEvent& event) override;
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 private:
  // The first object and its hit; both stay remembered after the release.
  VPLObjCreation* mFirst = nullptr;
  VPLObjCreation* mSecond = nullptr;
  MM3DVector mFirstHit{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mSecondHit{0.0f, 0.0f, 0.0f, 1.0f};
};
