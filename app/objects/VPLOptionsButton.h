#pragma once
// The print and export dialogs' rows of options: radio sets of toggles in
// which selecting an option switches the selected one off and the new one
// on, so that exactly one shows on.

#include "app/objects/VPLObjEventGrp.h"

class VPLOptionsButton : public VPLObjEventGrpCtrlNonScroll {
 public:
  using VPLObjEventGrpCtrlNonScroll::VPLObjEventGrpCtrlNonScroll;

  void Select(int16_t index) override;
};

class VPLPrintOptionsButton : public VPLOptionsButton {
 public:
  using VPLOptionsButton::VPLOptionsButton;
};

class VPLExportOptionsButton : public VPLOptionsButton {
 public:
  using VPLOptionsButton::VPLOptionsButton;
};
