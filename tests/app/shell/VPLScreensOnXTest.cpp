// The program's screens as the X server shows them, kept for a person to
// look at (VPL_SCREENSHOT_DIR): an intro page, the creation screen with its
// palette, and the credits inside the quit question. Under scripts/test's
// X display only.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "app/shell/VPLSceneIntro.h"
#include "mm/resources/MMPictureLoader.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DTextureCollection.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/DialogData.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using app_fixtures::RawTable;
using resource_fixtures::Bytes;
using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

using shell_test::kSelectButtonOnStage;
// The select tool's move button (chosen at start) and rotate button (not
// chosen): their middles on the interface's plane, where the view spans
// x and y by these halves, and their size.
struct PlaneSpot {
  float mX;
  float mY;
};
const PlaneSpot kMoveButton{-18.1f, 3.6f};
const PlaneSpot kRotateButton{-14.4f, 3.6f};
const PlaneSpot kButtonSize{3.4f, 2.0f};
constexpr float kViewHalfWidth = 20.4f;
constexpr float kViewHalfHeight = 15.3f;
// The chosen red rim covers more than one pixel in this many of the
// button's.
constexpr int32_t kRedRimShare = 20;
// The end button's place on an intro page, and a point of its picture.
const UUPoint kEndButton{690, 526};
const UUPoint kEndButtonMiddle{738, 558};
// Inside the question dialog's panel.
const UUPoint kDialogMiddle{400, 300};

bool IsRed(uint32_t pixel) {
  return (pixel >> 16 & 0xFF) > 200 && (pixel >> 8 & 0xFF) < 120 && (pixel & 0xFF) < 150;
}

bool IsBright(uint32_t pixel) {
  return std::max({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF}) > 150;
}

UUPoint OnScreen(const ScreenOnX& screen, PlaneSpot spot) {
  const auto x = static_cast<float>(screen.Width()) * (0.5f + spot.mX / kViewHalfWidth / 2);
  const auto y = static_cast<float>(screen.Height()) * (0.5f - spot.mY / kViewHalfHeight / 2);
  return UUPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

// The pixels over the button that answer the test, and all of them.
struct ButtonCount {
  int32_t mAnswering = 0;
  int32_t mAll = 0;
};

// Calls visit(x, y) for every pixel of the capture over the area.
template <typename Visit>
void VisitArea(const ScreenOnX& screen, PlaneSpot middle, PlaneSpot size, Visit visit) {
  const UUPoint from = OnScreen(screen, {middle.mX - size.mX / 2, middle.mY + size.mY / 2});
  const UUPoint to = OnScreen(screen, {middle.mX + size.mX / 2, middle.mY - size.mY / 2});
  for (int32_t y = from.mY; y <= to.mY; ++y) {
    for (int32_t x = from.mX; x <= to.mX; ++x) visit(x, y);
  }
}

template <typename Test>
ButtonCount CountOnButton(const ScreenOnX& screen, PlaneSpot middle, Test test) {
  ButtonCount count;
  VisitArea(screen, middle, kButtonSize, [&](int32_t x, int32_t y) {
    count.mAnswering += test(screen.At(x, y)) ? 1 : 0;
    ++count.mAll;
  });
  return count;
}

class VPLScreensOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
    VPLOpenGLFirst = 1;
    mStage = std::make_unique<ProgramStage>(&mMaker, 1);
    mServices = std::make_unique<dialog_data::DialogServices>(mStage->Stage().GetTextureMap());
  }
  void TearDown() override {
    mServices.reset();
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage;
  // The program's text and credits textures, and preferences of the test's own.
  std::unique_ptr<dialog_data::DialogServices> mServices;
  ScreenOnX mScreen;
};

TEST_F(VPLScreensOnXTest, TheCreationScreenShowsItsPaletteOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kSelectButtonOnStage));
  shell_test::KeepScreenshot(mScreen, "creation-screen");
}

