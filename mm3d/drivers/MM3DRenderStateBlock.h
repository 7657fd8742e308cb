#pragma once
// The device states of one draw: up to two texture stages (a material's
// texture layers, stage 0 first), each drawn as its own pass.

#include "mm3d/drivers/MM3DDriverTextureCollection.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

#include <cstdint>

class MM3DDriver;

constexpr int32_t kMM3DMaxStages = 2;

struct MM3DRenderStage {
  int32_t mDepthMode = 0;
  int32_t mDepthFunction = 0;
  int32_t mOpaque = 0;  // MM3DOpaqueFlag
  MM3DBlendFactors mBlendFactors;
  MM3DDriverTextureHandle mTexture;  // empty for an untextured stage
};

class MM3DRenderStateBlock {
 public:
  MM3DRenderStateBlock() = default;

  // Releases the textures of the stages in use and empties the block.
  void Reset();
  // Compares the stages in use only.
  bool operator==(const MM3DRenderStateBlock& other) const;
  // False for an empty block or one with a stage that blends one to zero.
  bool IsBlended() const;
  // Sends the stage's depth, blending and texture to the driver's cache,
  // each only when it differs from what the driver has.
  void ApplyStage(MM3DDriver& driver, int32_t stage) const;

  int32_t mStageCount = 0;
  MM3DRenderStage mStages[kMM3DMaxStages];
};
