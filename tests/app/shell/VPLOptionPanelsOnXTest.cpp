// The tools' option panels on the program's own stage as the X server
// shows them, driven with the child's mouse. Under scripts/test's X display
// only; the pictures are kept for a person to look at (VPL_SCREENSHOT_DIR).

#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/creation/VPLObjButtonToolWithPreview.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPombleSlider.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

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

class VPLOptionPanelsOnXTest
    : public shell_test::ProgramStageOnXTest<shell_test::CreationActMaker> {
 protected:
  VPLSceneCreationUI& Screen() { return *Act().GetInterface(); }
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

// The fill button's place in the palette.
constexpr auto kFillTool = static_cast<VPLSceneCreationUI::ToolButton>(4);
// The texture chooser's items: no texture, then the patterns.
constexpr int16_t kStripes = 2;
constexpr int16_t kChecks = 4;
// The middle of the chooser's cell, and of the preview ball, with the
// halves of a square inside each.
constexpr float kCellX = 16.15f;
constexpr float kCellY = -4.0f;
constexpr float kCellHalf = 1.2f;
constexpr float kForwardX = 13.0f;
constexpr float kBallX = 17.6f;
constexpr float kBallY = 1.5f;
constexpr float kBallHalf = 0.6f;
// Neighbouring pixels this far apart in a channel meet at a pattern's edge.
constexpr int32_t kEdgeStep = 48;
// A flat tint shows none of them on the ball; a pattern some dozens.
constexpr int32_t kPatternEdges = 12;

// The square's pixels, row by row.
std::vector<uint32_t> Square(const ScreenOnX& screen, Pixel low, Pixel high) {
  std::vector<uint32_t> pixels;
  for (int32_t y = low.mY; y <= high.mY; ++y) {
    for (int32_t x = low.mX; x <= high.mX; ++x) pixels.push_back(screen.At(x, y));
  }
  return pixels;
}

int32_t ChannelStep(uint32_t a, uint32_t b) {
  int32_t step = 0;
  for (int shift : {0, 8, 16}) {
    step = std::max(step, std::abs(static_cast<int32_t>(a >> shift & 0xFF) -
                                   static_cast<int32_t>(b >> shift & 0xFF)));
  }
  return step;
}

// The pattern's edges in a square: neighbours in a row that step apart.
int32_t Edges(const std::vector<uint32_t>& pixels) {
  int32_t edges = 0;
  for (size_t i = 1; i < pixels.size(); ++i)
    edges += ChannelStep(pixels[i - 1], pixels[i]) > kEdgeStep ? 1 : 0;
  return edges;
}

int32_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int32_t differences = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) differences += a[i] != b[i] ? 1 : 0;
  return differences;
}

// What the fill options show of a chosen texture: the chooser's cell and
// the preview ball.
struct FillLook {
  std::vector<uint32_t> mCell;
  std::vector<uint32_t> mBall;
};

// The child chooses two patterns in turn with the chooser's forward
// button: the cell shows each pattern, and so does the ball.
TEST_F(VPLOptionPanelsOnXTest, TheFillOptionsShowTheChosenTextureInTheCellAndOnTheBallOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  auto* fill = static_cast<VPLObjButtonToolWithPreview*>(Screen().GetToolButton(kFillTool));
  Screen().SetCurrentToolButton(fill);
  mStage->RunFrame();
  VPLObjEventGrpCtrlScrollScriptedTextures& chooser = *fill->GetTextureChooser();
  const UUPoint forward = OnStage({kForwardX, kCellY, kInterfaceDepth, 1.0f});
  const auto look = [&](int16_t item, const char* name) {
    while (chooser.GetOffset() < item) {
      mStage->Press(forward);
      mStage->Release(forward);
      mStage->RunFrame();
    }
    Capture();
    shell_test::KeepScreenshot(mScreen, std::string("fill-options-") + name);
    const auto square = [&](float x, float y, float half) {
      return Square(mScreen, InCapture(OnStage({x + half, y + half, kInterfaceDepth, 1.0f})),
                    InCapture(OnStage({x - half, y - half, kInterfaceDepth, 1.0f})));
    };
    return FillLook{square(kCellX, kCellY, kCellHalf), square(kBallX, kBallY, kBallHalf)};
  };
  const FillLook stripes = look(kStripes, "stripes");
  const FillLook checks = look(kChecks, "checks");
  EXPECT_GT(Differences(stripes.mCell, checks.mCell) * 2,
            static_cast<int32_t>(stripes.mCell.size()));
  for (const FillLook* chosen : {&stripes, &checks}) EXPECT_GT(Edges(chosen->mBall), kPatternEdges);
}

}  // namespace
