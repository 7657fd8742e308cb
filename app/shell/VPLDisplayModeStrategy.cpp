#include "app/shell/VPLDisplayModeStrategy.h"

#include "app/shell/VPLStage.h"

namespace {

constexpr uint8_t kHardwareOption = 1;

}  // namespace

void VPLDisplayModeStrategy::Apply(MMStage* stage) {
  ApplyMode(stage, kMMDisplayFullScreen, stage->GetLocalRect(), kHardwareOption);
}

bool VPLDisplayModeStrategy::ApplyMode(MMStage* stage, int32_t kind, const UURect& rect,
                                       uint8_t option) {
  PlaceStage(stage, kind, rect);
  return static_cast<VPLStage*>(stage)->SetUpDisplayDriver(kind, rect, option);
}
