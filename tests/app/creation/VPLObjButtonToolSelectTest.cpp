#include "app/creation/VPLObjButtonToolSelect.h"

#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::AreaTool;
using palette_stage::IsRed;
using palette_stage::kFill;
using palette_stage::kSelect;
using palette_stage::ToolOf;

class VPLObjButtonToolSelectTest : public palette_stage::PaletteTest {
 protected:
  VPLObjButtonToolSelect& Select() { return ButtonAs<VPLObjButtonToolSelect>(kSelect); }
  // The option button of the tool; null when none names it.
  VPLObjButton* ToolButton(int32_t tool) {
    for (int16_t i = 0; i < Select().GetChildCount(); ++i) {
      auto* button = dynamic_cast<VPLObjButton*>(Select().GetChild(i));
      if (button != nullptr && button != Select().GetPathChooser() && ToolOf(*button) == tool) {
        return button;
      }
    }
    return nullptr;
  }
  // How many of the options show red.
  int32_t RedCount() {
    int32_t red = 0;
    for (int16_t i = 0; i < Select().GetChildCount(); ++i) red += IsRed(*Select().GetChild(i));
    return red;
  }
};

TEST_F(VPLObjButtonToolSelectTest, TheFirstEngageOfTheRunChoosesMoveInRed) {
  // The remembered tool lives for the process; ctest runs each test alone.
  if (VPLObjButtonToolSelect::GetRememberedTool() != kVPLToolMove) GTEST_SKIP();
  ClickButton(kSelect);
  ASSERT_NE(ToolButton(kVPLToolMove), nullptr);
  EXPECT_TRUE(IsRed(*ToolButton(kVPLToolMove)));
  EXPECT_EQ(RedCount(), 1);
  EXPECT_EQ(AreaTool(Area()), kVPLToolMove);
}

TEST_F(VPLObjButtonToolSelectTest, TheChosenToolStaysChosenAcrossEngages) {
  ClickButton(kSelect);
  EXPECT_EQ(Select().GetChildCount(), 8);
  ASSERT_NE(ToolButton(kVPLToolRotate), nullptr);
  Click(*ToolButton(kVPLToolRotate));
  EXPECT_TRUE(IsRed(*ToolButton(kVPLToolRotate)));
  EXPECT_EQ(AreaTool(Area()), kVPLToolRotate);

  ClickButton(kFill);
  EXPECT_EQ(Select().GetHighlighted(), nullptr);
  ClickButton(kSelect);
  EXPECT_TRUE(IsRed(*ToolButton(kVPLToolRotate)));
  EXPECT_EQ(RedCount(), 1);
  EXPECT_EQ(AreaTool(Area()), kVPLToolRotate);

  // A click on the red button chooses its tool again and keeps it red.
  ClickButton(kFill);
  ClickButton(kSelect);
  Click(*ToolButton(kVPLToolRotate));
  EXPECT_TRUE(IsRed(*ToolButton(kVPLToolRotate)));
  EXPECT_EQ(RedCount(), 1);
}

TEST_F(VPLObjButtonToolSelectTest, ThePathChooserChoosesThePathTool) {
  ClickButton(kSelect);
  VPLObjEventGrpCtrlScrollScriptedModels* paths = Select().GetPathChooser();
  ASSERT_NE(paths, nullptr);
  ASSERT_NE(paths->GetChild(0), nullptr);
  // The cell's own click: the grid gives its placement to the frame, not
  // to the cell, so the cell is not where the layout puts it.
  paths->GetChild(0)->GetCallback().Post();
  Settle();
  EXPECT_TRUE(IsRed(*paths));
  EXPECT_EQ(RedCount(), 1);
  EXPECT_EQ(AreaTool(Area()), kVPLToolPath);

  Click(*paths->GetForwardButton());
  EXPECT_EQ(AreaTool(Area()), kVPLToolPath);
  EXPECT_EQ(Area().GetPathIndex(), paths->GetOffset());
  EXPECT_EQ(RedCount(), 0);

  // Engaged again, the chooser shows the area's path, red.
  ClickButton(kFill);
  ClickButton(kSelect);
  ASSERT_NE(Select().GetPathChooser(), nullptr);
  EXPECT_EQ(Select().GetPathChooser()->GetOffset(), Area().GetPathIndex());
  EXPECT_TRUE(IsRed(*Select().GetPathChooser()));
  EXPECT_EQ(AreaTool(Area()), kVPLToolPath);
}

}  // namespace
