#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLCreationUIHooks.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "platform/win32/testhooks.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace app_fixtures;
using namespace area_support;

constexpr int16_t kEnter = VPLSceneCreationArea::kEnterKey;

MMMouseEvent Mouse(int32_t flags) { return MMMouseEvent{.mX = 10, .mY = 10, .mFlags = flags}; }

class VPLSceneCreationAreaTest : public ::testing::Test {
 protected:
  VPLSceneCreationArea& Area() { return mWorld->Area(); }
  VPLCreation& Creation() { return mWorld->Creation(); }
  size_t ObjectCount() { return Creation().GetUserObjects().size(); }
  // One world at a time: the test files are registered by collection.
  void Remake(const ExtraTables& tables = AreaTables()) {
    mWorld.reset();
    mWorld = std::make_unique<AreaWorld>(tables);
  }

  std::unique_ptr<AreaWorld> mWorld = std::make_unique<AreaWorld>();
};

TEST_F(VPLSceneCreationAreaTest, StartsFromTheSettings) {
  EXPECT_EQ(Area().GetSelectedModel(), kStartSelectedModel);
  EXPECT_EQ(Area().GetToolOption(), kStartToolOption);
  EXPECT_EQ(Area().GetDrawSize(), kStartDrawSize);
  EXPECT_EQ(Area().GetFreehandMode(), kStartFreehandMode);
  EXPECT_EQ(Area().GetMagnetSize(), kStartMagnetSize);
  EXPECT_TRUE(Area().GetDropPosition().Equals(kDropPosition));
  EXPECT_EQ(Area().GetLibraryList(), VPLSceneCreationArea::kModelLibrary);
  // The initial path: the first rows at or after row 1.
  EXPECT_EQ(Area().GetPathIndex(), 0);
  EXPECT_EQ(Area().GetPath(), kPathB);
  EXPECT_EQ(Area().GetAlternatePath(), kAlternatePathB);
  EXPECT_EQ(Area().GetPathValue(), kPathValueA);
  EXPECT_EQ(Creation().GetBackground(), kStartBackground);
  EXPECT_TRUE(Area().IsUntouched());
  EXPECT_FALSE(Creation().IsModified());
  EXPECT_TRUE(Area().HasSnapshot());
  EXPECT_EQ(Area().GetUndoBlockSize(), VPLSceneCreationArea::kUndoBlockSize);
}

TEST_F(VPLSceneCreationAreaTest, MissingRowsKeepTheStartValues) {
  struct Case {
    const char* name;
    std::vector<TaggedRow> settings;
    MM3DVector drop;
    MMResourceId path;
    int32_t pathValue;
  };
  const MM3DVector origin(0, 0, 0, 1);
  // The initial path row lies beyond list 164; the drop divisor is 0.
  for (const Case& c : {Case{"no rows",
                             {},
                             origin,
                             VPLSceneCreationArea::kNoPath,
                             VPLSceneCreationArea::kNoPathValue},
                        Case{"beyond the paths",
                             {{VPLSceneCreationArea::kInitialPathTag, 4},
                              {VPLSceneCreationArea::kDropPositionTag, kZeroDivisorVector + 1}},
                             origin,
                             VPLSceneCreationArea::kNoPath,
                             VPLSceneCreationArea::kNoPathValue}}) {
    ExtraTables tables = AreaTables();
    tables[VPLSceneCreationArea::kSettingsScript] = c.settings;
    Remake(tables);
    EXPECT_TRUE(Area().GetDropPosition().Equals(c.drop)) << c.name;
    EXPECT_EQ(Area().GetPath(), c.path) << c.name;
    EXPECT_EQ(Area().GetAlternatePath(), c.path) << c.name;
    EXPECT_EQ(Area().GetPathValue(), c.pathValue) << c.name;
    EXPECT_EQ(Area().GetSelectedModel(), 0) << c.name;
  }
}

TEST_F(VPLSceneCreationAreaTest, RoutesEachEventToOneTool) {
  const MakerInFactory move(kVPLToolMove, MakeRecordingTool<kVPLToolMove>);
  const MakerInFactory group(kVPLToolGroup, MakeRecordingTool<kVPLToolGroup>);
  const MakerInFactory sucker(kVPLToolColorSucker, MakeRecordingTool<kVPLToolColorSucker>);
  struct Case {
    const char* name;
    int32_t tool;
    bool engaged;
    int32_t flags;
    VPLToolEnums receiver;
  };
  const int32_t ctrlPress = kVPLPress | kVPLHeld | kVPLColorSucker;
  for (const Case& c :
       {Case{"group keeps Ctrl", kVPLToolGroup, false, ctrlPress, kVPLToolGroup},
        Case{"a drag keeps Ctrl", kVPLToolMove, true, ctrlPress, kVPLToolMove},
        Case{"Ctrl to the sucker", kVPLToolMove, false, ctrlPress, kVPLToolColorSucker},
        Case{"plain press", kVPLToolMove, false, kVPLPress, kVPLToolMove}}) {
    Remake();
    Area().SetTool(c.tool);
    RecordingTool* current =
        RecordingTool::Last()[c.tool == kVPLToolGroup ? kVPLToolGroup : kVPLToolMove];
    current->mEngageAtPress = true;
    if (c.engaged) Area().OnMouse(Mouse(kVPLPress | kVPLHeld));
    const int32_t before = RecordingTool::Last()[c.receiver]->mEvents;
    EXPECT_TRUE(Area().OnMouse(Mouse(c.flags)) || c.receiver == kVPLToolColorSucker) << c.name;
    EXPECT_EQ(RecordingTool::Last()[c.receiver]->mEvents, before + 1) << c.name;
  }
}

