#include "app/objects/VPL3DExportDialog.h"

#include "app/objects/VPLOptionsButton.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLServices.h"

namespace {

constexpr MMResourceId kOkButton = 342;
constexpr MMResourceId kCancelButton = 343;

}  // namespace

void VPL3DExportDialog::Build() {
  AddOkCancel(kOkButton, kCancelButton);
  std::unique_ptr<VPLExportOptionsButton> options =
      MakeOptionGroup<VPLExportOptionsButton>(kOptionsLayout);
  if (!options) return;
  if (!VPLGetServices().mMovieExporterStarted) {
    if (VPLObjEvent* movie = options->GetChild(kMovie)) movie->SetVisibility(kMMHidden);
  }
  options->Select(0);
  mOptions = options.get();
  AddChild(std::move(options));
}

bool VPL3DExportDialog::Export(int32_t option) const {
  VPLSceneUIBase* owner = GetOwner();
  switch (option) {
    case kBmp:
      return owner->ExportBmp();
    case kJpeg:
      return owner->ExportJpeg();
    case kMovie:
      // The movie cannot be made without the exporter.
      return VPLGetServices().mMovieExporterStarted && owner->ExportMovie();
    case kUnsupported:
      return owner->ExportUnsupported();
    default:
      return false;
  }
}

void VPL3DExportDialog::Apply() {
  const bool exported = Export(mOptions != nullptr ? mOptions->GetSelected() : int16_t{kBmp});
  Close();
  if (!exported) GetOwner()->AskUser(kExportFailedQuestion);
}
