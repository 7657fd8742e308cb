#pragma once
// Creations for the tests: a document over the interface stage's scene
// with the settings and sound tables of the creation, and stand-ins for a
// group and the character (which file by their type codes).

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "tests/app/support/AppFixtures.h"

#include <cstdint>

namespace creation_support {

// Script 503: ground on, background 3. Script 481: the three sounds.
constexpr int16_t kDefaultBackground = 3;
constexpr MMResourceId kSpinSound = MMMakeResourceId(5, 1);
constexpr MMResourceId kJiggleSound = MMMakeResourceId(5, 2);
constexpr MMResourceId kPathSound = MMMakeResourceId(5, 3);
app_fixtures::ExtraTables CreationTables();

class TestGroup : public VPLObjCreation {
 public:
  using VPLObjCreation::VPLObjCreation;
  VPLObjCreationType GetType() const override { return kVPLObjCreationGroup; }
};

class TestCharacter : public VPLObjCreation {
 public:
  using VPLObjCreation::VPLObjCreation;
  VPLObjCreationType GetType() const override { return kVPLObjCreationChar; }
  void Reset() override { ++mResets; }
  int32_t mResets = 0;
};

}  // namespace creation_support
