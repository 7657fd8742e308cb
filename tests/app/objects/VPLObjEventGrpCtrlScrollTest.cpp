#include "app/objects/VPLObjEventGrpCtrlScroll.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLPrimObjSelector.h"
#include "app/objects/VPLServices.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/FakeTextureCollection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace app_fixtures;

constexpr MMResourceId kCell = kFirstFreeEntry;             // the quad
constexpr MMResourceId kGrid3x2 = kFirstFreeEntry + 1;      // six cells, both arrows
constexpr MMResourceId kGrid1x1 = kFirstFreeEntry + 2;      // one cell, both arrows
constexpr MMResourceId kNoArrows = kFirstFreeEntry + 3;     // six cells, no arrows
constexpr MMResourceId kFourCells = kFirstFreeEntry + 4;    // 3 x 2 with four cells
constexpr MMResourceId kTextureList = kFirstFreeEntry + 5;  // textures 0 and 1
constexpr MMResourceId kModelList = kFirstFreeEntry + 6;    // kCell, kPlacedButton
constexpr MMResourceId kOtherList = kFirstFreeEntry + 7;    // kCell
constexpr uint16_t kTextureCollection = 12;
constexpr float kArrowZ = 10.0f;  // in front of every cell
constexpr uint32_t kQuad = static_cast<uint32_t>(ModelId(kQuadItem));
constexpr uint32_t Reference(MMResourceId entry) { return static_cast<uint32_t>(entry + 1); }

std::vector<TaggedRow> Layout(int16_t columns, int16_t rows, int cells, bool arrows) {
  std::vector<TaggedRow> layout{
      {2, static_cast<uint32_t>(columns)}, {3, static_cast<uint32_t>(rows)}, {4, 1}};
  if (arrows) layout.insert(layout.end(), {{5, Reference(kCell)}, {6, Reference(kCell)}});
  for (int i = 0; i < cells; ++i) layout.push_back({9, Reference(kCell)});
  return layout;
}

// A plain row whose first 32 bits are the texture of the collection.
TaggedRow TextureRow(int16_t item) { return {item, kTextureCollection}; }

const ExtraTables kTables = {
    {kCell, {{0, kQuad}}},
    {kGrid3x2, Layout(3, 2, 6, true)},
    {kGrid1x1, Layout(1, 1, 1, true)},
    {kNoArrows, Layout(3, 2, 6, false)},
    {kFourCells, Layout(3, 2, 4, true)},
    {kTextureList, {TextureRow(0), TextureRow(1)}},
    {kModelList, {{0, Reference(kCell)}, {0, Reference(kPlacedButton)}}},
    {kOtherList, {{0, Reference(kCell)}}},
};

// A grid that logs how its cells are filled and copied.
class SpyGrid : public VPLObjEventGrpCtrlScroll {
 public:
  SpyGrid(MMScene* scene, MMResourceId layout, int16_t items)
      : VPLObjEventGrpCtrlScroll(scene, MakeQuad(), layout) {
    SetItemCount(items);
  }
  void FillCell(int16_t cell, int16_t n) override {
    mLog.push_back("fill " + std::to_string(cell) + ":" + std::to_string(n));
  }
  void CopyItemLook(int16_t from, int16_t to) override {
    mLog.push_back("copy " + std::to_string(from) + ">" + std::to_string(to));
  }
  using VPLObjEventGrpCtrlScroll::SetItemCount;
  std::vector<std::string> mLog;
};

// The user's pictures: two more textures.
class TwoUserTextures : public VPLUserTextureList {
 public:
  int32_t GetCount() const override { return 2; }
  int32_t GetTextureId(int32_t index) const override {
    return index < 2 ? MMMakeResourceId(kTextureCollection, static_cast<uint16_t>(2 + index))
                     : kMMNoResource;
  }
};

class VPLObjEventGrpCtrlScrollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    VPLGetServices().mTextureMap = &mMap;
    VPLGetServices().mUserTextures = &mUserTextures;
  }
  void TearDown() override {
    VPLGetServices().mTextureMap = nullptr;
    VPLGetServices().mUserTextures = nullptr;
  }
  std::unique_ptr<SpyGrid> Grid(MMResourceId layout, int16_t items) {
    auto grid = std::make_unique<SpyGrid>(&mStage.Scene(), layout, items);
    grid->Build();
    grid->mLog.clear();
    return grid;
  }
  // A grid of ten items in the stage's interface, its forward arrow alone
  // at the point ForwardArrowPoint gives.
  SpyGrid* GridOnStage() {
    auto* grid = new SpyGrid(&mStage.Scene(), kGrid3x2, 10);
    grid->Build();
    grid->GetForwardButton()->SetPosition(0, 0, kArrowZ);
    mStage.Plain().AppendInterfaceObject(grid);
    return grid;
  }
  UUPoint ForwardArrowPoint() { return mStage.ScreenPointOf({0, 0, kArrowZ, 1}); }
  static MMResourceId TextureOf(const VPLObj& cell) {
    const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(cell.GetDisplayTreeRoot());
    const MM3DMaterial& material =
        *static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[0])->GetPart(0).mMaterial;
    const MM3DTextureHandle& texture = material.GetLayer(0).GetTexture();
    return texture.IsEmpty() ? kMMNoResource : texture.GetTextureId();
  }

  AppFiles mFiles{kTables};
  InterfaceStage mStage;
  FakeTextureCollection mTextures{kTextureCollection};
  MM3DDriverTextureMap mMap;
  TwoUserTextures mUserTextures;
};

