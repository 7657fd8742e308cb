// The program's own Pomble on the interface stage, from the built data
// files: added, every part switched on and posed, its show started, and at
// the dance's middle frame the stage's picture shows its body in the
// default red the character is given over the model's own pink. Runs on
// scripts/test's X display; with VPL_SCREENSHOT_DIR set the picture is
// kept there as "pomble-dance.png".

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPomblePlayer.h"
#include "app/creation/VPLPombleVisual.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tools/databuilder/check/ScreenShot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace pomble_support;

// The show's steps: opening, interlude, then the dance.
constexpr int32_t kDanceStep = 3;
// Long enough for the glide in, the opening and the interlude.
constexpr int32_t kUntilTheDance = 60000;
constexpr int32_t kStep = 5;
// The character seen whole from the scene's camera: about 40 x 50
// pixels, most of them its body.
constexpr ptrdiff_t kBodyPixels = 600;
// A pose per part, each away from rest.
constexpr float kPoses[kVPLBodyPartCount] = {0.8f, 0.6f, 0.9f, 0.4f, 0.7f, 0.5f};

// The body takes the user's colour, red until dressed: bright red, well
// above green and blue (the white backdrop, the dark ground and the face
// are none of it).
constexpr int kBright = 150;
constexpr int kMargin = 60;
bool IsBody(uint32_t pixel) {
  const int red = static_cast<int>(pixel >> 16 & 0xFF);
  const int green = static_cast<int>(pixel >> 8 & 0xFF);
  const int blue = static_cast<int>(pixel & 0xFF);
  return red > kBright && red > green + kMargin && red > blue + kMargin;
}

class VPLObjCreationCharDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
    ASSERT_TRUE(mFiles.Ready()) << "the built data files (VPL_DATA_DIR)";
  }
  // Runs the clock until the player starts its next play; false when it
  // never does.
  bool RunToNextPlay(const VPLPomblePlayer& player) {
    const MM3DPlaySpan before = player.GetSpan();
    for (int32_t done = 0; done < kUntilTheDance; done += kStep) {
      Advance(mStage.Stage(), kStep);
      const MM3DPlaySpan now = player.GetSpan();
      const bool changed = now.mStartTime != before.mStartTime || now.mSpan != before.mSpan;
      if (player.IsPlaying() && changed) return true;
    }
    return false;
  }
  content_check::ScreenPicture Picture() const {
    content_check::ScreenPicture picture{InterfaceStage::kWidth, InterfaceStage::kHeight, {}};
    for (int32_t y = 0; y < picture.mHeight; ++y) {
      for (int32_t x = 0; x < picture.mWidth; ++x) {
        const Rgb c = mStage.PixelAt(UUPoint{x, y});
        picture.mPixels.push_back(static_cast<uint32_t>(c.mRed << 16 | c.mGreen << 8 | c.mBlue));
      }
    }
    return picture;
  }

  DataFiles mFiles;
  InterfaceStage mStage;
  VPLCreation mCreation{&mStage.Scene(), mStage.Scene().GetCamera()};
};

TEST_F(VPLObjCreationCharDemoTest, MidDanceThePosedCharacterShowsItsRedBodyDemo) {
  auto* pomble = new VPLObjCreationChar(
      &mStage.Scene(), MM3DGetModel(kPombleModel, mStage.Stage()->GetTextureMap()), &mCreation);
  mCreation.AddObject(pomble);
  VPLPombleVisual& visual = *pomble->GetPoseVisual();
  visual.AllPartsOn();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    visual.SetPartPose(part, kPoses[part], true);
  }
  ASSERT_TRUE(pomble->HasAllParts());
  pomble->StartPerformance();
  const VPLPomblePlayer& player = *pomble->GetPlayer();
  for (int32_t step = 0; step < kDanceStep; ++step) {
    ASSERT_TRUE(RunToNextPlay(player)) << "show step " << step;
  }
  Advance(mStage.Stage(), player.GetSpan().mSpan / 2);
  ASSERT_TRUE(pomble->IsPerforming());
  mStage.RunFrame();

  const content_check::ScreenPicture picture = Picture();
  const char* folder = std::getenv("VPL_SCREENSHOT_DIR");
  if (folder != nullptr && *folder != '\0') {
    EXPECT_TRUE(
        content_check::WritePng(picture, std::filesystem::path(folder) / "pomble-dance.png"));
  }
  const auto body = std::count_if(picture.mPixels.begin(), picture.mPixels.end(), IsBody);
  EXPECT_GT(body, kBodyPixels) << "body pixels";
}

}  // namespace
