#include "app/creation/VPLToolFactory.h"

#include "app/creation/VPLToolSoundArcade.h"
#include "app/creation/VPLToolSoundGeneric.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

using namespace area_support;

enum SoundClass { kGeneric, kMove, kScale, kRotate, kDraw, kPrimitive };

SoundClass ClassOf(VPLToolSound* sound) {
  if (dynamic_cast<VPLToolSoundMove*>(sound) != nullptr) return kMove;
  if (dynamic_cast<VPLToolSoundScale*>(sound) != nullptr) return kScale;
  if (dynamic_cast<VPLToolSoundRotate*>(sound) != nullptr) return kRotate;
  if (dynamic_cast<VPLToolSoundDraw*>(sound) != nullptr) return kDraw;
  if (dynamic_cast<VPLToolSoundPrimativeShape*>(sound) != nullptr) return kPrimitive;
  return kGeneric;
}

template <size_t... I>
std::array<VPLToolMaker, sizeof...(I)> RecordingMakers(std::index_sequence<I...>) {
  return {&MakeRecordingTool<static_cast<VPLToolEnums>(I)>...};
}

TEST(VPLToolFactoryTest, EachNumberBuildsItsToolWithItsCursorsAndSound) {
  AreaWorld world;
  std::vector<std::unique_ptr<MakerInFactory>> makers;
  const auto all = RecordingMakers(std::make_index_sequence<kVPLToolCount>());
  for (int32_t k = 0; k < kVPLToolCount; ++k) {
    makers.push_back(std::make_unique<MakerInFactory>(k, all[static_cast<size_t>(k)]));
  }
  struct Case {
    int32_t value;
    VPLToolEnums type;
    int32_t cursor;
    int32_t alternateCursor;
    SoundClass sound;
  };
  for (const Case& c :
       {Case{0, kVPLToolMove, 3, 4, kMove}, Case{1, kVPLToolScale, 7, 8, kScale},
        Case{2, kVPLToolDelete, 12, 12, kGeneric}, Case{3, kVPLToolMirror, 10, 11, kGeneric},
        Case{4, kVPLToolRotate, 5, 6, kRotate}, Case{5, kVPLToolFloodColor, 19, 19, kGeneric},
        Case{6, kVPLToolMove, 3, 4, kMove}, Case{7, kVPLToolTubeDraw, 16, 16, kDraw},
        Case{8, kVPLToolShapeFreehand, 17, 17, kGeneric},
        Case{9, kVPLToolShapePrimitive, 18, 18, kPrimitive}, Case{10, kVPLToolMove, 3, 4, kMove},
        Case{11, kVPLToolMove, 3, 4, kMove}, Case{12, kVPLToolMagnetPush, 21, 21, kGeneric},
        Case{13, kVPLToolAlign, 14, 14, kGeneric}, Case{14, kVPLToolGroup, 15, 15, kGeneric},
        Case{15, kVPLToolPath, 9, 9, kGeneric}, Case{16, kVPLToolMove, 3, 4, kMove},
        Case{17, kVPLToolMagnetPull, 20, 20, kGeneric}}) {
    const std::unique_ptr<VPLTool> tool = VPLToolFactory::Make(c.value, world.Area());
    ASSERT_NE(tool, nullptr) << c.value;
    EXPECT_EQ(tool->GetToolType(), c.type) << c.value;
    EXPECT_EQ(tool->GetNormalCursor(), c.cursor) << c.value;
    EXPECT_EQ(tool->GetAlternateCursor(), c.alternateCursor) << c.value;
    EXPECT_EQ(ClassOf(tool->GetSound()), c.sound) << c.value;
    EXPECT_FALSE(tool->IsEngaged()) << c.value;
  }
  for (int32_t value : {-1, int32_t{kVPLToolCount}}) {
    EXPECT_EQ(VPLToolFactory::Make(value, world.Area()), nullptr) << value;
  }
  const std::unique_ptr<VPLTool> sucker = VPLToolFactory::MakeColorSucker(world.Area());
  ASSERT_NE(sucker, nullptr);
  EXPECT_EQ(sucker->GetToolType(), kVPLToolColorSucker);
  EXPECT_EQ(sucker->GetNormalCursor(), VPLToolFactory::kColorSuckerCursor);
  EXPECT_EQ(sucker->GetAlternateCursor(), VPLToolFactory::kColorSuckerCursor);
}

}  // namespace