TEST_F(VPLObjEventGrpCtrlScrollTest, OffsetsMoveByLinesOrItemsWithinTheList) {
  struct Case {
    const char* what;
    MMResourceId layout;
    int16_t items;
    bool single, wrap;
    std::vector<char> moves;  // f forward, b back
    std::vector<int16_t> offsets;
    std::vector<bool> answers;
  };
  const Case cases[] = {
      {"lines of two",
       kGrid3x2,
       10,
       false,
       false,
       {'f', 'f', 'f', 'b', 'b', 'b'},
       {2, 4, 4, 2, 0, 0},
       {true, true, true, true, true, false}},
      {"single items", kGrid3x2, 10, true, false, {'f', 'f', 'b'}, {1, 2, 1}, {true, true, true}},
      {"one cell wrapping",
       kGrid1x1,
       5,
       true,
       true,
       {'b', 'f', 'f'},
       {4, 0, 1},
       {true, true, true}},
      {"empty list", kGrid1x1, 0, true, true, {'f', 'b'}, {0, 0}, {false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<SpyGrid> grid = Grid(c.layout, c.items);
    grid->SetSingleStep(c.single);
    grid->SetWrap(c.wrap);
    for (size_t i = 0; i < c.moves.size(); ++i) {
      const bool moved = c.moves[i] == 'f' ? grid->ScrollForward() : grid->ScrollBack();
      EXPECT_EQ(moved, c.answers[i]) << i;
      EXPECT_EQ(grid->GetOffset(), c.offsets[i]) << i;
    }
  }
}

TEST_F(VPLObjEventGrpCtrlScrollTest, TheArrowsShowOnlyWhereTheyCanMove) {
  struct Case {
    int16_t items, offset;
    bool wrap;
    bool back, forward;
  };
  for (const Case& c : {Case{10, 0, false, false, true}, Case{10, 4, false, true, true},
                        Case{4, 0, false, false, false}, Case{10, 0, true, true, true}}) {
    std::unique_ptr<SpyGrid> grid = Grid(kGrid3x2, c.items);
    grid->SetWrap(c.wrap);
    grid->SetOffset(c.offset);
    EXPECT_EQ(grid->GetBackButton()->GetVisibility() == kMMShown, c.back) << c.items;
    EXPECT_EQ(grid->GetForwardButton()->GetVisibility() == kMMShown, c.forward) << c.items;
  }
}

TEST_F(VPLObjEventGrpCtrlScrollTest, HidingTheGridHidesItsArrowsAndShowingRestoresThem) {
  std::unique_ptr<SpyGrid> grid = Grid(kGrid3x2, 10);
  grid->SetVisibility(kMMHidden);
  EXPECT_EQ(grid->GetForwardButton()->GetVisibility(), kMMHidden);
  grid->SetVisibility(kMMShown);
  EXPECT_EQ(grid->GetForwardButton()->GetVisibility(), kMMShown);
  EXPECT_EQ(grid->GetBackButton()->GetVisibility(), kMMHidden);
}

TEST_F(VPLObjEventGrpCtrlScrollTest, AScrollMovesTheLooksStillInViewAndFillsTheRest) {
  std::unique_ptr<SpyGrid> grid = Grid(kGrid3x2, 10);
  grid->SetSingleStep(true);
  grid->OnScroll(kScrollForward);
  EXPECT_EQ(grid->mLog, (std::vector<std::string>{"copy 1>0", "copy 2>1", "copy 3>2", "copy 4>3",
                                                  "copy 5>4", "fill 5:6"}));
  grid->mLog.clear();
  grid->OnScroll(kScrollBack);
  EXPECT_EQ(grid->mLog, (std::vector<std::string>{"copy 4>5", "copy 3>4", "copy 2>3", "copy 1>2",
                                                  "copy 0>1", "fill 0:0"}));
}

TEST_F(VPLObjEventGrpCtrlScrollTest, LayoutsShortOfCellsOrArrowsServeWhatTheyHave) {
  std::unique_ptr<SpyGrid> four = Grid(kFourCells, 10);
  four->Refresh();
  EXPECT_EQ(four->mLog.size(), 4u);
  four->mLog.clear();
  four->OnScroll(kScrollForward);
  EXPECT_EQ(four->mLog, (std::vector<std::string>{"copy 2>0", "copy 3>1", "fill 2:4", "fill 3:5"}));

  std::unique_ptr<SpyGrid> bare = Grid(kNoArrows, 10);
  EXPECT_EQ(bare->GetBackButton(), nullptr);
  bare->OnScroll(kScrollForward);
  EXPECT_EQ(bare->GetOffset(), 2);
}

TEST_F(VPLObjEventGrpCtrlScrollTest, ClickingTheForwardArrowScrollsOnTheNextRun) {
  SpyGrid* grid = GridOnStage();
  const UUPoint at = ForwardArrowPoint();
  mStage.Press(at);
  mStage.Release(at);
  EXPECT_EQ(grid->GetOffset(), 0);
  mStage.RunFrame();
  EXPECT_EQ(grid->GetOffset(), 2);
}

// The second of two quick clicks comes as the system's double-click
// message: it scrolls as a click does.
TEST_F(VPLObjEventGrpCtrlScrollTest, AQuickSecondClickOnAnArrowScrollsAgain) {
  SpyGrid* grid = GridOnStage();
  const UUPoint at = ForwardArrowPoint();
  mStage.Press(at);
  mStage.Release(at);
  mStage.DoubleClick(at);
  mStage.Release(at);
  mStage.RunFrame();
  EXPECT_EQ(grid->GetOffset(), 4);
}

TEST_F(VPLObjEventGrpCtrlScrollTest, TheTextureGridShowsTheListThenTheChildsPictures) {
  for (uint8_t i = 0; i < 4; ++i) mTextures.Add({.mRed = i, .mGreen = 0, .mBlue = 0});
  VPLObjEventGrpCtrlScrollScriptedTextures grid(&mStage.Scene(), MakeQuad(), kGrid3x2, {},
                                                kTextureList);
  grid.Build();
  EXPECT_EQ(grid.GetItemCount(), 4);
  for (int16_t cell = 0; cell < 4; ++cell) {
    EXPECT_EQ(TextureOf(*grid.GetChild(cell)),
              MMMakeResourceId(kTextureCollection, static_cast<uint16_t>(cell)));
  }
  EXPECT_EQ(TextureOf(*grid.GetChild(4)), kMMNoResource);
}

TEST_F(VPLObjEventGrpCtrlScrollTest, TheModelGridShowsOneItemAndANewListKeepsTheCallback) {
  StageLog log;
  const MMTaskCallback clicked(mStage.Scene().GetTaskClient(),
                               new (ALGlobalAllocator) StageLogCallback(log, "clicked"));
  VPLObjEventGrpCtrlScrollScriptedModels grid(&mStage.Scene(), MakeQuad(), kGrid1x1, {},
                                              kModelList);
  grid.Build(clicked);
  grid.SetOffset(1);
  ASSERT_EQ(grid.GetChildCount(), 1);
  EXPECT_EQ(static_cast<VPLObjButton*>(grid.GetChild(0))->GetDefinition(), kPlacedButton);
  grid.SetList(kOtherList);
  EXPECT_EQ(grid.GetItemCount(), 1);
  ASSERT_EQ(grid.GetChildCount(), 1);
  EXPECT_EQ(grid.GetChild(0)->GetCallback().GetCallback().Get(), clicked.GetCallback().Get());
}

TEST_F(VPLObjEventGrpCtrlScrollTest, TheShapeSelectorSpinsFifteenDegreesASecond) {
  const int32_t start = mStage.Stage()->GetTaskManager()->GetNow();
  VPLPrimObjSelector selector(&mStage.Scene(), MakeQuad(), kGrid1x1, {}, kModelList);
  selector.Build();
  selector.Refresh();
  EXPECT_TRUE(mStage.Scene().HasObject(&selector));
  selector.Tick(start + 1000);
  const MM3DMatrix& turn = selector.GetChild(0)->GetRotationNode()->GetMatrix();
  EXPECT_NEAR(std::fabs(std::atan2(-turn.mElement[2][0], turn.mElement[0][0])),
              VPLPrimObjSelector::kTurnRate, 1e-5f);
}

}  // namespace
