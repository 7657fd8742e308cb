#pragma once
// A scroll grid's arrow: every click scrolls once. The second of two quick
// clicks reaches a button as the system's double-click message, which the
// other buttons take for a double-click alone; an arrow takes it for the
// click it is.

#include "app/objects/VPLUpAlphaHiliteObject.h"

class VPLScrollArrow : public VPLUpAlphaHiliteObject {
 public:
  using VPLUpAlphaHiliteObject::VPLUpAlphaHiliteObject;
  void OnDoubleClick() override;
};
