#pragma once
// The draw tool's palette button: the tube sizes and a chooser of tube
// profiles, both kept in the creation area.

#include "app/creation/VPLObjButtonToolWithPreview.h"

class VPLPrimObjSelector;

class VPLObjButtonToolDraw : public VPLObjButtonToolWithPreview {
 public:
  using VPLObjButtonToolWithPreview::VPLObjButtonToolWithPreview;

  void Engage() override;
  void Release() override;
  // The profile shown becomes the area's tool option.
  void OnProfileScrolled();

  VPLPrimObjSelector* GetProfileChooser() const { return mProfileChooser; }

 private:
  VPLPrimObjSelector* mProfileChooser = nullptr;
};
