#include "app/objects/VPLObjColorPicker.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjGreyScale.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace app_fixtures;

const MM3DVector kCentre(0, 0, 10, 1);
constexpr float kByte = 1.0f / 255;
constexpr MM3DPackedColor kFixedEnd{255, 255, 240, 255};
// A strip from x = -1 (vertex 0) to 1 (vertex 1); its first triangle
// reaches both ends.
const std::vector<MM3DVector> kStrip = {{-1, -1, 0, 1}, {1, -1, 0, 1}, {1, 1, 0, 1},
                                        {-1, -1, 0, 1}, {1, 1, 0, 1},  {-1, 1, 0, 1}};

bool Same(const MM3DPackedColor& a, const MM3DPackedColor& b) {
  return a.mR == b.mR && a.mG == b.mG && a.mB == b.mB && a.mA == b.mA;
}

// A wheel of one triangle with the corner colours given; corner 2 at p2.
UURefCount<MM3DModel> Wheel(const std::vector<MM3DPackedColor>& colours,
                            const MM3DVector& p2 = MM3DVector(0, 1, 0, 1)) {
  return MakeMeshesModel({{{-1, -1, 0, 1}, {1, -1, 0, 1}, p2}}, {colours});
}

UURefCount<MM3DModel> Strip(const std::vector<MM3DVector>& positions = kStrip) {
  const MM3DPackedColor grey{128, 128, 128, 255};
  return MakeMeshesModel({positions}, {{grey, kFixedEnd, grey, grey, grey, grey}});
}

// The press of a pointer straight down the z axis at (x, y) of the scene.
VPLPickEvent PressAt(float x, float y, int32_t flags = 0) {
  VPLPickEvent event(0, 0, 0, kVPLPress | flags);
  event.mRay = VPLSegment{MM3DVector(x, y, 0, 1), MM3DVector(x, y, 2 * kCentre.mZ, 1)};
  return event;
}

// A preview that keeps the colours it is given.
class KeepingPreview : public VPLObjDynamicPreview {
 public:
  using VPLObjDynamicPreview::VPLObjDynamicPreview;
  void SetColorA(float r, float g, float b, float a) override { mA = MM3DColor{r, g, b, a}; }
  void SetColorB(float r, float g, float b, float a) override { mB = MM3DColor{r, g, b, a}; }
  MM3DColor mA{0, 0, 0, 0};
  MM3DColor mB{0, 0, 0, 0};
};

class VPLObjColorPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mMaterializer.SetColor(MM3DColor{1, 1, 1, 0.5f});
    mMaterializer.SetSecondColor(MM3DColor{0.2f, 0.2f, 0.2f, 0.5f});
  }
  std::unique_ptr<VPLObjGreyScale> MakeGreyScale(const UURefCount<MM3DModel>& model = Strip()) {
    auto grey = std::make_unique<VPLObjGreyScale>(&mStage.Scene(), model, kMMNoResource,
                                                  MMTaskCallback(), &mMaterializer, &mPreview);
    grey->SetPosition(kCentre);
    return grey;
  }
  std::unique_ptr<VPLObjColorPicker> MakePicker(const UURefCount<MM3DModel>& model,
                                                VPLObjGreyScale* grey) {
    auto picker =
        std::make_unique<VPLObjColorPicker>(&mStage.Scene(), model, MMTaskCallback(), grey);
    picker->SetPosition(kCentre);
    return picker;
  }

  AppFiles mFiles;
  InterfaceStage mStage;
  VPLMaterializer mMaterializer{nullptr};
  KeepingPreview mPreview{&mStage.Scene(), MakeQuad()};
};

TEST_F(VPLObjColorPickerTest, ATriangleOfOneColourGivesThatColourAnywhere) {
  const MM3DPackedColor colour{200, 101, 7, 255};
  for (const MM3DVector& corner2 : {MM3DVector(0, 1, 0, 1), MM3DVector(0, 0, 0, 1)}) {
    const auto picker = MakePicker(Wheel({colour, colour, colour}, corner2), nullptr);
    for (const float x : {-0.9f, -0.3f, 0.0f, 0.4f}) {
      ASSERT_TRUE(picker->Pick(PressAt(x, -0.95f))) << x;
      EXPECT_TRUE(Same(picker->GetPickedColour(), MM3DPackedColor{200, 101, 7, 0})) << x;
    }
  }
}

