#pragma once
// The primitive tool's palette button: a spinning one-model chooser over
// two catalogues of library models and a toggle between them. The model
// shown is the one the primitive tool places; double-clicking it adds it to
// the creation at once. The place last shown in each catalogue is kept for
// the run, so switching catalogues or reopening the options returns to it.

#include "app/creation/VPLObjButtonToolWithPreview.h"

#include <cstdint>

class VPLPrimObjSelector;
class VPLToggleButtonObject;

class VPLObjButtonToolPrim : public VPLObjButtonToolWithPreview {
 public:
  // The area's model lists of the two catalogues.
  static constexpr int32_t kFirstModelList = 225;
  static constexpr int32_t kSecondModelList = 226;

  // The first catalogue's remembered place starts, once a run, at the
  // area's selected model.
  VPLObjButtonToolPrim(const VPLToolPalette& palette, const UURefCount<MM3DModel>& model,
                       const MMTaskCallback& callback, MMResourceId definition);

  void Engage() override;
  void Release() override;
  // The toggle was clicked: the other catalogue, at its remembered place.
  void OnCatalogueToggled();
  // The chooser shows another model: it becomes the area's selection.
  void OnChooserScrolled();

  VPLToggleButtonObject* GetToggle() const { return mToggle; }
  VPLPrimObjSelector* GetChooser() const { return mChooser; }

 private:
  void BuildChooser();
  // Shows the first or the second catalogue at its remembered place and
  // makes it the area's.
  void ShowCatalogue(bool second);

  VPLToggleButtonObject* mToggle = nullptr;
  VPLPrimObjSelector* mChooser = nullptr;
};
