#include "app/objects/VPLObjEventGrp.h"

#include "app/objects/VPLToggleButtonObject.h"
#include "foundation/al/ALAllocator.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

namespace {

using namespace app_fixtures;

constexpr MMResourceId kPlain = kFirstFreeEntry;         // the quad
constexpr MMResourceId kToggle = kFirstFreeEntry + 2;    // other look: kPlain
constexpr MMResourceId kNoModel = kFirstFreeEntry + 3;   // a definition without tag 0
constexpr MMResourceId kLayout = kFirstFreeEntry + 4;    // kPlain, kToggle, kNoModel, kPlaced
constexpr MMResourceId kTwoCells = kFirstFreeEntry + 5;  // kPlain, kRight
constexpr uint32_t kQuad = static_cast<uint32_t>(ModelId(kQuadItem));
constexpr uint32_t Reference(MMResourceId entry) { return static_cast<uint32_t>(entry + 1); }

const ExtraTables kTables = {
    {kPlain, {{0, kQuad}}},
    {kToggle, {{0, kQuad}, {8, Reference(kPlain)}}},
    {kNoModel, {{26, 30}}},
    {kLayout,
     {{9, Reference(kPlain)},
      {9, Reference(kToggle)},
      {9, Reference(kNoModel)},
      {9, Reference(kPlacedButton)}}},
    {kTwoCells, {{9, Reference(kPlain)}, {9, Reference(kPlain)}}},
};

const MM3DVector kLeftCell(-1.5f, 0, 10, 1);
const MM3DVector kRightCell(1.5f, 0, 10, 1);
const MM3DVector kGroupOnly(0, 3, 12, 1);

class VPLObjEventGrpTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  MMTaskCallback Logging(const std::string& entry) {
    return MMTaskCallback(mStage.Scene().GetTaskClient(),
                          new (ALGlobalAllocator) StageLogCallback(mLog, entry));
  }
  // A controller over two cells side by side on a large frame behind them.
  VPLObjEventGrpCtrl* TwoCells() {
    auto* group = new VPLObjEventGrpCtrl(&mStage.Scene(), MakeQuad(), kTwoCells, Logging("group"));
    group->Build(Logging("cell"));
    group->SetScale(4, 4, 1);
    group->SetPosition(0, 0, 12);
    group->GetChild(0)->SetPosition(kLeftCell);
    group->GetChild(1)->SetPosition(kRightCell);
    mStage.Plain().AppendInterfaceObject(group);
    return group;
  }
  UUPoint At(const MM3DVector& world) { return mStage.ScreenPointOf(world); }

  AppFiles mFiles{kTables};
  InterfaceStage mStage;
  StageLog mLog;
};

TEST_F(VPLObjEventGrpTest, ALayoutBuildsOneChildPerRowWithAModel) {
  VPLObjEventGrp group(&mStage.Scene(), MakeQuad(), kLayout);
  group.Build();
  ASSERT_EQ(group.GetChildCount(), 3);
  EXPECT_NE(dynamic_cast<VPLOnUpButtonObject*>(group.GetChild(0)), nullptr);
  EXPECT_NE(dynamic_cast<VPLToggleButtonObject*>(group.GetChild(1)), nullptr);
  EXPECT_EQ(static_cast<VPLObjButton*>(group.GetChild(2))->GetDefinition(), kPlacedButton);
  EXPECT_EQ(group.GetChild(3), nullptr);
  EXPECT_EQ(group.GetChild(-1), nullptr);
}

TEST_F(VPLObjEventGrpTest, TheGroupTakesThePlacementOfItsLastChild) {
  VPLObjEventGrp group(&mStage.Scene(), MakeQuad(), kLayout);
  group.Build();
  EXPECT_EQ(group.GetScriptId(), kPlacedButton);
  EXPECT_TRUE(group.GetWorldPosition().Equals(MM3DVector(1, 2, 3, 1)));
}

TEST_F(VPLObjEventGrpTest, HoverChildrenGlowOrange) {
  VPLObjEventGrp group(&mStage.Scene(), MakeQuad(), kTwoCells);
  group.SetHoverChildren(true);
  group.Build();
  group.GetChild(0)->OnHoverOn();
  EXPECT_EQ(group.GetChild(0)->GetStoredColor(), VPLObjEventGrp::kHoverGlow);
}

TEST_F(VPLObjEventGrpTest, HidingTheGroupHidesItsChildren) {
  VPLObjEventGrp group(&mStage.Scene(), MakeQuad(), kTwoCells);
  group.Build();
  group.SetVisibility(kMMHidden);
  EXPECT_EQ(group.GetChild(1)->GetVisibility(), kMMHidden);
}

TEST_F(VPLObjEventGrpTest, HoverMovesFromChildToChildAndAPressStaysWithItsChild) {
  VPLObjEventGrpCtrl* group = TwoCells();
  mStage.Move(At(kLeftCell));
  EXPECT_EQ(group->GetCurrentChild(), group->GetChild(0));
  mStage.Move(At(kRightCell));
  EXPECT_EQ(group->GetCurrentChild(), group->GetChild(1));
  mStage.Press(At(kRightCell));
  mStage.Drag(At(kLeftCell));
  EXPECT_EQ(group->GetCurrentChild(), group->GetChild(1));
  EXPECT_TRUE(group->IsCaptured());
  mStage.Release(At(kLeftCell));
  mStage.RunFrame();
  EXPECT_TRUE(mLog.empty());
}

TEST_F(VPLObjEventGrpTest, AClickOnAChildFiresItsCallbackAndOnTheFrameTheGroups) {
  TwoCells();
  mStage.Press(At(kRightCell));
  mStage.Release(At(kRightCell));
  mStage.Press(At(kGroupOnly));
  mStage.Release(At(kGroupOnly));
  mStage.RunFrame();
  EXPECT_EQ(mLog, (StageLog{"cell", "group"}));
}

TEST_F(VPLObjEventGrpTest, RemovingTheCurrentChildFreesTheMouse) {
  VPLObjEventGrpCtrl* group = TwoCells();
  mStage.Press(At(kLeftCell));
  ASSERT_TRUE(group->IsCaptured());
  group->RemoveChild(group->GetChild(0));
  EXPECT_EQ(group->GetCurrentChild(), nullptr);
  EXPECT_FALSE(group->IsCaptured());
  mStage.Release(At(kLeftCell));
  EXPECT_EQ(group->GetChildCount(), 1);
}

TEST_F(VPLObjEventGrpTest, ARadioSetSelectsTheClickedChildOnTheNextRun) {
  auto* radio = new VPLObjEventGrpCtrlNonScroll(&mStage.Scene(), MakeQuad(), kTwoCells);
  radio->Build();
  radio->GetChild(0)->SetPosition(kLeftCell);
  radio->GetChild(1)->SetPosition(kRightCell);
  mStage.Plain().AppendInterfaceObject(radio);
  mStage.Press(At(kRightCell));
  mStage.Release(At(kRightCell));
  EXPECT_EQ(radio->GetSelected(), 0);
  mStage.RunFrame();
  EXPECT_EQ(radio->GetSelected(), 1);
  radio->Select(7);
  EXPECT_EQ(radio->GetSelected(), 1);
}

}  // namespace
