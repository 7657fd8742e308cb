// The tools' and objects' tables as the program's own data files hold them
// (VPL_DATA_DIR), read by the code that plays and shows them: an object
// hears its spin, jiggle and path sounds, the tools that join, gather and
// take a colour sound as they let go, and every tool points with a cursor
// model of its own.
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLToolFactory.h"
#include "app/creation/VPLToolSound.h"
#include "app/objects/VPL3DCursorSet.h"
#include "mm/resources/MMScript.h"
#include "tests/app/creation/PaletteStage.h"
#include "tests/app/support/AppFixtures.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using palette_stage::PaletteTest;

// The sounds of the sound file the tables must name.
constexpr MMResourceId kSpinLoop = 39;
constexpr MMResourceId kJiggleBoing = 40;
constexpr MMResourceId kPathLoop = 41;
constexpr MMResourceId kSnap = 24;
constexpr MMResourceId kClink = 25;
constexpr MMResourceId kSlurp = 38;

// The screens' arrow and hand.
constexpr int32_t kScreenCursorRows[] = {0, 1};

class SoundProbe : public VPLToolSound {
 public:
  using VPLToolSound::SoundOf;
  using VPLToolSound::VPLToolSound;
};

class VPLToolTablesOnDataTest : public PaletteTest {};

TEST_F(VPLToolTablesOnDataTest, AnObjectHearsItsSpinJiggleAndPathSounds) {
  const VPLObjCreationUser object(&Area(), app_fixtures::MakeQuad(), nullptr);
  EXPECT_EQ(object.GetSpinSound(), kSpinLoop);
  EXPECT_EQ(object.GetJiggleSound(), kJiggleBoing);
  EXPECT_EQ(object.GetPathSound(), kPathLoop);
}

TEST_F(VPLToolTablesOnDataTest, AlignGroupAndTheSuckerSoundAsTheyLetGo) {
  struct Case {
    const char* tool;
    const VPLToolKind& kind;
    MMResourceId sound;
  };
  for (const Case& c : {Case{"align", VPLToolFactory::GetKind(kVPLToolAlign), kSnap},
                        Case{"group", VPLToolFactory::GetKind(kVPLToolGroup), kClink},
                        Case{"colour sucker", VPLToolFactory::ColorSuckerKind(), kSlurp}}) {
    const SoundProbe sound(&Area(), c.kind.mSoundScript);
    EXPECT_EQ(sound.SoundOf(kVPLSoundRelease), c.sound) << c.tool;
  }
}

TEST_F(VPLToolTablesOnDataTest, EveryToolPointsWithACursorModelOfItsOwn) {
  // The model of each row, read as the cursor set loads it.
  const MMScript cursors(VPL3DCursorSet::kCursorScript);
  const auto model = [&cursors](int32_t row) { return cursors.GetUInt32(row, 0); };
  std::map<uint32_t, int32_t> owner;
  for (int32_t row : kScreenCursorRows) owner[model(row)] = -1;
  const auto expectOwn = [&](int32_t row, int32_t tool) {
    ASSERT_LT(row, cursors.GetRowCount()) << tool;
    const auto [at, added] = owner.emplace(model(row), tool);
    EXPECT_TRUE(added || at->second == tool) << "tool " << tool << " row " << row;
  };
  for (int32_t value = 0; value < kVPLToolCount; ++value) {
    const VPLToolKind& kind = VPLToolFactory::GetKind(value);
    const int32_t tool = VPLToolFactory::ClassOf(value);
    expectOwn(kind.mCursor, tool);
    expectOwn(kind.mAlternateCursor, tool);
  }
  expectOwn(VPLToolFactory::ColorSuckerKind().mCursor, kVPLToolColorSucker);
}

}  // namespace