// The object buttons take the plain colour black and the chosen colour
// red; a plain one still shows its bright face, the chosen one a red rim.
TEST_F(VPLScreensOnXTest, TheSelectToolsButtonsShowBrightAndTheChosenOneRedOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kSelectButtonOnStage));
  shell_test::KeepScreenshot(mScreen, "select-tools");
  for (const PlaneSpot& button : {kRotateButton, kMoveButton}) {
    const ButtonCount bright = CountOnButton(mScreen, button, IsBright);
    EXPECT_GT(bright.mAnswering * 2, bright.mAll) << button.mX;
  }
  EXPECT_EQ(CountOnButton(mScreen, kRotateButton, IsRed).mAnswering, 0);
  const ButtonCount red = CountOnButton(mScreen, kMoveButton, IsRed);
  EXPECT_GT(red.mAnswering * kRedRimShare, red.mAll);
}

// A dialog's label or text panel on the interface's plane.
struct LabelArea {
  PlaneSpot mMiddle;
  PlaneSpot mSize;
};
const PlaneSpot kLabelSize{13.0f, 3.0f};
const LabelArea kAutoSaveLabel{{5.8f, 4.0f}, kLabelSize};
const LabelArea kPromptForDeleteLabel{{5.8f, 0.8f}, kLabelSize};
const LabelArea kPrintingLabel{{5.8f, -2.4f}, kLabelSize};
const LabelArea kPrintBackgroundLabel{{5.8f, -1.6f}, kLabelSize};
const LabelArea kQuestionPanel{{4.2f, 1.8f}, {13.0f, 7.6f}};
// The program draws 800 pixels wide, whatever the test's window is.
constexpr float kStageWidth = 800.0f;
// A child reads a text whose lines stand at least this many pixels high.
constexpr float kReadableHeight = 12.0f;
constexpr int32_t kDarkest = 110;
constexpr int32_t kLightest = 190;
// How often each dialog opens and closes.
constexpr int32_t kOpenings = 100;

int32_t Luminance(uint32_t pixel) {
  return static_cast<int32_t>(
      ((pixel >> 16 & 0xFF) * 3 + (pixel >> 8 & 0xFF) * 6 + (pixel & 0xFF)) / 10);
}

// What a label shows: its tallest line of dark pixels (in the program's
// pixels), and how many of its pixels are dark and light.
struct TextLook {
  float mTallestLine = 0.0f;
  int32_t mDark = 0;
  int32_t mLight = 0;
  int32_t mAll = 0;
};

TextLook LookAt(const ScreenOnX& screen, const LabelArea& label) {
  TextLook look;
  std::vector<bool> darkRows(static_cast<size_t>(screen.Height()), false);
  VisitArea(screen, label.mMiddle, label.mSize, [&](int32_t x, int32_t y) {
    const int32_t luminance = Luminance(screen.At(x, y));
    if (luminance < kDarkest) {
      ++look.mDark;
      darkRows[static_cast<size_t>(y)] = true;
    }
    look.mLight += luminance > kLightest ? 1 : 0;
    ++look.mAll;
  });
  int32_t run = 0;
  int32_t tallest = 0;
  for (const bool dark : darkRows) {
    run = dark ? run + 1 : 0;
    tallest = std::max(tallest, run);
  }
  look.mTallestLine =
      static_cast<float>(tallest) * kStageWidth / static_cast<float>(screen.Width());
  return look;
}

// Each label's text stands tall enough to read, dark on a light ground.
TEST_F(VPLScreensOnXTest, EveryDialogLabelShowsItsTextTallAndDarkOnALightGroundOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  VPLSceneCreationUI& screen = *Act().GetInterface();
  struct Dialog {
    const char* mName;
    void (VPLSceneCreationUI::*mOpen)();
    std::vector<LabelArea> mLabels;
  };
  const Dialog dialogs[] = {
      {"preferences",
       &VPLSceneUIBase::OpenPreferenceDialog,
       {kAutoSaveLabel, kPromptForDeleteLabel, kPrintingLabel}},
      {"print", &VPLSceneUIBase::OpenPrintDialog, {kPrintBackgroundLabel}},
      {"question", &VPLSceneCreationUI::AskToQuit, {kQuestionPanel}},
  };
  for (const Dialog& dialog : dialogs) {
    (screen.*dialog.mOpen)();
    ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kDialogMiddle));
    shell_test::KeepScreenshot(mScreen, std::string("dialog-") + dialog.mName);
    for (const LabelArea& label : dialog.mLabels) {
      const TextLook look = LookAt(mScreen, label);
      EXPECT_GE(look.mTallestLine, kReadableHeight) << dialog.mName << ' ' << label.mMiddle.mY;
      EXPECT_GT(look.mDark, 0) << dialog.mName << ' ' << label.mMiddle.mY;
      EXPECT_GT(look.mLight * 2, look.mAll) << dialog.mName << ' ' << label.mMiddle.mY;
    }
    mStage->Key(VK_ESCAPE);
    mStage->RunFrame();
  }
}

