#include "app/creation/VPLToolShapePrimitive.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kStart(0.0f, 3.0f, 0.0f, 1.0f);
// Three units down: a third of that is the size.
const MM3DVector kDown(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kDeeper(0.0f, -3.0f, 0.0f, 1.0f);
// Three down and three aside: with Shift every extent is 1.
const MM3DVector kDownAside(3.0f, 0.0f, 0.0f, 1.0f);
constexpr float kPixelTolerance = 0.05f;

class VPLToolShapePrimitiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mStage.Area().SetSelectedModel(0);
    mTool = mStage.Make(kVPLToolShapePrimitive);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
    mStage.Creation().SetModified(false);
  }
  VPLToolShapePrimitive& Tool() { return static_cast<VPLToolShapePrimitive&>(*mTool); }
  size_t Count() { return mStage.Creation().GetUserObjects().size(); }
  static MM3DVector Scale(const VPLObj& object) {
    const MM3DMatrix m = object.GetScaleMatrix();
    return MM3DVector(m.mElement[0][0], m.mElement[1][1], m.mElement[2][2], 0.0f);
  }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
};

TEST_F(VPLToolShapePrimitiveTest, ADragDrawsOutTheChosenModelAndTheReleasePlacesIt) {
  mStage.Send(*mTool, kStart, kVPLPress | kVPLHeld);
  ASSERT_NE(Tool().GetNewObject(), nullptr);
  EXPECT_EQ(Tool().GetNewObject()->GetVisibility(), kMMHidden);
  mStage.Send(*mTool, kDown, kVPLHeld);
  EXPECT_EQ(Tool().GetNewObject()->GetVisibility(), kMMShown);
  EXPECT_NEAR(Scale(*Tool().GetNewObject()).mX, 1.0f, kPixelTolerance);
  // The checkpoint comes only with the placing.
  EXPECT_TRUE(mStage.Area().IsUntouched());
  mStage.Send(*mTool, kDown, kVPLRelease);
  ASSERT_EQ(Count(), 1u);
  EXPECT_EQ(Tool().GetNewObject(), nullptr);
  EXPECT_EQ(Tool().GetPhase(), VPLToolShapePrimitive::kIdle);
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

TEST_F(VPLToolShapePrimitiveTest, AClickDiscardsTheObjectWithTheReleaseSound) {
  mStage.Drag(*mTool, {kStart, kStart});
  EXPECT_EQ(Count(), 0u);
  EXPECT_EQ(Tool().GetNewObject(), nullptr);
  EXPECT_FALSE(mTool->IsEngaged());
  EXPECT_FALSE(mStage.Creation().IsModified());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 1);
}

TEST_F(VPLToolShapePrimitiveTest, AShiftReleaseLetsThePointerShapeOnlyTheDepthUntilThePress) {
  mStage.Send(*mTool, kStart, kVPLPress | kVPLHeld | kVPLAlternate);
  mStage.Send(*mTool, kDownAside, kVPLHeld | kVPLAlternate);
  mStage.Send(*mTool, kDownAside, kVPLRelease | kVPLAlternate);
  EXPECT_EQ(Tool().GetPhase(), VPLToolShapePrimitive::kShapingDepth);
  EXPECT_TRUE(mTool->IsEngaged());
  const MM3DVector sized = Scale(*Tool().GetNewObject());
  EXPECT_NEAR(sized.mZ, 1.0f, kPixelTolerance);
  mStage.Send(*mTool, kDeeper, 0);
  const MM3DVector shaped = Scale(*Tool().GetNewObject());
  EXPECT_EQ(shaped.mX, sized.mX);
  EXPECT_EQ(shaped.mY, sized.mY);
  EXPECT_NEAR(shaped.mZ, sized.mZ + 3.0f, kPixelTolerance);
  EXPECT_EQ(Count(), 0u);
  mStage.Send(*mTool, kDeeper, kVPLPress | kVPLHeld);
  EXPECT_EQ(Count(), 1u);
  EXPECT_FALSE(mTool->IsEngaged());
}

// A row outside the list or a model that does not load would make an
// object of no model: the press makes nothing.
TEST_F(VPLToolShapePrimitiveTest, APressWithoutALoadableModelMakesNothing) {
  struct Case {
    MMResourceId mList;
    int16_t mRow;
  };
  for (const Case& c :
       {Case{VPLSceneCreationArea::kModelLibrary, -1}, Case{VPLSceneCreationArea::kModelLibrary, 2},
        Case{kMissingModelLibrary, 0}}) {
    mStage.Area().SetLibraryList(c.mList);
    mStage.Area().SetSelectedModel(c.mRow);
    EXPECT_FALSE(mStage.Send(*mTool, kStart, kVPLPress | kVPLHeld)) << c.mRow;
    mStage.Send(*mTool, kDown, kVPLRelease);
    EXPECT_EQ(Count(), 0u) << c.mRow;
    EXPECT_EQ(mSound->mCounts[RecordingSound::kPress], 0) << c.mRow;
  }
}

// The tool may be replaced in the middle of a drag: the object it was
// making goes with it instead of staying in the scene, unplaced.
TEST_F(VPLToolShapePrimitiveTest, ReplacedMidDragTheUnplacedObjectGoesWithTheTool) {
  mStage.Area().SetTool(kVPLToolShapePrimitive);
  mStage.Stage().Press(mStage.PixelOf(kStart));
  mStage.Stage().Drag(mStage.PixelOf(kDown));
  auto* current = static_cast<VPLToolShapePrimitive*>(mStage.Area().GetCurrentTool());
  ASSERT_NE(current->GetNewObject(), nullptr);
  mStage.Area().SetTool(kVPLToolMove);
  mStage.Stage().Release(mStage.PixelOf(kDown));
  mStage.Stage().RunFrame();
  EXPECT_EQ(Count(), 0u);
}

}  // namespace
