#include "app/creation/VPLObjButtonToolMagnet.h"

#include "app/creation/VPLDrawSizeButton.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::AreaTool;
using palette_stage::kFill;
using palette_stage::kMagnet;

class VPLObjButtonToolMagnetTest : public palette_stage::PaletteTest {
 protected:
  VPLObjButtonToolMagnet& Magnet() { return ButtonAs<VPLObjButtonToolMagnet>(kMagnet); }
};

TEST_F(VPLObjButtonToolMagnetTest, TheToggleSwitchesBetweenPullAndPush) {
  ClickButton(kMagnet);
  EXPECT_EQ(AreaTool(Area()), kVPLToolMagnetPull);
  Click(*Magnet().GetToggle());
  EXPECT_TRUE(Magnet().GetToggle()->GetState());
  EXPECT_EQ(AreaTool(Area()), kVPLToolMagnetPush);
  EXPECT_EQ(Magnet().GetSizes()->GetToolNumber(), kVPLToolMagnetPush);
  Click(*Magnet().GetToggle());
  EXPECT_EQ(AreaTool(Area()), kVPLToolMagnetPull);
}

TEST_F(VPLObjButtonToolMagnetTest, EveryEngageStartsWithPull) {
  ClickButton(kMagnet);
  Click(*Magnet().GetToggle());
  ClickButton(kFill);
  EXPECT_EQ(Magnet().GetToggle(), nullptr);
  ClickButton(kMagnet);
  EXPECT_FALSE(Magnet().GetToggle()->GetState());
  EXPECT_EQ(AreaTool(Area()), kVPLToolMagnetPull);
}

}  // namespace