TEST_F(VPLSceneCreationAreaTest, WithoutAToolTheEventIsDropped) {
  const MakerInFactory none(kVPLToolScale, nullptr);
  Area().SetTool(kVPLToolScale);
  ASSERT_EQ(Area().GetCurrentTool(), nullptr);
  EXPECT_FALSE(Area().OnMouse(Mouse(kVPLPress | kVPLHeld)));
  EXPECT_FALSE(Area().DidToolTakeInput());
}

TEST_F(VPLSceneCreationAreaTest, SpaceResetsTheCameraUnlessATookTheLastEvent) {
  const MakerInFactory move(kVPLToolMove, MakeRecordingTool<kVPLToolMove>);
  Area().SetTool(kVPLToolMove);
  RecordingTool::Last()[kVPLToolMove]->mEngageAtPress = true;
  const MMKeyEvent space{.mKeyCode = 0, .mCharacter = ' '};
  Area().OnMouse(Mouse(kVPLPress | kVPLHeld));
  EXPECT_TRUE(Area().OnKey(space));
  EXPECT_FALSE(Creation().IsModified());  // the camera stayed
  Area().OnMouse(Mouse(kVPLRelease));
  EXPECT_TRUE(Area().OnKey(space));
  EXPECT_TRUE(Creation().IsModified());
  EXPECT_FALSE(Area().OnKey(MMKeyEvent{.mKeyCode = 0, .mCharacter = 'a'}));
}

TEST_F(VPLSceneCreationAreaTest, EnterShowsTheNextBackgroundAndWraps) {
  for (int16_t expected : {int16_t{2}, int16_t{0}, int16_t{1}}) {
    EXPECT_TRUE(Area().OnKey(MMKeyEvent{.mKeyCode = kEnter}));
    EXPECT_EQ(Creation().GetBackground(), expected);
  }
  ExtraTables tables = AreaTables();
  tables[VPLSceneCreationArea::kGroundList] = {{0, static_cast<uint32_t>(ModelId(kQuadItem))}};
  tables[VPLCreation::kSettingsScript].back().mValue = 0;
  Remake(tables);
  Area().OnKey(MMKeyEvent{.mKeyCode = kEnter});
  EXPECT_EQ(Creation().GetBackground(), 0);
}

TEST_F(VPLSceneCreationAreaTest, ABackgroundChangeIsCheckpointedAndAModification) {
  Area().ToggleGround();
  ASSERT_TRUE(Area().IsGroundHidden());
  EXPECT_TRUE(Creation().IsModified());  // the ground toggle is a change
  Creation().SetModified(false);
  Area().SetBackground(kStartBackground);
  EXPECT_FALSE(Creation().IsModified());  // the same background is none
  Area().SetBackground(2);
  EXPECT_EQ(Area().GetGroundMolecule()->GetVisibility(), kMMHidden);
  EXPECT_EQ(Area().GetBackdropMolecule()->GetVisibility(), kMMShown);
  EXPECT_TRUE(Creation().IsModified());
  // The checkpoint already holds the new background: an undo keeps it.
  Area().Undo();
  EXPECT_EQ(Creation().GetBackground(), 2);
  // An index outside list 55 is ignored.
  for (int16_t index : {int16_t{-1}, kBackgroundCount}) Area().SetBackground(index);
  EXPECT_EQ(Creation().GetBackground(), 2);
}

TEST_F(VPLSceneCreationAreaTest, WithoutBackgroundsTheGroundOnlyChangesItsFlag) {
  ExtraTables tables = AreaTables();
  tables[VPLSceneCreationArea::kGroundList] = {};
  tables[VPLSceneCreationArea::kBackdropList] = {};
  Remake(tables);
  EXPECT_EQ(Area().GetGroundMolecule(), nullptr);
  Area().ToggleGround();
  EXPECT_TRUE(Area().IsGroundHidden());
  Area().ClearCreation();
  EXPECT_FALSE(Area().IsGroundHidden());
}

