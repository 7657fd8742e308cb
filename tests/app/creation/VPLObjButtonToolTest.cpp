#include "app/creation/VPLObjButtonTool.h"

#include "app/creation/VPLObjButtonToolFill.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLObjGreyScale.h"
#include "app/objects/VPLPercentageSlider.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using palette_stage::kDraw;
using palette_stage::kFill;
using palette_stage::kSelect;
using palette_stage::PaletteTest;

class VPLObjButtonToolTest : public PaletteTest {};

TEST_F(VPLObjButtonToolTest, ClickingAButtonEngagesItAndReleasesTheCurrentOne) {
  ClickButton(kFill);
  VPLObjButtonTool& fill = Button(kFill);
  EXPECT_EQ(Scene().GetCurrentToolButton(), &fill);
  EXPECT_GT(fill.GetChildCount(), 0);
  EXPECT_EQ(fill.GetAlpha(), 0.0f);
  EXPECT_EQ(palette_stage::AreaTool(Area()), kVPLToolFloodColor);

  ClickButton(kDraw);
  EXPECT_EQ(Scene().GetCurrentToolButton(), &Button(kDraw));
  EXPECT_EQ(palette_stage::AreaTool(Area()), kVPLToolTubeDraw);
  EXPECT_FALSE(fill.IsCurrent());
  EXPECT_EQ(fill.GetChildCount(), 0);
  EXPECT_EQ(fill.GetAlpha(), VPLObjButtonTool::kReleasedAlpha);
  const auto& released = ButtonAs<VPLObjButtonToolFill>(kFill);
  EXPECT_EQ(released.GetGreyScale(), nullptr);
  EXPECT_EQ(released.GetTextureChooser(), nullptr);
  EXPECT_EQ(released.GetIntensityLabel(), nullptr);
  EXPECT_EQ(released.GetOpacityLabel(), nullptr);
  EXPECT_EQ(released.GetOpacitySlider(), nullptr);
  EXPECT_EQ(released.GetIntensitySlider(), nullptr);
  EXPECT_EQ(released.GetPreview(), nullptr);
  EXPECT_EQ(released.GetPedestal(), nullptr);
}

TEST_F(VPLObjButtonToolTest, ThePaletteAndTheFillOptionsShowOnScreen) {
  mStage.RunFrame();
  const Rgb empty = mStage.PixelAt(mStage.ScreenPointOf(MM3DVector(0.0f, 0.0f, -45.0f, 1.0f)));
  for (int32_t which = 0; which < palette_stage::kButtonCount; ++which) {
    const UUPoint at = CentreOf(Button(static_cast<palette_stage::PaletteButton>(which)));
    EXPECT_FALSE(Near(mStage.PixelAt(at), empty)) << "button " << which;
  }

  ClickButton(kFill);
  const auto& fill = ButtonAs<VPLObjButtonToolFill>(kFill);
  const VPLObj* options[] = {
      fill.GetPreview(),         fill.GetPedestal(),
      fill.GetGreyScale(),       fill.GetTextureChooser()->GetForwardButton(),
      fill.GetIntensitySlider(), fill.GetOpacitySlider(),
      fill.GetIntensityLabel()};
  std::vector<UUPoint> spots;
  for (const VPLObj* option : options) spots.push_back(CentreOf(*option));
  mStage.RunFrame();
  std::vector<Rgb> shown;
  for (const UUPoint& spot : spots) shown.push_back(mStage.PixelAt(spot));
  // Released with no other button engaged, nothing covers the spots.
  Scene().SetCurrentToolButton(nullptr);
  mStage.RunFrame();
  for (size_t i = 0; i < spots.size(); ++i) {
    EXPECT_FALSE(Near(shown[i], mStage.PixelAt(spots[i]))) << "option " << i;
  }
}

TEST_F(VPLObjButtonToolTest, ClickingTheCurrentButtonDoesNothing) {
  ClickButton(kSelect);
  VPLObjButtonTool& select = Button(kSelect);
  const VPLObjEvent* firstOption = select.GetChild(0);
  const int32_t engagements = Scene().Engagements();

  ClickButton(kSelect);
  EXPECT_EQ(Scene().Engagements(), engagements);
  EXPECT_EQ(select.GetChild(0), firstOption);
  EXPECT_EQ(select.GetAlpha(), 0.0f);
}

TEST_F(VPLObjButtonToolTest, AButtonWithoutDefinitionStaysSilentAndIsNeverChosen) {
  auto silent = std::make_unique<VPLObjButtonTool>(
      Scene().Palette(), VPLObjButtonTool::DefinitionModel(100), MMTaskCallback(), kMMNoResource);
  silent->SetPosition(0.0f, -30.0f, 0.0f);
  VPLObjButtonTool* shown = Scene().AddButton(std::move(silent));
  const float alpha = shown->GetAlpha();

  Click(*shown);
  EXPECT_EQ(Scene().GetCurrentToolButton(), nullptr);
  EXPECT_FALSE(shown->IsHovered());
  EXPECT_EQ(shown->GetAlpha(), alpha);
}

}  // namespace
