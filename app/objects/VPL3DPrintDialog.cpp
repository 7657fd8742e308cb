#include "app/objects/VPL3DPrintDialog.h"

#include "app/objects/VPLOptionsButton.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLToggleButtonObject.h"

namespace {

constexpr MMResourceId kOkButton = 332;
constexpr MMResourceId kCancelButton = 333;
constexpr MMResourceId kBackgroundOff = 329;
constexpr MMResourceId kBackgroundOn = 328;
constexpr MMResourceId kBackgroundLabel = 330;
constexpr int16_t kBackgroundText = 27;

}  // namespace

VPL3DPrintDialog::VPL3DPrintDialog(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model,
                                   MMResourceId layout, const char* text)
    : VPL3DDialog(owner, model, layout, text) {}

VPL3DPrintDialog::~VPL3DPrintDialog() {
  if (mBackgroundLabel) mBackgroundLabel->Detach();
}

void VPL3DPrintDialog::Build() {
  AddOkCancel(kOkButton, kCancelButton);
  if (std::unique_ptr<VPLPrintOptionsButton> options =
          MakeOptionGroup<VPLPrintOptionsButton>(kOptionsLayout)) {
    options->Select(0);
    mOptions = options.get();
    AddChild(std::move(options));
  }
  mBackground = AddToggle(
      kBackgroundOff, kBackgroundOn,
      VPLPreference(VPLGetServices().mPreferences, &VPLPreferences::GetPrintBackground, 0));
  mBackgroundLabel = MakeLabel(kBackgroundLabel, kBackgroundText);
}

void VPL3DPrintDialog::Apply() {
  const int32_t option = mOptions != nullptr ? mOptions->GetSelected() : 0;
  const int32_t background = mBackground != nullptr && mBackground->GetState() ? 1 : 0;
  bool written = true;
  if (mBackground != nullptr) {
    VPLPreferences* preferences = VPLGetServices().mPreferences;
    written = preferences != nullptr && preferences->SetPrintBackground(background);
  }
  GetOwner()->Print(option, background == 0);
  Close();
  if (!written) GetOwner()->ReportPreferencesNotSaved();
}
