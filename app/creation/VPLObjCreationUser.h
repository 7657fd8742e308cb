#pragma once
// A shape the child made with the shape or tube tools or added from the
// model library: a created object of type 0 and nothing more.

#include "app/creation/VPLObjCreation.h"

class VPLObjCreationUser : public VPLObjCreation {
 public:
  using VPLObjCreation::VPLObjCreation;
  VPLObjCreationType GetType() const override { return kVPLObjCreationUser; }
};
