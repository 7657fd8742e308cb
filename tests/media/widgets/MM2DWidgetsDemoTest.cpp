// The widgets on a 2D act end to end: a scroll bar, a wrapped text and a
// text field in one scene, drawn by the stage into its window; the user's
// mouse and keyboard from the desktop press the scroll bar, focus the field
// and type into it.

#include "media/widgets/MM2DScrollBarMolecule.h"
#include "media/widgets/MM2DTextEditMolecule.h"
#include "media/widgets/MM2DWordWrapMolecule.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/stage/MM2DMolecule.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/testhooks.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kFace = 0xAAAAAA;
constexpr uint32_t kShadow = 0x555555;
constexpr uint32_t kRed = 0xFF0000;
constexpr UURect kBar(600, 10, 616, 210);  // track 25 to 195, 170 long
constexpr int32_t kBarX = 607;
constexpr UURect kTextBox(20, 20, 220, 120);
constexpr UUPoint kFieldAnchor{20, 200};
constexpr int32_t kFieldWidth = 200;

struct MM2DWidgetsDemoTest : ::testing::Test, SceneOnStage {
  void SetUp() override {
    mTop = mRun.mWindow->GetHandle();
    mControl = mRun.mWindow->GetStageControl()->GetHandle();
    mBackground = std::make_unique<MM2DVisualMolecule>(
        &mScene, new (ALGlobalAllocator) MM2DSolidBoxVisual(AFColor(AFRGB(255, 255, 255)),
                                                            mRun.mStage->GetLocalRect(), -10));
    mBar = std::make_unique<MM2DScrollBarMolecule>(
        &mScene, new (ALGlobalAllocator) MM2DPlainScrollBarVisual(kBar, 0), 10, 5, 0);
    mBar->SetMaximum(10);
    mWrap = std::make_unique<MM2DWordWrapMolecule>(
        &mScene, kTextBox, AFColor(AFRGB(0, 0, 0)), &mFont, 0,
        "A scroll bar, a wrapped text and a field to type into, all drawn by the stage.");
    mField = std::make_unique<MM2DTextEditMolecule>(MM2DTextEditMolecule::Description{
        &mScene, 16, kFieldAnchor, kFieldWidth, 0, AFColor(AFRGB(0, 0, 0)), &mFont,
        AFColor(AFRGB(255, 0, 0)), 0});
    mRun.Frame();
  }
  void TearDown() override {
    for (MMMolecule* molecule : std::initializer_list<MMMolecule*>{mBackground.get(), mBar.get(),
                                                                   mWrap.get(), mField.get()}) {
      molecule->Detach();
    }
    mField.reset();
    mWrap.reset();
    mBar.reset();
    mBackground.reset();
  }
  uint32_t Shown(int32_t x, int32_t y) {
    return vpl::platform::WindowPixelAt(mControl, POINT{x, y});
  }
  // Pixels in the rectangle that are not the background.
  int Inked(const UURect& rect) {
    int inked = 0;
    for (int32_t y = rect.mTop; y < rect.mBottom; ++y) {
      for (int32_t x = rect.mLeft; x < rect.mRight; ++x) inked += Shown(x, y) != kWhite ? 1 : 0;
    }
    return inked;
  }
  bool ShowsColour(const UURect& rect, uint32_t colour) {
    for (int32_t y = rect.mTop; y < rect.mBottom; ++y) {
      for (int32_t x = rect.mLeft; x < rect.mRight; ++x) {
        if (Shown(x, y) == colour) return true;
      }
    }
    return false;
  }
  void Press(int32_t x, int32_t y, bool down) {
    vpl::platform::InjectMouseButton(mTop, POINT{x, y}, 1, down, 1);
    vpl::test::DrainMessages();
  }
  void Type(int virtualKey) {
    vpl::platform::InjectKey(mTop, virtualKey, true);
    vpl::platform::InjectKey(mTop, virtualKey, false);
    vpl::test::DrainMessages();
  }
  // A drawing frame that many milliseconds of stage time later.
  void FrameAfter(int32_t milliseconds) {
    mRun.mStage->RequestUpdate(mRun.mStage->GetTaskManager()->GetNow() + milliseconds, true);
    mRun.mStage->RunPendingUpdate();
  }
  UURect FieldArea() const {
    return UURect(kFieldAnchor.mX, kFieldAnchor.mY - 16, kFieldAnchor.mX + kFieldWidth,
                  kFieldAnchor.mY + 6);
  }

