#include "app/creation/VPLObjButtonToolDraw.h"

#include "app/objects/VPLPrimObjSelector.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::AreaTool;
using palette_stage::kDraw;
using palette_stage::kFill;

class VPLObjButtonToolDrawTest : public palette_stage::PaletteTest {};

TEST_F(VPLObjButtonToolDrawTest, TheProfileChooserWrapsAndWritesTheToolOption) {
  ClickButton(kDraw);
  EXPECT_EQ(AreaTool(Area()), kVPLToolTubeDraw);
  VPLPrimObjSelector* profiles = ButtonAs<VPLObjButtonToolDraw>(kDraw).GetProfileChooser();
  ASSERT_NE(profiles, nullptr);
  ASSERT_GT(profiles->GetItemCount(), 1);
  EXPECT_EQ(profiles->GetOffset(), Area().GetToolOption());

  Click(*profiles->GetBackButton());
  const int16_t last = static_cast<int16_t>(profiles->GetItemCount() - 1);
  EXPECT_EQ(profiles->GetOffset(), last);
  EXPECT_EQ(Area().GetToolOption(), last);
  Click(*profiles->GetForwardButton());
  EXPECT_EQ(Area().GetToolOption(), 0);

  Click(*profiles->GetBackButton());
  ClickButton(kFill);
  ClickButton(kDraw);
  EXPECT_EQ(ButtonAs<VPLObjButtonToolDraw>(kDraw).GetProfileChooser()->GetOffset(), last);
}

}  // namespace