// A closed dialog takes its texts' textures with it: opened and closed
// again and again, the dialogs leave the textures as they found them.
TEST_F(VPLScreensOnXTest, ClosedDialogsFreeTheirTextTexturesOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  VPLSceneCreationUI& screen = *Act().GetInterface();
  const MM3DDriverTextureMap& textures = *mStage->Stage().GetTextureMap();
  const auto openAndClose = [&](void (VPLSceneCreationUI::*open)()) {
    (screen.*open)();
    mStage->Key(VK_ESCAPE);
    mStage->RunFrame();
  };
  using Open = void (VPLSceneCreationUI::*)();
  for (const Open open :
       {Open{&VPLSceneUIBase::OpenPreferenceDialog}, Open{&VPLSceneUIBase::OpenPrintDialog},
        Open{&VPLSceneUIBase::OpenExportDialog}, Open{&VPLSceneCreationUI::AskToQuit}}) {
    openAndClose(open);
    const int32_t mapped = textures.GetEntryCount();
    const int16_t texts = mServices->Strings().GetEntryCount();
    for (int32_t i = 0; i < kOpenings; ++i) openAndClose(open);
    EXPECT_EQ(textures.GetEntryCount(), mapped);
    EXPECT_EQ(mServices->Strings().GetEntryCount(), texts);
  }
}

// The world point of the area's view under a stage point, this far into
// its depth range.
MM3DVector AreaPointUnder(MMView& view, UUPoint at, float depth) {
  const MM3DVector inView = view.GetProjection().Unproject(
      static_cast<float>(at.mX), static_cast<float>(at.mY), depth, view.GetRect());
  MM3DMatrix toWorld = view.GetViewMatrix();
  toWorld.InvertRigid();
  MM3DVector world;
  toWorld.TransformPoint(world, inView);
  return world;
}

// The interface draws in front of the creation: a shape of the creation
// right behind a palette button leaves the button's pixel as it was, while
// the same shape behind an open spot of the screen shows there.
TEST_F(VPLScreensOnXTest, APaletteButtonCoversTheCreationOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kSelectButtonOnStage));
  const UUPoint openSpot{400, 150};
  const uint32_t buttonBefore = mScreen.At(kSelectButtonOnStage.mX, kSelectButtonOnStage.mY);
  const uint32_t openBefore = mScreen.At(openSpot.mX, openSpot.mY);
  VPLSceneCreationArea& area = *Act().GetCreationArea();
  constexpr MMResourceId kCube = 80;
  constexpr float kDepth = 0.9f;
  MMView& view = *area.GetView();
  for (const UUPoint at : {kSelectButtonOnStage, openSpot}) {
    auto* cube = new VPLObjCreationUser(&area, MM3DGetModel(kCube, mStage->Stage().GetTextureMap()),
                                        area.GetCreation());
    ASSERT_TRUE(area.GetCreation()->AddObjectAt(cube, AreaPointUnder(view, at, kDepth)));
    // The cube's place is not its middle: it moves by what lies between.
    const UUPoint middle = shell_test::PointOnStage(view, VPLSceneBase::ObjectCentre(*cube));
    cube->SetLocation(
        AreaPointUnder(view, UUPoint{2 * at.mX - middle.mX, 2 * at.mY - middle.mY}, kDepth));
  }
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kSelectButtonOnStage));
  shell_test::KeepScreenshot(mScreen, "palette-over-creation");
  EXPECT_NE(mScreen.At(openSpot.mX, openSpot.mY), openBefore);
  EXPECT_EQ(mScreen.At(kSelectButtonOnStage.mX, kSelectButtonOnStage.mY), buttonBefore);
}

