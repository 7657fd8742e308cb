#include "app/creation/VPLObjButtonTool.h"

#include "app/creation/VPLObjButtonToolDraw.h"
#include "app/creation/VPLObjButtonToolFill.h"
#include "app/creation/VPLObjButtonToolPrim.h"
#include "app/creation/VPLObjButtonToolSelect.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLObjGreyScale.h"
#include "app/objects/VPLPercentageSlider.h"
#include "app/objects/VPLPrimObjSelector.h"
#include "app/objects/VPLSceneBase.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using palette_stage::kDraw;
using palette_stage::kFill;
using palette_stage::kPrimitive;
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

// A rectangle of the interface layout: centre and size, x growing to the
// right of the screen (the world's x grows to its left).
struct LayoutRect {
  float mX, mY, mWidth, mHeight;
};

struct ChooserCase {
  const char* name;
  palette_stage::PaletteButton button;
  LayoutRect cell;
  LayoutRect frame;
};

// The one-cell choosers of the sub-palettes, where the layout puts them.
const ChooserCase kChoosers[] = {
    {"path", kSelect, {-16.15f, -7.0f, 3.4f, 3.0f}, {-16.15f, -7.0f, 5.0f, 3.6f}},
    {"profile", kDraw, {-16.15f, -1.6f, 3.4f, 3.0f}, {-16.15f, -1.6f, 5.0f, 3.6f}},
    {"primitive", kPrimitive, {-16.15f, -0.8f, 4.2f, 4.2f}, {-16.15f, -0.8f, 5.6f, 5.0f}},
    {"texture", kFill, {-16.15f, -4.0f, 3.0f, 3.0f}, {-16.15f, -4.0f, 4.6f, 3.6f}},
};

class VPLObjButtonToolChooserTest : public VPLObjButtonToolTest {
 protected:
  VPLObjEventGrp* ChooserOf(palette_stage::PaletteButton which) {
    switch (which) {
      case kSelect:
        return ButtonAs<VPLObjButtonToolSelect>(which).GetPathChooser();
      case kDraw:
        return ButtonAs<VPLObjButtonToolDraw>(which).GetProfileChooser();
      case kPrimitive:
        return ButtonAs<VPLObjButtonToolPrim>(which).GetChooser();
      default:
        return ButtonAs<VPLObjButtonToolFill>(which).GetTextureChooser();
    }
  }
  UUPoint ScreenPoint(float layoutX, float layoutY) {
    return mStage.ScreenPointOf(MM3DVector(-layoutX, layoutY, kControlDepth, 1.0f));
  }
  UUPoint MiddleOf(const LayoutRect& rect) { return ScreenPoint(rect.mX, rect.mY); }
  // Whether the object's middle lies among the controls and shows inside
  // the rectangle; an object left at the origin lies behind the camera.
  bool ShowsInside(const VPLObj& object, const LayoutRect& rect) {
    const MM3DVector centre = VPLSceneBase::ObjectCentre(object);
    return std::fabs(centre.mZ - kControlDepth) < kDepthTolerance && Inside(CentreOf(object), rect);
  }
  bool Inside(UUPoint point, const LayoutRect& rect) {
    const UUPoint a = ScreenPoint(rect.mX - rect.mWidth / 2, rect.mY - rect.mHeight / 2);
    const UUPoint b = ScreenPoint(rect.mX + rect.mWidth / 2, rect.mY + rect.mHeight / 2);
    return point.mX >= std::min(a.mX, b.mX) && point.mX <= std::max(a.mX, b.mX) &&
           point.mY >= std::min(a.mY, b.mY) && point.mY <= std::max(a.mY, b.mY);
  }

  static constexpr float kControlDepth = -45.0f;
  static constexpr float kDepthTolerance = 1.0f;
};

// The cell models are made where their cell is: nothing but the spinning
// choosers places a cell, and a chooser's frame goes where its last item's
// definition says. A cell left at the world origin lies behind the
// interface camera and never shows.
TEST_F(VPLObjButtonToolChooserTest, EachChoosersCellAndFrameShowInTheirRectangles) {
  for (const ChooserCase& chooserCase : kChoosers) {
    SCOPED_TRACE(chooserCase.name);
    ClickButton(chooserCase.button);
    VPLObjEventGrp* chooser = ChooserOf(chooserCase.button);
    ASSERT_NE(chooser, nullptr);
    VPLObjEvent* cell = chooser->GetChild(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(ShowsInside(*cell, chooserCase.cell));
    EXPECT_TRUE(ShowsInside(*chooser, chooserCase.frame));

    // The cell is what the screen shows in the middle of its rectangle.
    const UUPoint middle = MiddleOf(chooserCase.cell);
    mStage.RunFrame();
    const Rgb shown = mStage.PixelAt(middle);
    cell->SetVisibility(kMMHidden);
    mStage.RunFrame();
    EXPECT_FALSE(Near(mStage.PixelAt(middle), shown)) << shown;
    cell->SetVisibility(kMMShown);
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
