// The intro on the program's stage, played by a child: keys jump to the
// last page and then end it, a mouse release skips, a press alone does
// nothing, a page without film waits, and a page table that is empty or
// names a film that will not open ends the intro at once. The creation act
// (a recording act here) comes the frame after the intro asked for it.

#include "app/shell/VPL2DDisplayStrategy.h"
#include "app/shell/VPLActIntro.h"
#include "app/shell/VPLSceneIntro.h"
#include "mm/stage/MM2DMolecule.h"
#include "mm/stage/MM2DPictureVisual.h"
#include "mm/stage/MMCursorController.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using app_fixtures::RawTable;
using resource_fixtures::Bytes;
using shell_test::ProgramStage;

constexpr uint32_t kNoFilm = VPLSceneIntro::kNoFilm;
// A film entry that names no film of any registered collection.
constexpr uint32_t kMissingFilm = 5;
const UUPoint kEndButtonPoints[] = {{690, 526}, {600, 500}};
const UUPoint kAnywhere{400, 300};
constexpr int32_t kHiddenCursor = 3;

RawTable PageTable(const std::vector<uint32_t>& films) {
  RawTable table;
  for (const uint32_t film : films) table.mRows.push_back(Bytes().U32(film).Get());
  return table;
}

RawTable PictureTable() {
  RawTable table;
  for (const UUPoint point : kEndButtonPoints) {
    table.mRows.push_back(Bytes()
                              .U32(0)
                              .U16(static_cast<uint16_t>(point.mX))
                              .U16(static_cast<uint16_t>(point.mY))
                              .Get());
  }
  return table;
}

class IntroRun {
 public:
  explicit IntroRun(const std::vector<uint32_t>& films)
      : mFiles({}, {{VPLSceneIntro::kPictureScript, PictureTable()},
                    {VPLSceneIntro::kPageScript, PageTable(films)}}) {}

  bool InIntro() const { return dynamic_cast<VPLActIntro*>(mStage.Act()) != nullptr; }
  VPLSceneIntro& Scene() const { return static_cast<VPLActIntro*>(mStage.Act())->GetScene(); }
  bool PointerHidden() const {
    return mStage.Stage().GetCursorController()->GetRequestedCursor() ==
           mStage.Stage().GetCursor(kHiddenCursor);
  }

  app_fixtures::AppFiles mFiles;
  shell_test::IntroActMaker mMaker;
  ProgramStage mStage{&mMaker, 0};
};

enum class Input { kKey, kPress, kRelease, kFrame };

struct IntroCase {
  const char* mName;
  std::vector<uint32_t> mFilms;
  std::vector<Input> mInputs;
  // The page index after the inputs, while the intro still runs; -1 when
  // the creation act has come instead.
  int32_t mPage;
};

class VPLActIntroTest : public ::testing::TestWithParam<IntroCase> {};

TEST_P(VPLActIntroTest, TheChildsInputTurnsThePages) {
  IntroRun run(GetParam().mFilms);
  ASSERT_TRUE(run.mFiles.Ready());
  for (const Input input : GetParam().mInputs) {
    if (run.InIntro()) EXPECT_TRUE(run.PointerHidden());
    switch (input) {
      case Input::kKey:
        run.mStage.Key(VK_ESCAPE);
        break;
      case Input::kPress:
        run.mStage.Press(kAnywhere);
        break;
      case Input::kRelease:
        run.mStage.Release(kAnywhere);
        break;
      case Input::kFrame:
        break;
    }
    run.mStage.RunFrame();
  }
  if (GetParam().mPage < 0) {
    EXPECT_FALSE(run.InIntro());
    return;
  }
  ASSERT_TRUE(run.InIntro());
  EXPECT_EQ(run.Scene().GetPage(), GetParam().mPage);
  EXPECT_TRUE(run.PointerHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, VPLActIntroTest,
    ::testing::Values(
        IntroCase{"APageWithoutFilmWaits", {kNoFilm, kNoFilm}, {Input::kFrame, Input::kFrame}, 1},
        IntroCase{"AKeyJumpsToTheLastPage", {kNoFilm, kNoFilm, kNoFilm}, {Input::kKey}, 3},
        IntroCase{"ASecondKeyEnds", {kNoFilm, kNoFilm}, {Input::kKey, Input::kKey}, -1},
        IntroCase{"APressAloneDoesNothing", {kNoFilm, kNoFilm}, {Input::kPress}, 1},
        IntroCase{"AReleaseSkips", {kNoFilm, kNoFilm}, {Input::kPress, Input::kRelease}, 2},
        IntroCase{"AnEmptyPageTableEnds", {}, {Input::kFrame, Input::kFrame}, -1},
        IntroCase{"AFilmThatWillNotOpenEnds",
                  {kMissingFilm, kNoFilm},
                  {Input::kFrame, Input::kFrame},
                  -1}),
    [](const ::testing::TestParamInfo<IntroCase>& info) { return info.param.mName; });

TEST(VPLActIntroPagesTest, TheEndButtonMovesToThePointOfEachPage) {
  IntroRun run({kNoFilm, kNoFilm});
  ASSERT_TRUE(run.InIntro());
  EXPECT_EQ(run.Scene().GetEndButton().GetVisual()->GetPosition(), kEndButtonPoints[0]);
  run.mStage.Key(VK_ESCAPE);
  run.mStage.RunFrame();
  EXPECT_EQ(run.Scene().GetEndButton().GetVisual()->GetPosition(), kEndButtonPoints[1]);
}

TEST(VPLActIntroPagesTest, TheProgramsMakerKeepsTheWindowOpenDuringTheIntro) {
  IntroRun run({kNoFilm});
  ASSERT_TRUE(run.InIntro());
  VPLSetActMaker(nullptr);
  EXPECT_FALSE(VPLGetActMaker().AgreesToClose(run.mStage.Act()));
  VPLSetActMaker(&run.mMaker);
}

}  // namespace