// The quit question's credits answer: the first credit, the title.
void ShowCredits(VPLActCreation& act, ProgramStage& stage, ScreenOnX& capture) {
  VPLSceneCreationUI& screen = *act.GetInterface();
  screen.AskToQuit();
  screen.DialogResult(screen.GetQuestionDialog(), VPLSceneCreationUI::kCreditsAnswer);
  ASSERT_EQ(act.GetMode(), VPLActCreation::kCreditsMode);
  ASSERT_TRUE(shell_test::CaptureShown(stage, capture, kDialogMiddle));
}

TEST_F(VPLScreensOnXTest, TheCreditsShowInsideTheQuitQuestionOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ShowCredits(Act(), *mStage, mScreen);
  shell_test::KeepScreenshot(mScreen, "credits");
}

// The title star, seen whole, covers at least this many pixels.
constexpr int32_t kSeenStar = 900;
constexpr float kAspectTolerance = 0.02f;

int32_t Differing(const ScreenOnX& a, const ScreenOnX& b) {
  int32_t differing = 0;
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) differing += a.At(x, y) != b.At(x, y) ? 1 : 0;
  }
  return differing;
}

// The title's star shows whole: taking it away changes as many pixels as
// a star covers.
TEST_F(VPLScreensOnXTest, TheCreditsTitleStarIsSeenOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ShowCredits(Act(), *mStage, mScreen);
  VPLObj* star = Act().GetCredits()->GetCreditModel();
  ASSERT_NE(star, nullptr);
  const ScreenOnX withStar = mScreen;
  star->SetVisibility(kMMHidden);
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kDialogMiddle));
  EXPECT_GE(Differing(withStar, mScreen), kSeenStar);
}

// The page is drawn in the panel's own aspect, so its letters keep theirs.
TEST_F(VPLScreensOnXTest, TheCreditsPageTakesItsPanelsAspectOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ShowCredits(Act(), *mStage, mScreen);
  const VPLObj& panel = *Act().GetInterface()->GetQuestionDialog()->GetTextPanel();
  MM3DVector low(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector high(0.0f, 0.0f, 0.0f, 1.0f);
  panel.GetBounds(low, high);
  const UUPoint page = MM3DGetTextureSize(panel.GetTextTextureId());
  ASSERT_GT(page.mY, 0);
  EXPECT_NEAR(static_cast<float>(page.mX) / static_cast<float>(page.mY),
              (high.mX - low.mX) / (high.mY - low.mY), kAspectTolerance);
}

TEST(VPLIntroScreenOnXTest, AnIntroPageShowsItsEndButtonOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
  // Two pages without film; the end button's picture from the program's file.
  RawTable pages;
  RawTable places;
  for (int page = 0; page < 2; ++page) {
    pages.mRows.push_back(Bytes().U32(VPLSceneIntro::kNoFilm).Get());
    places.mRows.push_back(Bytes().U32(0).U16(kEndButton.mX).U16(kEndButton.mY).Get());
  }
  app_fixtures::AppFiles files(
      {}, {{VPLSceneIntro::kPictureScript, places}, {VPLSceneIntro::kPageScript, pages}});
  const UUDirectory folder(shell_test::DataFolderName().c_str());
  const std::unique_ptr<MMPictureLoader> pictures(MMOpenPictureFile(folder, "vpl3d.MMP", false));
  ASSERT_NE(pictures, nullptr);
  shell_test::IntroActMaker maker;
  ProgramStage stage(&maker, 0);
  ScreenOnX screen;
  ASSERT_TRUE(shell_test::CaptureShown(stage, screen, kEndButtonMiddle));
  shell_test::KeepScreenshot(screen, "intro-page");
}

}  // namespace
