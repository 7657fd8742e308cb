#pragma once

#include <cstdint>

#include "mm/stage/MMDisplayModeStrategy.h"

// Builds a 3D display: a driver (OpenGL first, Direct3D 7 when OpenGL
// cannot start), the standard renderer, pipeline and texture strategy.
class MM3DDisplayModeStrategy : public MMDisplayModeStrategy {
 public:
  // A 640 x 480 window.
  void Apply(MMStage* stage) override;
  bool RestoreDisplay(MMStage* stage) override;
  void ReleaseDisplay(MMStage* stage) override;

  bool ApplyMode(MMStage* stage, int32_t mode, const UURect& rect, uint8_t option, bool useOpenGL);
};

MM3DDisplayModeStrategy& MMStandard3DDisplayModeStrategy();
