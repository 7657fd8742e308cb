// Pomble as the character's code finds it in the built model: the binding
// walk files each part's pose array and leaves the eyes alone, the parts
// pose where they are drawn, and the standing character shows, bright, on
// the meadow. With VPL_SCREENSHOT_DIR set, the pictures are kept there.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "platform/win32/PathMapping.h"
#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/check/PombleChecks.h"
#include "tools/databuilder/check/ScreenShot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using content_check::PlacedModel;
using content_check::ScreenPicture;

class PombleTest : public testing::Test {
 protected:
  void SetUp() override {
    const UUDirectory directory(
        vpl::platform::ToWindowsPath(std::filesystem::absolute(content_fixtures::DataDirectory()))
            .c_str());
    MM3DModelLoader* loader = MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false);
    ASSERT_NE(loader, nullptr);
    mPomble = loader->GetModel(174, nullptr);
    ASSERT_FALSE(mPomble.IsEmpty());
  }
  void TearDown() override {
    mPomble = {};
    MM3DDestroyModelCollections();
  }

  UURefCount<MM3DModel> mPomble;
};

TEST_F(PombleTest, TheHeadsFirstArrayIsTheEyesAndIsNeverFiled) {
  const auto arrays = content_check::FindBlendArrays(*mPomble);
  ASSERT_GE(arrays.size(), 7u);
  // The eyes come first, with a blink target after the rest target.
  EXPECT_EQ(arrays[0]->GetWeights()[0], 0.0f);
  EXPECT_EQ(arrays[0]->GetWeights().Count(), 2);
  const auto bound = content_check::BindPombleParts(*mPomble);
  EXPECT_EQ(bound[0], arrays[1]);
  for (const auto* array : bound) EXPECT_NE(array, arrays[0]);
}

// Mid-dance the character has left its standing pose: its hips and spine
// have moved; at frame 0 it stands again.
TEST_F(PombleTest, TheClipDancesAndStandsAgain) {
  MM3DAnimationClip* clip = mPomble->GetAnimationClip();
  ASSERT_NE(clip, nullptr);
  MM3DDisplayTreeNode* interest = mPomble->FindNamedNode("_pombleInterest");
  ASSERT_NE(interest, nullptr);
  const auto where = [&](float frame) {
    clip->Apply(frame / 30.0f);
    MM3DMatrix world;
    interest->GetWorldMatrix(world);
    MM3DVector at;
    world.TransformPoint(at, MM3DVector(0, 0, 0, 1));
    return at;
  };
  const MM3DVector standing = where(0);
  const MM3DVector dancing = where(262);
  EXPECT_GT(std::abs(dancing.mX - standing.mX) + std::abs(dancing.mY - standing.mY), 0.05f);
  const MM3DVector again = where(0);
  EXPECT_FLOAT_EQ(again.mX, standing.mX);
  EXPECT_FLOAT_EQ(again.mY, standing.mY);
}

// A code weight acts before binding: it must change nothing, so every
// stored first weight sits on a zero target and none is 0.1 or 0.9.
TEST_F(PombleTest, StoredCodesMoveNothingBeforeBinding) {
  for (const auto* array : content_check::FindBlendArrays(*mPomble)) {
    const float code = array->GetWeights()[0];
    EXPECT_NE(code, 0.1f);
    EXPECT_NE(code, 0.9f);
    for (const auto& blocks : array->GetPositionTargets()) {
      for (const auto& targets : blocks) {
        for (const MM3DVector& offset : targets[0]) {
          EXPECT_EQ(offset.mX * offset.mX + offset.mY * offset.mY + offset.mZ * offset.mZ, 0.0f);
        }
      }
    }
  }
}

// The standing character on the meadow, seen from the creation camera it
// faces and from behind: it fills a fair part of the middle of the
// picture.
TEST(PombleScreenTest, TheStandingCharacterShowsOnTheMeadow) {
  const int32_t width = 320, height = 240;
  struct Shot {
    const char* name;
    content_check::ScreenView view;
  };
  const Shot shots[] = {{"pomble-creation", {{0, 9, -22}, {0, 4, 0}, 45.0f, 1.0f, 300.0f}},
                        {"pomble-back", {{0, 9, 22}, {0, 4, 0}, 45.0f, 1.0f, 300.0f}}};
  for (const Shot& shot : shots) {
    const std::optional<ScreenPicture> picture =
        content_check::DrawScreen(content_fixtures::DataDirectory(),
                                  {PlacedModel{23}, PlacedModel{174}}, shot.view, width, height);
    ASSERT_TRUE(picture.has_value());
    const char* folder = std::getenv("VPL_SCREENSHOT_DIR");
    if (folder != nullptr && *folder != '\0') {
      EXPECT_TRUE(content_check::WritePng(
          *picture, std::filesystem::path(folder) / (std::string(shot.name) + ".png")));
    }
    // Pink: red well above blue above green, in the middle third.
    int32_t pink = 0;
    for (int32_t y = height / 3; y < 2 * height / 3; ++y) {
      for (int32_t x = width / 3; x < 2 * width / 3; ++x) {
        const uint32_t p = picture->At(x, y);
        const uint32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        pink += r > 150 && r > g + 40 && b > g ? 1 : 0;
      }
    }
    EXPECT_GT(pink, width * height / 9 / 4) << shot.name;
  }
}

}  // namespace
