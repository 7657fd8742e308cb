#include "app/shell/VPLDisplayModeStrategy.h"

#include "app/shell/VPLStage.h"

namespace {

constexpr uint8_t kHardwareOption = 1;
constexpr int32_t kTrialSize = 5;

}  // namespace

void VPLDisplayModeStrategy::Apply(MMStage* stage) {
  ApplyMode(stage, kMMDisplayFullScreen, stage->GetLocalRect(), kHardwareOption);
}

bool VPLDisplayModeStrategy::ApplyMode(MMStage* stage, int32_t kind, const UURect& rect,
                                       uint8_t option) {
  PlaceStage(stage, kind, rect);
  auto& programStage = static_cast<VPLStage&>(*stage);
  if (!programStage.SetUpDisplayDriver(kind, rect, option)) return false;
  // One small offscreen device at the start, so a machine without it hears
  // so now rather than at its first export.
  if (programStage.SetUpOffscreenDevice(UURect(0, 0, kTrialSize, kTrialSize))) {
    programStage.UseScreenDevice();
  }
  return true;
}
