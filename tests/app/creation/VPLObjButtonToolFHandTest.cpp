#include "app/creation/VPLObjButtonToolFHand.h"

#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::AreaTool;
using palette_stage::kFreehand;

class VPLObjButtonToolFHandTest : public palette_stage::PaletteTest {};

TEST_F(VPLObjButtonToolFHandTest, TheToggleShowsAndWritesTheFreehandMode) {
  Area().SetFreehandMode(1);
  ClickButton(kFreehand);
  EXPECT_EQ(AreaTool(Area()), kVPLToolShapeFreehand);
  VPLToggleButtonObject* rounded = ButtonAs<VPLObjButtonToolFHand>(kFreehand).GetToggle();
  ASSERT_NE(rounded, nullptr);
  EXPECT_TRUE(rounded->GetState());
  Click(*rounded);
  EXPECT_EQ(Area().GetFreehandMode(), 0U);
  Click(*rounded);
  EXPECT_EQ(Area().GetFreehandMode(), 1U);
}

}  // namespace
