#include "mm3d/MM3DAnimation.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DLightAnimations.h"
#include "mm3d/MM3DMaterialAnimations.h"
#include "mm3d/MM3DNodeAnimations.h"

#include <iterator>

namespace {

using AnimationMaker = MM3DAnimation* (*)();

template <typename Animation>
MM3DAnimation* Make() {
  return new Animation;
}

// One maker per kind code, in code order.
constexpr AnimationMaker kMakers[] = {
    /* kMM3DSRTAnimation */ &Make<MM3DSRTAnimation>,
    /* kMM3DJointAnimation */ &Make<MM3DJointAnimation>,
    /* kMM3DBlendShapeWeightAnimation */ &Make<MM3DBlendShapeWeightAnimation>,
    /* kMM3DShapeIndexAnimation */ &Make<MM3DShapeIndexAnimation>,
    /* kMM3DMaterialDiffuseRedAnimation */ &Make<MM3DMaterialDiffuseRedAnimation>,
    /* kMM3DMaterialDiffuseGreenAnimation */ &Make<MM3DMaterialDiffuseGreenAnimation>,
    /* kMM3DMaterialDiffuseBlueAnimation */ &Make<MM3DMaterialDiffuseBlueAnimation>,
    /* kMM3DMaterialAmbientRedAnimation */ &Make<MM3DMaterialAmbientRedAnimation>,
    /* kMM3DMaterialAmbientGreenAnimation */ &Make<MM3DMaterialAmbientGreenAnimation>,
    /* kMM3DMaterialAmbientBlueAnimation */ &Make<MM3DMaterialAmbientBlueAnimation>,
    /* kMM3DMaterialIncandescenceRedAnimation */ &Make<MM3DMaterialIncandescenceRedAnimation>,
    /* kMM3DMaterialIncandescenceGreenAnimation */ &Make<MM3DMaterialIncandescenceGreenAnimation>,
    /* kMM3DMaterialIncandescenceBlueAnimation */ &Make<MM3DMaterialIncandescenceBlueAnimation>,
    /* kMM3DMaterialSpecularRedAnimation */ &Make<MM3DMaterialSpecularRedAnimation>,
    /* kMM3DMaterialSpecularGreenAnimation */ &Make<MM3DMaterialSpecularGreenAnimation>,
    /* kMM3DMaterialSpecularBlueAnimation */ &Make<MM3DMaterialSpecularBlueAnimation>,
    /* kMM3DMaterialTransparencyAnimation */ &Make<MM3DMaterialTransparencyAnimation>,
    /* kMM3DMaterialDiffuseCoefficientAnimation */ &Make<MM3DMaterialDiffuseCoefficientAnimation>,
    /* kMM3DMaterialSpecularPowerAnimation */ &Make<MM3DMaterialSpecularPowerAnimation>,
    /* kMM3DMaterialTextureAnimation */ &Make<MM3DMaterialTextureAnimation>,
    /* kMM3DLightRedAnimation */ &Make<MM3DLightRedAnimation>,
    /* kMM3DLightGreenAnimation */ &Make<MM3DLightGreenAnimation>,
    /* kMM3DLightBlueAnimation */ &Make<MM3DLightBlueAnimation>,
    /* kMM3DTexturePlacementAnimation */ &Make<MM3DTexturePlacementAnimation>,
};

constexpr auto kKindCount = static_cast<int32_t>(std::size(kMakers));
static_assert(kKindCount == kMM3DTexturePlacementAnimation + 1);

// The default-constructed animation of a kind; null for a code outside the
// kinds.
MM3DAnimation* MakeAnimation(int32_t kind) {
  if (kind < 0 || kind >= kKindCount) return nullptr;
  return kMakers[kind]();
}

}  // namespace

bool MM3DAnimation::WriteWithKind(UUWriter& writer, MM3DModDatabase& database) const {
  const int32_t kind = mKind;
  return writer.WriteInt32s(&kind, 1) && Write(writer, database);
}

bool MM3DReadAnimation(UUReader& reader, MM3DModDatabase& database,
                       UUOwned<MM3DAnimation>& animation) {
  int32_t kind = kMM3DNoAnimation;
  if (!MM3DDatabase::ReadInt32(reader, kind)) return false;
  MM3DAnimation* made = MakeAnimation(kind);
  if (made == nullptr) return MM3DDatabase::RejectRecord(reader);
  animation.Reset(made);
  made->SetKind(static_cast<MM3DAnimationKind>(kind));
  return made->Read(reader, database);
}
