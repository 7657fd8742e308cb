#pragma once
// The preferences: three switches (save by itself, offer printing, ask
// before deleting), each with its label, showing the stored settings; OK
// writes all three and tells the screen whether printing is offered.

#include "app/objects/VPL3DDialog.h"

class VPLPreferences;

class VPL3DPreferenceDialog : public VPL3DDialog {
 public:
  static constexpr MMResourceId kLayout = 54;

  VPL3DPreferenceDialog(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model,
                        MMResourceId layout, const char* text, VPLPreferences* preferences);
  ~VPL3DPreferenceDialog() override;

  void Build() override;
  // Writes the three settings; a setting that cannot be written is
  // reported to the owner.
  void Apply() override;

  VPLToggleButtonObject* GetAutoSaveToggle() const { return mAutoSave; }
  VPLToggleButtonObject* GetPromptForDeleteToggle() const { return mPromptForDelete; }
  VPLToggleButtonObject* GetPrintingToggle() const { return mPrinting; }
  VPLObj* GetAutoSaveLabel() const { return mAutoSaveLabel.get(); }

 private:
  VPLPreferences* mPreferences;
  VPLToggleButtonObject* mAutoSave = nullptr;
  std::unique_ptr<VPLObj> mAutoSaveLabel;
  VPLToggleButtonObject* mPromptForDelete = nullptr;
  std::unique_ptr<VPLObj> mPromptForDeleteLabel;
  VPLToggleButtonObject* mPrinting = nullptr;
  std::unique_ptr<VPLObj> mPrintingLabel;
};
