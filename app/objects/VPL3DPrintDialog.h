#pragma once
// Printing: a choice of print options and a switch for printing the
// scene's background; OK stores the switch and prints the creation with
// the chosen option.

#include "app/objects/VPL3DDialog.h"

class VPLPrintOptionsButton;

class VPL3DPrintDialog : public VPL3DDialog {
 public:
  static constexpr MMResourceId kLayout = 334;
  static constexpr MMResourceId kOptionsLayout = 331;

  VPL3DPrintDialog(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model, MMResourceId layout,
                   const char* text);
  ~VPL3DPrintDialog() override;

  void Build() override;
  void Apply() override;

  VPLPrintOptionsButton* GetOptions() const { return mOptions; }
  VPLToggleButtonObject* GetBackgroundToggle() const { return mBackground; }

 private:
  VPLPrintOptionsButton* mOptions = nullptr;
  VPLToggleButtonObject* mBackground = nullptr;
  std::unique_ptr<VPLObj> mBackgroundLabel;
};
