#pragma once
// What the file screen asks of the act that holds it: going back to the
// creation screen, showing the credits over the quit question, and taking
// in the screen's dialogs. The creation act implements it.

class VPL3DCallbackDialog;
class VPLObjEventGrp;

class VPLFileScreenHost {
 public:
  VPLFileScreenHost() = default;
  virtual ~VPLFileScreenHost() = default;
  VPLFileScreenHost(const VPLFileScreenHost&) = delete;
  VPLFileScreenHost& operator=(const VPLFileScreenHost&) = delete;

  // Leaves the file screen for the creation screen with the current sketch.
  virtual void ReturnToCreation() = 0;
  // The credits, with the quit question waiting behind them.
  virtual void ShowCredits(VPL3DCallbackDialog* dialog) = 0;
  // Installs the dialog in the file screen as its active control.
  virtual void OpenDialog(VPLObjEventGrp* dialog) = 0;
};
