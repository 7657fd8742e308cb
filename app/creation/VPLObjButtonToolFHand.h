#pragma once
// The freehand tool's palette button: one toggle between rounded (on) and
// flat (off) shapes, kept as the creation area's freehand flag.

#include "app/creation/VPLObjButtonToolWithPreview.h"

class VPLToggleButtonObject;

class VPLObjButtonToolFHand : public VPLObjButtonToolWithPreview {
 public:
  using VPLObjButtonToolWithPreview::VPLObjButtonToolWithPreview;

  void Engage() override;
  void Release() override;
  void OnFreehandToggled();

  VPLToggleButtonObject* GetToggle() const { return mToggle; }

 private:
  VPLToggleButtonObject* mToggle = nullptr;
};
