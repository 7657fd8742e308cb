#include "tests/app/creation/CreationSupport.h"

namespace creation_support {

app_fixtures::ExtraTables CreationTables() {
  return {
      {VPLCreation::kSettingsScript,
       {{VPLCreation::kGroundTag, 1},
        {VPLCreation::kBackgroundTag, static_cast<uint32_t>(kDefaultBackground)}}},
      {VPLObjCreation::kSoundScript,
       {{0, static_cast<uint32_t>(kSpinSound)},
        {1, static_cast<uint32_t>(kJiggleSound)},
        {2, static_cast<uint32_t>(kPathSound)}}},
  };
}

}  // namespace creation_support
