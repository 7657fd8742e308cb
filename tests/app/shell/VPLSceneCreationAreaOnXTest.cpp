// The creation area on the program's own stage as the X server shows it:
// Enter, pressed through the stage control, puts the next background
// behind the creation, and the sky fills every view the camera rig allows.
// Under scripts/test's X display only; the pictures are kept for a person
// to look at (VPL_SCREENSHOT_DIR).

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

using shell_test::kSelectButtonOnStage;
// Open ground and sky right of the palette, clear of the buttons in the
// corners and of the horizon, as shares of the window's width and height.
struct ScreenRegion {
  float mLeft;
  float mTop;
  float mRight;
  float mBottom;
};
constexpr ScreenRegion kGround{0.3f, 0.45f, 0.75f, 0.75f};
constexpr ScreenRegion kSky{0.3f, 0.06f, 0.65f, 0.12f};
// The creation area right of the palette, clear of the screen buttons.
constexpr ScreenRegion kCreation{0.3f, 0.1f, 0.95f, 0.8f};
// Darker than any sky or ground in every channel: where nothing was drawn.
constexpr uint32_t kNothingDrawn = 0x18;
// Eight steps round the interest point.
constexpr int32_t kOrbitSteps = 8;
constexpr float kOrbitStep = 6.2831853f / kOrbitSteps;
constexpr float kRigStep = 2.0f;
// Meadow, beach and snow.
constexpr int16_t kBackgrounds = 3;

// The region's pixels that differ between the two captures, and all of them.
struct Changed {
  int32_t mDiffering = 0;
  int32_t mAll = 0;
};

Changed Compare(const ScreenOnX& before, const ScreenOnX& after, const ScreenRegion& region) {
  const auto width = static_cast<float>(after.Width());
  const auto height = static_cast<float>(after.Height());
  Changed changed;
  for (auto y = static_cast<int32_t>(region.mTop * height);
       y <= static_cast<int32_t>(region.mBottom * height); ++y) {
    for (auto x = static_cast<int32_t>(region.mLeft * width);
         x <= static_cast<int32_t>(region.mRight * width); ++x) {
      changed.mDiffering += before.At(x, y) != after.At(x, y) ? 1 : 0;
      ++changed.mAll;
    }
  }
  return changed;
}

// The region's pixels where nothing was drawn.
int32_t Unpainted(const ScreenOnX& screen, const ScreenRegion& region) {
  const auto width = static_cast<float>(screen.Width());
  const auto height = static_cast<float>(screen.Height());
  int32_t unpainted = 0;
  for (auto y = static_cast<int32_t>(region.mTop * height);
       y <= static_cast<int32_t>(region.mBottom * height); ++y) {
    for (auto x = static_cast<int32_t>(region.mLeft * width);
         x <= static_cast<int32_t>(region.mRight * width); ++x) {
      const uint32_t pixel = screen.At(x, y);
      const bool dark = (pixel >> 16 & 0xFF) < kNothingDrawn &&
                        (pixel >> 8 & 0xFF) < kNothingDrawn && (pixel & 0xFF) < kNothingDrawn;
      unpainted += dark ? 1 : 0;
    }
  }
  return unpainted;
}

// The next frame's capture once the region no longer shows what it did.
bool CaptureChanged(ProgramStage& stage, const ScreenOnX& before, ScreenOnX& after,
                    const ScreenRegion& region) {
  const HWND window = stage.Stage().GetWindow()->GetHandle();
  return vpl::test::PumpUntil([&] {
    stage.RunFrame();
    return after.Capture(window) && Compare(before, after, region).mDiffering > 0;
  });
}

class VPLSceneCreationAreaOnXTest
    : public shell_test::ProgramStageOnXTest<shell_test::CreationActMaker> {
 protected:
  VPLSceneCreationArea& Area() { return *Act().GetCreationArea(); }
};

TEST_F(VPLSceneCreationAreaOnXTest, EnterShowsTheSecondBackgroundOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ScreenOnX first;
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, first, kSelectButtonOnStage));
  const int16_t background = Area().GetCreation()->GetBackground();
  mStage->Key(VK_RETURN);
  ASSERT_EQ(Area().GetCreation()->GetBackground(), background + 1);
  ScreenOnX second;
  ASSERT_TRUE(CaptureChanged(*mStage, first, second, kGround));
  shell_test::KeepScreenshot(second, "second-background");
  // The new ground and sky cover their regions, not a stray spot.
  for (const ScreenRegion& region : {kGround, kSky}) {
    const Changed changed = Compare(first, second, region);
    EXPECT_GT(changed.mDiffering * 2, changed.mAll) << region.mTop;
  }
}

TEST_F(VPLSceneCreationAreaOnXTest, TheSkyFillsEveryViewOfTheRigOnEveryBackgroundOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ScreenOnX before;
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, before, kSelectButtonOnStage));
  VPLCreationCamera& rig = Area().GetCreation()->GetCamera();
  for (const bool ground : {false, true}) {
    for (int16_t background = 0; background < kBackgrounds; ++background) {
      const std::string name = "sky-far-" + std::string(ground ? "with" : "without") + "-ground-" +
                               std::to_string(background);
      SCOPED_TRACE(name);
      Area().SetBackground(background);
      ground ? Area().SetGroundOn() : Area().SetGroundOff();
      rig.ResetEye();
      ScreenOnX home;
      ASSERT_TRUE(CaptureChanged(*mStage, before, home, kCreation));
      EXPECT_EQ(Unpainted(home, kCreation), 0) << "at home";
      before = home;
      // As far out and as high as the rig lets the eye go, then round.
      while (rig.ZoomOut(kRigStep)) {
      }
      while (rig.Raise(kRigStep)) {
      }
      for (int32_t step = 0; step < kOrbitSteps; ++step) {
        rig.Orbit(kOrbitStep);
        ScreenOnX far;
        ASSERT_TRUE(CaptureChanged(*mStage, before, far, kCreation));
        EXPECT_EQ(Unpainted(far, kCreation), 0) << "orbit step " << step;
        if (step == kOrbitSteps / 2) shell_test::KeepScreenshot(far, name);
        before = far;
      }
    }
  }
}

}  // namespace
