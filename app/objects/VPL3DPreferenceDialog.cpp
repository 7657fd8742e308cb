#include "app/objects/VPL3DPreferenceDialog.h"

#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLToggleButtonObject.h"

namespace {

// Each switch: its off and on definitions, its label's definition and the
// string-list entry of the label's text.
struct Switch {
  MMResourceId mOff;
  MMResourceId mOn;
  MMResourceId mLabel;
  int16_t mText;
};
constexpr Switch kAutoSave{44, 43, 45, 24};
constexpr Switch kPromptForDelete{47, 46, 48, 25};
constexpr Switch kPrinting{50, 49, 51, 26};
constexpr MMResourceId kOkButton = 52;
constexpr MMResourceId kCancelButton = 53;

int32_t StateOf(const VPLToggleButtonObject* toggle) {
  return toggle != nullptr && toggle->GetState() ? 1 : 0;
}

}  // namespace

VPL3DPreferenceDialog::VPL3DPreferenceDialog(VPLSceneUIBase* owner,
                                             const UURefCount<MM3DModel>& model,
                                             MMResourceId layout, const char* text,
                                             VPLPreferences* preferences)
    : VPL3DDialog(owner, model, layout, text), mPreferences(preferences) {}

VPL3DPreferenceDialog::~VPL3DPreferenceDialog() {
  for (std::unique_ptr<VPLObj>* label :
       {&mPrintingLabel, &mPromptForDeleteLabel, &mAutoSaveLabel}) {
    if (*label) (*label)->Detach();
    label->reset();
  }
}

void VPL3DPreferenceDialog::Build() {
  const auto stored = [this](bool (VPLPreferences::*getter)(int32_t&) const, int32_t fallback) {
    return VPLPreference(mPreferences, getter, fallback);
  };
  mAutoSave = AddToggle(kAutoSave.mOff, kAutoSave.mOn, stored(&VPLPreferences::GetAutoSave, 1));
  mAutoSaveLabel = MakeLabel(kAutoSave.mLabel, kAutoSave.mText);
  mPromptForDelete = AddToggle(kPromptForDelete.mOff, kPromptForDelete.mOn,
                               stored(&VPLPreferences::GetPromptForDelete, 1));
  mPromptForDeleteLabel = MakeLabel(kPromptForDelete.mLabel, kPromptForDelete.mText);
  mPrinting = AddToggle(kPrinting.mOff, kPrinting.mOn, stored(&VPLPreferences::GetPrinting, 1));
  mPrintingLabel = MakeLabel(kPrinting.mLabel, kPrinting.mText);
  AddOkCancel(kOkButton, kCancelButton);
}

void VPL3DPreferenceDialog::Apply() {
  bool written = mPreferences != nullptr;
  if (written) {
    written = mPreferences->SetAutoSave(StateOf(mAutoSave));
    written = mPreferences->SetPromptForDelete(StateOf(mPromptForDelete)) && written;
    written = mPreferences->SetPrinting(StateOf(mPrinting)) && written;
  }
  GetOwner()->ShowPrintButton(StateOf(mPrinting) != 0);
  Close();
  if (!written) GetOwner()->ReportPreferencesNotSaved();
}