TEST_F(VPLObjColorPickerTest, ARayOffTheTrianglesChangesNothing) {
  const auto grey = MakeGreyScale();
  const auto picker = MakePicker(Wheel({{9, 9, 9, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}}), grey.get());
  const MM3DColor before = mMaterializer.GetColor();
  picker->OnPress(PressAt(0.9f, 0.9f));
  EXPECT_TRUE(Same(picker->GetPickedColour(), MM3DPackedColor{0, 0, 0, 0}));
  EXPECT_EQ(mMaterializer.GetColor(), before);
  grey->OnPress(PressAt(3.0f, 0.0f));
  EXPECT_EQ(mMaterializer.GetColor(), before);
}

TEST_F(VPLObjColorPickerTest, ShiftChangesTheBaseColourOnlyAndTheAlphaIsKept) {
  const auto grey = MakeGreyScale();
  const MM3DPackedColor colour{51, 102, 153, 255};
  const auto picker = MakePicker(Wheel({colour, colour, colour}), grey.get());
  const MM3DColor second = mMaterializer.GetSecondColor();
  const MM3DColor previewSecond = mPreview.mB;
  const MM3DColor picked{VPLByteToFloat(51), VPLByteToFloat(102), VPLByteToFloat(153),
                         VPLByteToFloat(127)};
  picker->OnPress(PressAt(0.0f, -0.5f, kVPLAlternate));
  EXPECT_EQ(mMaterializer.GetColor(), picked);
  EXPECT_EQ(mMaterializer.GetSecondColor(), second);
  EXPECT_EQ(mPreview.mA, picked);
  // The preview shows the second colour still, given again by the material.
  EXPECT_NEAR(mPreview.mB.mR, previewSecond.mR, kByte);
  EXPECT_NEAR(mPreview.mB.mA, previewSecond.mA, kByte);
  picker->OnPress(PressAt(0.0f, -0.5f));
  EXPECT_EQ(mMaterializer.GetSecondColor(), picked);
  EXPECT_EQ(mPreview.mB, picked);
}

TEST_F(VPLObjColorPickerTest, TheStripsEndsGiveExactlyThePickedAndTheFixedColour) {
  const auto grey = MakeGreyScale();
  MM3DPackedColor first{};
  MM3DPackedColor second{};
  grey->GetEndColours(first, second);
  EXPECT_TRUE(Same(first, MM3DPackedColor{255, 255, 255, 127}));
  grey->SetColor(MM3DPackedColor{10, 20, 30, 0}, false, false);
  struct Case {
    float x;
    MM3DPackedColor colour;
  };
  for (const Case& c : {Case{-1.0f, {10, 20, 30, 0}}, Case{1.0f, {255, 255, 240, 0}}}) {
    grey->OnPress(PressAt(c.x, -0.9f));
    EXPECT_TRUE(Same(grey->CurrentColour(), c.colour)) << c.x;
    EXPECT_EQ(mMaterializer.GetColor(),
              (MM3DColor{VPLByteToFloat(c.colour.mR), VPLByteToFloat(c.colour.mG),
                         VPLByteToFloat(c.colour.mB), VPLByteToFloat(127)}))
        << c.x;
  }
  grey->OnPress(PressAt(0.0f, -0.9f));
  EXPECT_EQ(grey->CurrentColour().mG, 137);
}

TEST_F(VPLObjColorPickerTest, AStripWithoutWidthGivesItsFirstEnd) {
  const std::vector<MM3DVector> edgeOn = {{0, -1, 0, 1}, {0, -1, 1, 1}, {0, 1, 0, 1}};
  const auto grey =
      MakeGreyScale(MakeMeshesModel({edgeOn}, {{{10, 20, 30, 0}, kFixedEnd, {10, 20, 30, 0}}}));
  EXPECT_TRUE(Same(grey->CurrentColour(), MM3DPackedColor{255, 255, 255, 0}));
}

}  // namespace
