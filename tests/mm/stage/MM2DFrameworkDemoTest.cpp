// The 2D framework end to end: a picture file and a script file made with
// the system's writers, a scene of a picture, a picture button, a text and a cell array
// shown by a view of a 2D act, and the user's mouse from the desktop
// pressing, dragging over and releasing the button.

#include "mm/drawing/MMSystemFont.h"
#include "mm/resources/MMPictureLoader.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMScript.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm/stage/MM2DCellArrayVisual.h"
#include "mm/stage/MM2DMolecule.h"
#include "mm/stage/MM2DPictureVisual.h"
#include "mm/stage/MM2DTextVisual.h"
#include "mm/stage/MMStageControl.h"
#include "platform/win32/testhooks.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/support/DesktopTestSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace resource_fixtures;
using vpl::test::DrainMessages;
using vpl::test::ScreenOnX;

constexpr uint16_t kCollection = 21;
constexpr int16_t kScriptCollection = 22;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr UURect kButton(100, 20, 130, 40);

// An opaque 32-bit picture of one colour, stored top row first.
Picture OneColour(int32_t width, int32_t height, uint32_t rgb) {
  std::vector<uint8_t> pixels;
  for (int32_t p = 0; p < width * height; ++p) {
    pixels.insert(pixels.end(), {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb >> 16), 0});
  }
  return Picture{false, false, kMMSubFormatKeyed, width, height, 0, pixels};
}

AFColor ColorOf(uint32_t rgb) {
  return AFColor(AFRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                       static_cast<uint8_t>(rgb)));
}

struct MM2DFrameworkDemoTest : ::testing::Test, SceneOnStage {
  void SetUp() override {
    WritePictures(mName, kCollection,
                  {OneColour(20, 20, kRed), OneColour(30, 20, kBlue), OneColour(30, 20, kYellow)});
    WriteLabels();
    mLoader.reset(MMOpenPictureFile(TempDirectory(), mName.c_str(), false));
    ASSERT_NE(mLoader, nullptr);
    mTop = mRun.mWindow->GetHandle();
    mControl = mRun.mWindow->GetStageControl()->GetHandle();
    auto* background = new (ALGlobalAllocator)
        MM2DSolidBoxVisual(ColorOf(kWhite), mRun.mStage->GetLocalRect(), -10);
    mBackground = std::make_unique<MM2DVisualMolecule>(&mScene, background);
    mPicture = std::make_unique<MM2DPictureMolecule>(&mScene, Id(0), UUPoint{20, 20}, 0);
    mButton = std::make_unique<MM2DPictureButtonMolecule>(&mScene, kButton.GetTopLeft(), Id(1),
                                                          Id(2), 1, Counter(mFired), nullptr);
    MMScriptLoader* labels = MMOpenScriptFile(TempDirectory(), mScriptName.c_str());
    ASSERT_NE(labels, nullptr);
    const MMScript label(MMMakeScriptId(labels, 0));
    auto* text =
        new (ALGlobalAllocator) MM2DPointTextVisual(label.GetPoint(0, 0), label.GetString(0, 4), 0);
    EXPECT_STREQ(text->GetText(), "Plorvia");
    text->SetStyle(&mFont, ColorOf(0), 0, 0);
    mText = std::make_unique<MM2DVisualMolecule>(&mScene, text);
    mCells = std::make_unique<MM2DVisualMolecule>(
        &mScene, new (ALGlobalAllocator)
                     MM2DCellArrayVisual(200, 20, 3, 2, 10, 10, ColorOf(kGrey), ColorOf(kRed), 0));
    mRun.Frame();
  }
  void TearDown() override {
    for (MMMolecule* molecule : std::initializer_list<MMMolecule*>{
             mBackground.get(), mPicture.get(), mButton.get(), mText.get(), mCells.get()}) {
      if (molecule != nullptr) molecule->Detach();
    }
    mCells.reset();
    mText.reset();
    mButton.reset();
    mPicture.reset();
    mBackground.reset();
    mLoader.reset();
    MMDeleteAllScriptCollections();
    Remove(mName);
    Remove(mScriptName);
  }
  // The text's place and words come from a script row: int16 x, int16 y and
  // the offset of its text.
  void WriteLabels() {
    ScriptFileContents contents;
    contents.rowSizes = {8};
    contents.entries = {{0, 1, Bytes().U16(20).U16(100).U32(0).Get(), std::string("Plorvia\0", 8)}};
    WriteScripts(mScriptName, kScriptCollection, contents);
  }
  MMResourceId Id(uint16_t item) const { return MMMakeResourceId(kCollection, item); }
  uint32_t Shown(int32_t x, int32_t y) {
    return vpl::platform::WindowPixelAt(mControl, POINT{x, y});
  }
  std::vector<UURect> Dirty() {
    const MMRegion& region = static_cast<MM2DAct*>(Act())->GetDirtyRegion();
    std::vector<UURect> rects;
    for (int32_t i = 0; i < region.GetCount(); ++i) rects.push_back(region.GetRect(i));
    return rects;
  }
  // The desktop's event reaches the act at the next message call.
  void Press(int32_t x, int32_t y, bool down) {
    vpl::platform::InjectMouseButton(mTop, POINT{x, y}, 1, down, 1);
    DrainMessages();
  }
  void Move(int32_t x, int32_t y) {
    vpl::platform::InjectMouseMove(mTop, POINT{x, y});
    DrainMessages();
  }
  MM2DPictureButtonVisual* Button() { return mButton->GetVisual(); }

