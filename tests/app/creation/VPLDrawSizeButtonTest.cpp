#include "app/creation/VPLDrawSizeButton.h"

#include "app/creation/VPLObjButtonToolDraw.h"
#include "app/creation/VPLObjButtonToolMagnet.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::IsRed;
using palette_stage::kDraw;
using palette_stage::kFill;
using palette_stage::kMagnet;
using palette_stage::PaletteButton;

class VPLDrawSizeButtonTest : public palette_stage::PaletteTest {
 protected:
  // The size row is the first option of both buttons.
  VPLDrawSizeButton& Sizes(PaletteButton which) {
    return *dynamic_cast<VPLDrawSizeButton*>(Button(which).GetChild(0));
  }
  int16_t AreaSize(PaletteButton which) {
    return which == kDraw ? Area().GetDrawSize() : Area().GetMagnetSize();
  }
  void SetAreaSize(PaletteButton which, int16_t size) {
    if (which == kDraw) {
      Area().SetDrawSize(size);
    } else {
      Area().SetMagnetSize(size);
    }
  }
  // Only the size shows red.
  void ExpectOnlyRed(PaletteButton which, int16_t size) {
    VPLDrawSizeButton& sizes = Sizes(which);
    for (int16_t i = 0; i < sizes.GetChildCount(); ++i) {
      EXPECT_EQ(IsRed(*sizes.GetChild(i)), i == size) << "size " << i;
    }
  }
};

constexpr int16_t kThirdSize = 2;
// Past the five sizes of the layout.
constexpr int16_t kStaleSize = 9;
constexpr PaletteButton kSizeButtons[] = {kDraw, kMagnet};

TEST_F(VPLDrawSizeButtonTest, AChosenSizeIsWrittenAndShownRedOnTheNextEngage) {
  for (PaletteButton which : kSizeButtons) {
    ClickButton(which);
    Click(*Sizes(which).GetChild(kThirdSize));
    EXPECT_EQ(AreaSize(which), kThirdSize);
    ExpectOnlyRed(which, kThirdSize);

    ClickButton(kFill);
    ClickButton(which);
    EXPECT_EQ(Sizes(which).GetSelected(), kThirdSize);
    ExpectOnlyRed(which, kThirdSize);
  }
}

TEST_F(VPLDrawSizeButtonTest, ChoosingTheChosenSizeAgainWritesItAgain) {
  ClickButton(kDraw);
  Click(*Sizes(kDraw).GetChild(kThirdSize));
  Area().SetDrawSize(0);
  Click(*Sizes(kDraw).GetChild(kThirdSize));
  EXPECT_EQ(Area().GetDrawSize(), kThirdSize);
  ExpectOnlyRed(kDraw, kThirdSize);
}

TEST_F(VPLDrawSizeButtonTest, AStoredSizePastTheLayoutIsIgnored) {
  for (PaletteButton which : kSizeButtons) {
    SetAreaSize(which, kStaleSize);
    ClickButton(which);
    EXPECT_EQ(Sizes(which).GetSelected(), 0);
    ExpectOnlyRed(which, 0);
    EXPECT_EQ(AreaSize(which), kStaleSize);
  }
}

TEST_F(VPLDrawSizeButtonTest, TheMagnetSizeIsWrittenForBothMagnetTools) {
  ClickButton(kMagnet);
  auto& magnet = ButtonAs<VPLObjButtonToolMagnet>(kMagnet);
  Click(*magnet.GetToggle());
  ASSERT_EQ(Sizes(kMagnet).GetToolNumber(), kVPLToolMagnetPush);
  Click(*Sizes(kMagnet).GetChild(kThirdSize));
  EXPECT_EQ(Area().GetMagnetSize(), kThirdSize);
}

}  // namespace
