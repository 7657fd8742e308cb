#include "app/creation/VPLObjButtonToolFill.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjColorPicker.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLPercentageSlider.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::kDraw;
using palette_stage::kFill;

constexpr int16_t kFourthTexture = 3;

class VPLObjButtonToolFillTest : public palette_stage::PaletteTest {
 protected:
  VPLObjButtonToolFill& Fill() { return ButtonAs<VPLObjButtonToolFill>(kFill); }
  VPLObjEventGrpCtrlScrollScriptedTextures& Chooser() { return *Fill().GetTextureChooser(); }
  VPLMaterializer& Materializer() { return *Area().GetMaterializer(); }
  // The texture of the material's first layer; -1 without one.
  MMResourceId Texture() {
    return Materializer().GetLayerCount() > 0
               ? Materializer().GetLayer(0).GetTexture().GetTextureId()
               : kMMNoResource;
  }
  // Scrolls the chooser to the item, one arrow click a step.
  void ScrollTo(int16_t item) {
    while (Chooser().GetOffset() < item) Click(*Chooser().GetForwardButton());
    while (Chooser().GetOffset() > item) Click(*Chooser().GetBackButton());
  }
  Rgb PreviewPixel() {
    mStage.RunFrame();
    return mStage.PixelAt(CentreOf(*Fill().GetPreview()));
  }
  // A click at the fraction of the slider's track.
  void ClickTrack(const VPLObjSlider& slider, float f) {
    const MM3DVector& min = slider.GetTrackMin();
    const MM3DVector& max = slider.GetTrackMax();
    const UUPoint at = mStage.ScreenPointOf(
        MM3DVector(min.mX + (max.mX - min.mX) * f, (min.mY + max.mY) * 0.5f, max.mZ, 1.0f));
    mStage.Move(at);
    mStage.Press(at);
    mStage.Release(at);
    Settle();
  }
};

TEST_F(VPLObjButtonToolFillTest, TheTextureChooserKeepsItsPlaceAcrossEngages) {
  ClickButton(kFill);
  ScrollTo(kFourthTexture);
  const MMResourceId texture = Texture();
  ASSERT_NE(texture, kMMNoResource);
  ClickButton(kDraw);
  EXPECT_EQ(VPLObjButtonToolWithPreview::GetRememberedTextureOffset(), kFourthTexture);

  Materializer().ClearLayers();
  ClickButton(kFill);
  EXPECT_EQ(Chooser().GetOffset(), kFourthTexture);
  EXPECT_EQ(Texture(), kMMNoResource) << "engaging leaves the material alone";
  ScrollTo(kFourthTexture + 1);
  ScrollTo(kFourthTexture);
  EXPECT_EQ(Texture(), texture);
}

TEST_F(VPLObjButtonToolFillTest, TheFirstItemTakesTheTextureAway) {
  ClickButton(kFill);
  ScrollTo(0);
  const Rgb plain = PreviewPixel();
  ScrollTo(1);
  ASSERT_GT(Materializer().GetLayerCount(), 0);
  ScrollTo(0);
  EXPECT_EQ(Materializer().GetLayerCount(), 0);
  EXPECT_TRUE(Near(PreviewPixel(), plain)) << PreviewPixel() << " against " << plain;
}

TEST_F(VPLObjButtonToolFillTest, TheWheelAndTheOpacityChangeThePreviewOnScreen) {
  ClickButton(kFill);
  ScrollTo(0);
  const Rgb before = PreviewPixel();
  VPLObjColorPicker* wheel = nullptr;
  for (int16_t i = 0; i < Fill().GetChildCount(); ++i) {
    if (auto* picker = dynamic_cast<VPLObjColorPicker*>(Fill().GetChild(i))) wheel = picker;
  }
  ASSERT_NE(wheel, nullptr);
  Click(*wheel);
  const Rgb coloured = PreviewPixel();
  EXPECT_FALSE(Near(coloured, before)) << coloured;

  ClickTrack(*Fill().GetOpacitySlider(), 0.95f);
  EXPECT_EQ(Materializer().GetColor().mA, VPLOpacityPercentageSlider::kMostTransparent);
  EXPECT_FALSE(Near(PreviewPixel(), coloured)) << PreviewPixel();
}

TEST_F(VPLObjButtonToolFillTest, ACopiedShinyMaterialKeepsTheKnobOnItsTrack) {
  constexpr float kShiny = 3.0f;
  ClickButton(kFill);
  Materializer().SetSpecularPower(kShiny);
  Scene().UpdateToolPreview();
  const float shown = Fill().GetIntensitySlider()->GetValue();
  EXPECT_GE(shown, 0.0f);
  EXPECT_LE(shown, 1.0f);
  EXPECT_EQ(Materializer().GetSpecularPower(), kShiny);
}

}  // namespace