  std::string mName = UniqueName("pictures");
  std::string mScriptName = UniqueName("labels");
  std::unique_ptr<MMPictureLoader> mLoader;
  MMSystemFont mFont{"DejaVu Sans", 24, 400, false, false};
  HWND mTop = nullptr;
  HWND mControl = nullptr;
  int mFired = 0;
  std::unique_ptr<MM2DVisualMolecule> mBackground;
  std::unique_ptr<MM2DPictureMolecule> mPicture;
  std::unique_ptr<MM2DPictureButtonMolecule> mButton;
  std::unique_ptr<MM2DVisualMolecule> mText;
  std::unique_ptr<MM2DVisualMolecule> mCells;
};

TEST_F(MM2DFrameworkDemoTest, TheButtonHighlightsWhileHeldRedrawsOnlyItselfAndFiresOnce) {
  EXPECT_EQ(Shown(25, 25), kRed);
  EXPECT_EQ(Shown(39, 39), kRed);
  EXPECT_EQ(Shown(40, 40), kWhite);
  EXPECT_EQ(Shown(kButton.mLeft, kButton.mTop), kBlue);
  EXPECT_EQ(Shown(205, 35), kGrey);
  int inked = 0;
  for (int32_t y = 75; y < 105; ++y) {
    for (int32_t x = 20; x < 110; ++x) inked += Shown(x, y) == 0 ? 1 : 0;
  }
  EXPECT_GT(inked, 30);

  struct Step {
    const char* what;
    int32_t x, y;
    int kind;  // 0 move, 1 press, 2 release
    int32_t highlight;
    uint32_t shown;
  };
  const Step steps[] = {
      {"press inside", 110, 30, 1, 1, kYellow},
      {"drag out", 300, 300, 0, 0, kBlue},
      {"drag back in", 129, 39, 0, 1, kYellow},
      {"release inside", 129, 39, 2, 0, kBlue},
  };
  for (const Step& step : steps) {
    if (step.kind == 0) {
      Move(step.x, step.y);
    } else {
      Press(step.x, step.y, step.kind == 1);
    }
    EXPECT_EQ(Button()->GetHighlight(), step.highlight) << step.what;
    EXPECT_EQ(Dirty(), std::vector<UURect>{kButton}) << step.what;
    mRun.Frame();
    EXPECT_EQ(Shown(kButton.mLeft, kButton.mTop), step.shown) << step.what;
    EXPECT_EQ(Shown(kButton.mRight - 1, kButton.mBottom - 1), step.shown) << step.what;
    EXPECT_EQ(Shown(25, 25), kRed) << step.what;
    // The binding runs as a task of the frame after the release.
    EXPECT_EQ(mFired, step.kind == 2 ? 1 : 0) << step.what;
  }
  RunTasks();
  EXPECT_EQ(mFired, 1);
  EXPECT_FALSE(Act()->IsMouseCaptured());
}

TEST_F(MM2DFrameworkDemoTest, TheSceneAndTheHighlightReachTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  ScreenOnX screen;
  ASSERT_TRUE(screen.CaptureUntil(mTop, kButton.mLeft, kButton.mTop, kBlue));
  EXPECT_EQ(screen.At(25, 25), kRed);
  EXPECT_EQ(screen.At(205, 35), kGrey);
  EXPECT_EQ(screen.At(300, 300), kWhite);
  Press(110, 30, true);
  mRun.Frame();
  EXPECT_TRUE(screen.CaptureUntil(mTop, kButton.mRight - 1, kButton.mBottom - 1, kYellow));
  EXPECT_EQ(screen.At(25, 25), kRed);
  Press(110, 30, false);
  mRun.Frame();
  EXPECT_TRUE(screen.CaptureUntil(mTop, kButton.mLeft, kButton.mTop, kBlue));
  EXPECT_EQ(mFired, 1);
}

}  // namespace
