#pragma once
// The fill tool's palette button: every material control of the preview
// button; the flood-colour tool then paints what the child clicks with the
// area's materializer.

#include "app/creation/VPLObjButtonToolWithPreview.h"

class VPLObjButtonToolFill : public VPLObjButtonToolWithPreview {
 public:
  using VPLObjButtonToolWithPreview::VPLObjButtonToolWithPreview;

  void Engage() override;
};
