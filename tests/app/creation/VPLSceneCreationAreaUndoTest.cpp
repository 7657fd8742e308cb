#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLToolFactory.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace area_support;

const MM3DVector kPlace(0.0f, 0.0f, 10.0f, 1.0f);
const MM3DVector kElsewhere(5.0f, 1.0f, 12.0f, 1.0f);

class VPLSceneCreationAreaUndoTest : public ::testing::Test {
 protected:
  VPLSceneCreationArea& Area() { return mWorld.Area(); }
  VPLCreation& Creation() { return mWorld.Creation(); }
  void AddLarge(int32_t vertices) {
    Creation().AddObjectAt(new VPLObjCreationUser(&Area(), MakeLargeModel(vertices), &Creation()),
                           kPlace);
  }
  // Adds objects of a large model until the record reaches the size.
  void GrowRecordTo(size_t bytes, int32_t vertices) {
    const size_t empty = RecordOf(Creation()).size();
    AddLarge(vertices);
    const size_t each = RecordOf(Creation()).size() - empty;
    for (size_t size = empty + each; size < bytes; size += each) AddLarge(vertices);
  }

  AreaWorld mWorld;
};

TEST_F(VPLSceneCreationAreaUndoTest, ACheckpointKeepsTheModifiedFlag) {
  for (bool modified : {false, true}) {
    Creation().SetModified(modified);
    Area().TakeSnapshot();
    EXPECT_EQ(Creation().IsModified(), modified);
    EXPECT_FALSE(Area().IsUntouched());
  }
}

TEST_F(VPLSceneCreationAreaUndoTest, UndoGivesBackTheCreationBeforeTheChangeOnceAndForAll) {
  VPLObjCreation* object = mWorld.AddQuad(kPlace);
  Area().TakeSnapshot();
  const std::vector<uint8_t> before = RecordOf(Creation());
  object->SetLocation(kElsewhere);
  mWorld.AddQuad(kElsewhere);
  for (int undo = 0; undo < 2; ++undo) {
    Area().Undo();
    EXPECT_EQ(RecordOf(Creation()), before) << undo;
    EXPECT_TRUE(Creation().IsModified()) << undo;
  }
  EXPECT_EQ(mWorld.Screen().mUndoRefreshes, 2);
}

TEST_F(VPLSceneCreationAreaUndoTest, TheGroupToolsCurrentGroupIsLitAgain) {
  const MakerInFactory group(kVPLToolGroup, MakeRecordingTool<kVPLToolGroup>);
  Area().SetTool(kVPLToolGroup);
  auto* quad = new VPLObjCreationUser(&Area(), app_fixtures::MakeQuad(), &Creation());
  VPLObjCreation* current = creation_support::GroupOf({quad}, &Creation());
  Creation().AddObjectAt(current, kPlace);
  Creation().SelectGroup(current);
  Area().TakeSnapshot();
  mWorld.AddQuad(kElsewhere);
  Area().Undo();
  // Read back anew (the new group may take the old one's memory).
  EXPECT_TRUE(Creation().GetUserObjects().empty());
  ASSERT_NE(Creation().GetCurrentGroup(), nullptr);
  EXPECT_TRUE(Creation().GetCurrentGroup()->IsHighlighted());
}

TEST_F(VPLSceneCreationAreaUndoTest, UndoRightAfterLoadingRestoresNothing) {
  mWorld.AddQuad(kPlace);
  Area().Deactivate();
  Area().Activate();
  ASSERT_EQ(Creation().GetUserObjects().size(), 1u);
  const std::vector<uint8_t> loaded = RecordOf(Creation());
  Area().Undo();
  EXPECT_EQ(RecordOf(Creation()), loaded);
  EXPECT_FALSE(Creation().IsModified());
  EXPECT_EQ(mWorld.Screen().mUndoRefreshes, 1);
}

TEST_F(VPLSceneCreationAreaUndoTest, ALargeRecordGrowsTheBlockStepByStep) {
  constexpr size_t kLargeRecord = 7500000;
  GrowRecordTo(kLargeRecord, 22800);
  const size_t size = RecordOf(Creation()).size();
  ASSERT_TRUE(size >= kLargeRecord && size < 8000000u) << size;
  Area().TakeSnapshot();
  EXPECT_EQ(Area().GetUndoBlockSize(), 8000000);
  EXPECT_TRUE(Area().HasSnapshot());
}

TEST_F(VPLSceneCreationAreaUndoTest, UndoAfterAFailedCheckpointKeepsTheCreation) {
  // A model whose record exceeds the creation's work buffer never writes.
  AddLarge(45000);
  Area().TakeSnapshot();
  ASSERT_FALSE(Area().HasSnapshot());
  EXPECT_GT(Area().GetUndoBlockSize(), VPLSceneCreationArea::kUndoBlockLimit);
  Area().Undo();
  EXPECT_EQ(Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(Creation().IsModified());
  EXPECT_EQ(mWorld.Screen().mUndoRefreshes, 1);
}

}  // namespace
