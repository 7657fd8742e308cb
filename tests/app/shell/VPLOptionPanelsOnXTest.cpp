// The tools' option panels on the program's own stage as the X server
// shows them, driven with the child's mouse. Under scripts/test's X display
// only; the pictures are kept for a person to look at (VPL_SCREENSHOT_DIR).

#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPombleSlider.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

// The sub-palettes' panel on the interface's plane (world x runs against
// the screen's), under the palette's tool buttons.
constexpr float kPanelLeft = 20.0f;
constexpr float kPanelRight = 12.3f;
constexpr float kPanelTop = 4.8f;
constexpr float kPanelBottom = -9.8f;
constexpr float kInterfaceDepth = -45.0f;
// The pose knob's radius, and how near a release's pose must come to the
// knob's place.
constexpr float kKnobRadius = 0.45f;
constexpr float kPoseTolerance = 0.03f;
constexpr float kPi = 3.14159265f;

// A pixel of the capture under a stage point.
struct Pixel {
  int32_t mX;
  int32_t mY;
};

// The box of the capture's pixels that differ between two captures.
struct PixelBox {
  Pixel mLow{INT32_MAX, INT32_MAX};
  Pixel mHigh{INT32_MIN, INT32_MIN};
  bool Empty() const { return mLow.mX > mHigh.mX; }
};

// Left of column x only: the creation area right of the palette moves by
// itself (Pomble idles there).
PixelBox Differing(const ScreenOnX& before, const ScreenOnX& after, int32_t column) {
  PixelBox box;
  for (int32_t y = 0; y < after.Height(); ++y) {
    for (int32_t x = 0; x < std::min(column, after.Width()); ++x) {
      if (before.At(x, y) == after.At(x, y)) continue;
      box.mLow = {std::min(box.mLow.mX, x), std::min(box.mLow.mY, y)};
      box.mHigh = {std::max(box.mHigh.mX, x), std::max(box.mHigh.mY, y)};
    }
  }
  return box;
}

class VPLOptionPanelsOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
    VPLOpenGLFirst = 1;
    mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  }
  void TearDown() override {
    mStage.reset();
    VPLOpenGLFirst = 0;
  }

  VPLSceneCreationUI& Screen() {
    return *static_cast<VPLActCreation*>(mStage->Act())->GetInterface();
  }
  UUPoint OnStage(const MM3DVector& world) {
    return shell_test::PointOnStage(*Screen().GetView(), world);
  }
  // The view covers the window: a stage point is the capture's pixel.
  static Pixel InCapture(UUPoint onStage) { return {onStage.mX, onStage.mY}; }
  void Capture() {
    ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, shell_test::kSelectButtonOnStage));
  }
  // The panel's corners in the capture.
  PixelBox Panel() {
    return {InCapture(OnStage({kPanelLeft, kPanelTop, kInterfaceDepth, 1.0f})),
            InCapture(OnStage({kPanelRight, kPanelBottom, kInterfaceDepth, 1.0f}))};
  }

  VPLObjButtonToolPomble& EngagePomble() {
    auto* pomble = static_cast<VPLObjButtonToolPomble*>(
        Screen().GetToolButton(VPLSceneCreationUI::kPombleTool));
    Screen().SetCurrentToolButton(pomble);
    mStage->RunFrame();
    return *pomble;
  }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage;
  ScreenOnX mScreen;
};

std::ostream& operator<<(std::ostream& out, const PixelBox& box) {
  return out << " (" << box.mLow.mX << ", " << box.mLow.mY << ")-(" << box.mHigh.mX << ", "
             << box.mHigh.mY << ")";
}

bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return inner.mLow.mX >= outer.mLow.mX && inner.mHigh.mX <= outer.mHigh.mX &&
         inner.mLow.mY >= outer.mLow.mY && inner.mHigh.mY <= outer.mHigh.mY;
}

// The child takes the knob where it rests and lets it go at the place of
// each pose in turn: every release poses Pomble, and the knob stays whole
// inside the panel, under the tool buttons.
TEST_F(VPLOptionPanelsOnXTest, ThePoseKnobRidesItsArcInsideThePanelOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  VPLObjButtonToolPomble& pomble = EngagePomble();
  VPLPombleSlider& slider = *pomble.GetPoseSlider();
  const int32_t part = VPLObjButtonToolPomble::GetCurrentPart();
  const MM3DVector centre = slider.GetCentre();
  const float radius = slider.Radius();
  struct Pose {
    float mValue;
    const char* mName;
  };
  for (const Pose pose : {Pose{0.5f, "mid"}, Pose{1.0f, "top"}, Pose{0.0f, "rest"}}) {
    const float angle = pose.mValue * kPi - kPi / 2;
    const MM3DVector spot(centre.mX + radius * std::cos(angle),
                          centre.mY + radius * std::sin(angle), kInterfaceDepth, 1.0f);
    mStage->Press(OnStage(slider.GetKnob().GetWorldPosition()));
    mStage->Drag(OnStage(spot));
    mStage->Release(OnStage(spot));
    mStage->RunFrame();
    EXPECT_NEAR(pomble.Character()->GetPoseVisual()->GetPartPose(part), pose.mValue, kPoseTolerance)
        << pose.mName;
    Capture();
    shell_test::KeepScreenshot(mScreen, std::string("pomble-options-") + pose.mName);
    const MM3DVector knob = slider.GetKnob().GetWorldPosition();
    const PixelBox knobBox{
        InCapture(OnStage({knob.mX + kKnobRadius, knob.mY + kKnobRadius, knob.mZ, 1.0f})),
        InCapture(OnStage({knob.mX - kKnobRadius, knob.mY - kKnobRadius, knob.mZ, 1.0f}))};
    EXPECT_TRUE(Inside(knobBox, Panel())) << pose.mName << knobBox << Panel() << knob.mX << " "
                                          << knob.mY << " " << knob.mZ << " " << knob.mW;
  }
}

// The preview's pedestal shows whole inside the panel, inside the arc.
TEST_F(VPLOptionPanelsOnXTest, ThePombleOptionsPedestalStandsInsideTheArcOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  VPLObjButtonToolPomble& pomble = EngagePomble();
  Capture();
  const ScreenOnX shown = mScreen;
  pomble.GetPedestal()->SetVisibility(kMMHidden);
  Capture();
  const PixelBox panel = Panel();
  const PixelBox pedestal = Differing(mScreen, shown, panel.mHigh.mX + 1);
  ASSERT_FALSE(pedestal.Empty());
  EXPECT_TRUE(Inside(pedestal, panel)) << pedestal << panel;

  // Every corner of the pedestal lies nearer the arc's centre than its band.
  VPLPombleSlider& slider = *pomble.GetPoseSlider();
  const MM3DVector centre = slider.GetCentre();
  const Pixel middle = InCapture(OnStage(centre));
  const Pixel inner = InCapture(
      OnStage({centre.mX, centre.mY - slider.Radius() + kKnobRadius, kInterfaceDepth, 1.0f}));
  const float reach = static_cast<float>(inner.mY - middle.mY);
  for (const Pixel corner :
       {pedestal.mLow, pedestal.mHigh, Pixel{pedestal.mLow.mX, pedestal.mHigh.mY},
        Pixel{pedestal.mHigh.mX, pedestal.mLow.mY}}) {
    EXPECT_LT(std::hypot(static_cast<float>(corner.mX - middle.mX),
                         static_cast<float>(corner.mY - middle.mY)),
              reach);
  }
}

}  // namespace