TEST_F(VPLSceneCreationAreaTest, AddSelectedModelChecksPointTheCreationWithoutIt) {
  const std::vector<uint8_t> before = RecordOf(Creation());
  Area().AddSelectedModel();
  ASSERT_EQ(ObjectCount(), 1u);
  EXPECT_TRUE(Creation().IsModified());
  EXPECT_FALSE(Area().IsUntouched());
  EXPECT_TRUE(Creation().GetUserObjects()[0]->GetWorldPosition().Equals(
      MM3DVector(kDropPosition.mX, kDropPosition.mY, kDropPosition.mZ, 1.0f)));
  Area().Undo();
  EXPECT_EQ(ObjectCount(), 0u);
  EXPECT_EQ(RecordOf(Creation()), before);
}

TEST_F(VPLSceneCreationAreaTest, LibraryModelsComeFromTheCurrentListWithinItsRows) {
  Area().SetLibraryList(kSecondLibrary);
  Area().AddLibraryModel(0);
  ASSERT_EQ(ObjectCount(), 1u);
  // The two-mesh model is wider than the quad.
  MM3DVector low(0, 0, 0, 1);
  MM3DVector high(0, 0, 0, 1);
  Creation().GetUserObjects()[0]->GetBounds(low, high);
  EXPECT_GT(high.mX - low.mX, kSecondMeshX);
  for (int16_t index : {int16_t{-1}, int16_t{1}, int16_t{300}}) Area().AddLibraryModel(index);
  EXPECT_EQ(ObjectCount(), 1u);
}

TEST_F(VPLSceneCreationAreaTest, TheCharacterIsAddedOnceAndRemovedWithItsPartsOff) {
  Area().AddCharacter();
  Area().AddCharacter();
  auto* character = dynamic_cast<TestCharacter*>(Creation().FindCharacter());
  ASSERT_NE(character, nullptr);
  EXPECT_EQ(character->mLog, (std::vector<std::string>{"setup", "off"}));
  Area().TogglePerformance();
  EXPECT_TRUE(Area().IsCharacterPerforming());
  Area().RemoveCharacter();
  EXPECT_EQ(Creation().FindCharacter(), character);
  EXPECT_FALSE(character->mPerforming);
  EXPECT_EQ(character->mResets, 1);
}

TEST_F(VPLSceneCreationAreaTest, PathsAreChosenByTheirOrderInTheLists) {
  Area().SelectPath(0);
  EXPECT_EQ(Area().GetPath(), kPathA);
  EXPECT_EQ(Area().GetAlternatePath(), kAlternatePathA);
  EXPECT_EQ(Area().GetPathValue(), kPathValueA);
  Area().SelectPath(1);
  EXPECT_EQ(Area().GetPath(), kPathB);
  EXPECT_EQ(Area().GetPathValue(), kPathValueB);
  for (int16_t index : {int16_t{-1}, int16_t{4}}) Area().SelectPath(index);
  EXPECT_EQ(Area().GetPathIndex(), 1);
  EXPECT_EQ(Area().GetPath(), kPathB);
}

TEST_F(VPLSceneCreationAreaTest, SetToolBuildsByNumberAndKeepsOneColourSucker) {
  const MakerInFactory move(kVPLToolMove, MakeRecordingTool<kVPLToolMove>);
  const MakerInFactory sucker(kVPLToolColorSucker, MakeRecordingTool<kVPLToolColorSucker>);
  Area().SetTool(kVPLToolStart);
  VPLTool* theSucker = Area().GetColorSucker();
  ASSERT_NE(theSucker, nullptr);
  EXPECT_EQ(theSucker->GetNormalCursor(), VPLToolFactory::kColorSuckerCursor);
  for (int32_t value : {6, 10, 11, 16}) {
    VPLTool* before = Area().GetCurrentTool();
    Area().SetTool(value);
    ASSERT_NE(Area().GetCurrentTool(), nullptr) << value;
    EXPECT_EQ(Area().GetCurrentTool()->GetToolType(), kVPLToolMove) << value;
    EXPECT_EQ(RecordingTool::Last()[kVPLToolMove], Area().GetCurrentTool()) << value;
    EXPECT_NE(before, nullptr);
  }
  VPLTool* kept = Area().GetCurrentTool();
  for (int32_t value : {-1, 18}) Area().SetTool(value);
  EXPECT_EQ(Area().GetCurrentTool(), kept);
  EXPECT_EQ(Area().GetColorSucker(), theSucker);
  // The same number again gives a fresh tool: its drag is gone.
  RecordingTool::Last()[kVPLToolMove]->mEngageAtPress = true;
  Area().OnMouse(Mouse(kVPLPress | kVPLHeld));
  ASSERT_TRUE(Area().GetCurrentTool()->IsEngaged());
  Area().SetTool(kVPLToolMove);
  EXPECT_FALSE(Area().GetCurrentTool()->IsEngaged());
  EXPECT_EQ(RecordingTool::Last()[kVPLToolMove]->mEvents, 0);
}

}  // namespace