  MMSystemFont mFont{"DejaVu Sans", 16, 400, false, false};
  HWND mTop = nullptr;
  HWND mControl = nullptr;
  std::unique_ptr<MM2DVisualMolecule> mBackground;
  std::unique_ptr<MM2DScrollBarMolecule> mBar;
  std::unique_ptr<MM2DWordWrapMolecule> mWrap;
  std::unique_ptr<MM2DTextEditMolecule> mField;
};

TEST_F(MM2DWidgetsDemoTest, TheScrollBarIsDrawnAndAnswersPressesOnItsTrack) {
  EXPECT_EQ(Shown(kBar.mLeft, kBar.mTop), kBlack);
  EXPECT_EQ(Shown(kBarX, 17), kFace);   // the up arrow's face
  EXPECT_EQ(Shown(kBarX, 150), kFace);  // the track
  // The thumb, 5 of 15 of the track, ends in its frame.
  const int32_t thumbEnd = 25 + 5 * 170 / 15 - 1;
  EXPECT_EQ(Shown(kBarX, thumbEnd), kBlack);
  Press(kBarX, 150, true);
  mRun.Frame();
  EXPECT_EQ(mBar->GetValue(), 4);
  EXPECT_EQ(Shown(kBarX, 150), kShadow);  // the pressed track
  Press(kBarX, 150, false);
  mRun.Frame();
  EXPECT_EQ(Shown(kBarX, 150), kFace);
  EXPECT_EQ(Shown(kBarX, thumbEnd + 4 * (170 - 56) / 10), kBlack);
}

TEST_F(MM2DWidgetsDemoTest, TheTextIsWrappedInsideItsBox) {
  EXPECT_GT(mWrap->GetLineVisuals().Count(), 2);
  EXPECT_TRUE(mWrap->AllFitted());
  EXPECT_GT(Inked(UURect(kTextBox.mLeft, kTextBox.mTop, kTextBox.mRight, kTextBox.mTop + 20)), 50);
  EXPECT_GT(Inked(UURect(kTextBox.mLeft, kTextBox.mTop + 20, kTextBox.mRight, kTextBox.mTop + 40)),
            50);
  EXPECT_EQ(Inked(UURect(kTextBox.mRight, kTextBox.mTop, kTextBox.mRight + 60, kTextBox.mBottom)),
            0);
}

TEST_F(MM2DWidgetsDemoTest, AClickedFieldShowsWhatIsTypedAndABlinkingCursor) {
  EXPECT_EQ(Inked(FieldArea()), 0);
  Press(kFieldAnchor.mX + 5, kFieldAnchor.mY - 4, true);
  Press(kFieldAnchor.mX + 5, kFieldAnchor.mY - 4, false);
  mRun.Frame();
  mRun.Frame();
  EXPECT_TRUE(mField->HasFocus());
  EXPECT_TRUE(ShowsColour(FieldArea(), kRed));
  Type('H');
  Type('I');
  EXPECT_EQ(std::string(mField->GetText()), "hi");
  mRun.Frame();
  EXPECT_GT(Inked(UURect(kFieldAnchor.mX, kFieldAnchor.mY - 16, kFieldAnchor.mX + 14,
                         kFieldAnchor.mY + 6)),
            10);
  FrameAfter(MM2DTEditCursorThread::kBlinkInterval);
  EXPECT_FALSE(ShowsColour(FieldArea(), kRed));
  FrameAfter(MM2DTEditCursorThread::kBlinkInterval);
  EXPECT_TRUE(ShowsColour(FieldArea(), kRed));
}

}  // namespace
