#include "app/shell/VPLDisplayModeStrategy.h"

#include "app/shell/VPLStage.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <memory>

namespace {

constexpr uint8_t kHardwareOption = 1;
constexpr int32_t kTrialBits = 32;
constexpr int32_t kTrialSize = 5;

// One small picture through the offscreen device at the start, so a
// machine without it hears so now rather than at its first export.
void TryOffscreenDevice(VPLStage& stage) {
  const std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(kTrialBits, UURect(0, 0, kTrialSize, kTrialSize), AFPalette()));
  if (surface == nullptr || !stage.SetUpOffscreenDevice(*surface)) return;
  stage.ReleaseOffscreenRenderer();
  stage.UseScreenDevice();
}

}  // namespace

void VPLDisplayModeStrategy::Apply(MMStage* stage) {
  ApplyMode(stage, kMMDisplayFullScreen, stage->GetLocalRect(), kHardwareOption);
}

bool VPLDisplayModeStrategy::ApplyMode(MMStage* stage, int32_t kind, const UURect& rect,
                                       uint8_t option) {
  PlaceStage(stage, kind, rect);
  auto& programStage = static_cast<VPLStage&>(*stage);
  if (!programStage.SetUpDisplayDriver(kind, rect, option)) return false;
  TryOffscreenDevice(programStage);
  return true;
}
