#pragma once
// Export: a choice of picture kinds (the movie only when the movie
// exporter started); OK exports the creation and, when that fails, has
// the screen say so.

#include "app/objects/VPL3DDialog.h"

class VPLExportOptionsButton;

class VPL3DExportDialog : public VPL3DDialog {
 public:
  static constexpr MMResourceId kLayout = 344;
  static constexpr MMResourceId kOptionsLayout = 341;
  // The options' order in their layout.
  enum Option : int16_t { kBmp = 0, kJpeg = 1, kMovie = 2, kUnsupported = 3 };
  // The question that tells of a failed export.
  static constexpr int32_t kExportFailedQuestion = 7;

  using VPL3DDialog::VPL3DDialog;

  void Build() override;
  void Apply() override;

  VPLExportOptionsButton* GetOptions() const { return mOptions; }

 private:
  // False for an option that cannot be had.
  bool Export(int32_t option) const;

  VPLExportOptionsButton* mOptions = nullptr;
};
