#include "app/creation/VPLObjButtonToolPrim.h"

#include "app/objects/VPLPrimObjSelector.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

namespace {

using palette_stage::AreaTool;
using palette_stage::kFill;
using palette_stage::kPrimitive;

class VPLObjButtonToolPrimTest : public palette_stage::PaletteTest {
 protected:
  VPLObjButtonToolPrim& Prim() { return ButtonAs<VPLObjButtonToolPrim>(kPrimitive); }
  VPLPrimObjSelector& Chooser() { return *Prim().GetChooser(); }
  void ScrollForward(int32_t times) {
    for (int32_t i = 0; i < times; ++i) Click(*Chooser().GetForwardButton());
  }
  size_t ObjectCount() { return Area().GetCreation()->GetUserObjects().size(); }
};

TEST_F(VPLObjButtonToolPrimTest, TheModelShownLastIsShownAgainOnTheNextEngage) {
  ClickButton(kPrimitive);
  EXPECT_EQ(AreaTool(Area()), kVPLToolShapePrimitive);
  EXPECT_EQ(Area().GetLibraryList(), VPLObjButtonToolPrim::kFirstModelList);
  EXPECT_TRUE(Prim().GetToggle()->GetState());
  const int16_t start = Chooser().GetOffset();
  ScrollForward(3);
  const int16_t shown = Chooser().GetOffset();
  EXPECT_NE(shown, start);
  EXPECT_EQ(Area().GetSelectedModel(), shown);

  ClickButton(kFill);
  ClickButton(kPrimitive);
  EXPECT_EQ(Chooser().GetOffset(), shown);
  EXPECT_EQ(Area().GetSelectedModel(), shown);
}

TEST_F(VPLObjButtonToolPrimTest, EachCatalogueKeepsItsPlace) {
  ClickButton(kPrimitive);
  ScrollForward(2);
  const int16_t first = Chooser().GetOffset();

  Click(*Prim().GetToggle());
  EXPECT_EQ(Area().GetLibraryList(), VPLObjButtonToolPrim::kSecondModelList);
  EXPECT_FALSE(Prim().GetToggle()->GetState());
  ScrollForward(1);
  const int16_t second = Chooser().GetOffset();

  Click(*Prim().GetToggle());
  EXPECT_EQ(Area().GetLibraryList(), VPLObjButtonToolPrim::kFirstModelList);
  EXPECT_TRUE(Prim().GetToggle()->GetState());
  EXPECT_EQ(Chooser().GetOffset(), first);
  EXPECT_EQ(Area().GetSelectedModel(), first);

  // The second catalogue, shown at a release, is shown at the next engage.
  Click(*Prim().GetToggle());
  ClickButton(kFill);
  ClickButton(kPrimitive);
  EXPECT_EQ(Area().GetLibraryList(), VPLObjButtonToolPrim::kSecondModelList);
  EXPECT_FALSE(Prim().GetToggle()->GetState());
  EXPECT_EQ(Chooser().GetOffset(), second);
}

TEST_F(VPLObjButtonToolPrimTest, ADoubleClickOnTheModelAddsItOnce) {
  ClickButton(kPrimitive);
  const size_t before = ObjectCount();
  ScrollForward(1);
  EXPECT_EQ(ObjectCount(), before);
  ASSERT_NE(Chooser().GetChild(0), nullptr);
  DoubleClick(*Chooser().GetChild(0));
  EXPECT_EQ(ObjectCount(), before + 1);
}

}  // namespace
