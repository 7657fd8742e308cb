// The freehand tool's stroke and release in the creation area.
#include "app/creation/VPLToolShapeFreehand.h"

#include "app/creation/RU3DPolyLineVisual.h"
#include "app/objects/VPLFirstBlock.h"
#include "mm/stage/MMEnclosure.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tool_support;

constexpr uint32_t kFlatMode = 0;
constexpr float kNear = 1e-5f;
const std::vector<std::string> kNoSound;

class VPLToolShapeFreehandTest : public ::testing::Test {
 protected:
  VPLToolShapeFreehandTest()
      : mTool(std::make_unique<VPLToolShapeFreehand>(mWorld.Area().GetView(), &mWorld.Creation(),
                                                     &mWorld.Area(), 495)),
        mSound(mWorld.RecordSounds(*mTool)) {}

  // Presses at the first point, drags through the others and releases at
  // the last.
  void Draw(const std::vector<std::pair<float, float>>& path) {
    mTool->Begin(Through(path.front().first, path.front().second), false);
    for (const auto& [x, y] : path) mTool->Drag(Through(x, y), false);
    mTool->End(Through(path.back().first, path.back().second), false);
  }
  int16_t StrokeCount() const { return mTool->GetStroke() ? mTool->GetStroke()->GetCount() : 0; }
  size_t Objects() { return mWorld.Creation().GetUserObjects().size(); }
  MM3DIndexedMeshVertexData& LastBlock() {
    return *VPLFirstBlock(*mWorld.Creation().GetUserObjects().back()).Block();
  }

  ToolWorld mWorld;
  std::unique_ptr<VPLToolShapeFreehand> mTool;
  RecordingSound& mSound;
};

struct EyeCase {
  MM3DVector mEye;
  // The axis (0 x, 2 z) along which every point of the plane lies at 0.
  int mFlatAxis;
};

TEST_F(VPLToolShapeFreehandTest, ThePlaneFacesTheEyeAndItsCellsAreHalfUnits) {
  const EyeCase cases[] = {{{0.0f, 3.0f, -10.0f, 1.0f}, 2},
                           {{0.0f, 3.0f, 10.0f, 1.0f}, 2},
                           {{10.0f, 3.0f, 0.0f, 1.0f}, 0},
                           {{-10.0f, 3.0f, 0.0f, 1.0f}, 0}};
  for (const EyeCase& eye : cases) {
    mWorld.PlaceEye(eye.mEye);
    MM3DVector toward = eye.mEye;
    toward.mY = 0.0f;
    toward.mW = 0.0f;
    mTool->Begin(Along({1.3f, 0.8f, 1.3f, 1.0f}, toward), false);
    const MM3DVector& start = mTool->GetStartPoint();
    EXPECT_EQ(start.GetComponent(eye.mFlatAxis), 0.0f);
    EXPECT_FLOAT_EQ(std::fabs(mTool->GetCellSize().mX), 0.5f);
    EXPECT_FLOAT_EQ(std::fabs(mTool->GetCellSize().mZ), 0.5f);
    EXPECT_EQ(start.mY, 1.0f);
    EXPECT_EQ(std::fabs(start.GetComponent(2 - eye.mFlatAxis)), 1.5f);
  }
}

TEST_F(VPLToolShapeFreehandTest, AFastMoveAddsEveryCellBetween) {
  mTool->Begin(Through(0, 0), false);
  mTool->Drag(Through(2.1f, 0), false);
  ASSERT_EQ(StrokeCount(), 5);
  std::vector<MM3DVector> points(5);
  mTool->GetStroke()->GetPoints(points.data(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_FLOAT_EQ(points[static_cast<size_t>(i)].mX, 0.5f * static_cast<float>(i));
  EXPECT_EQ(mSound.mLog, (std::vector<std::string>{"press", "drag", "drag", "drag"}));
}

TEST_F(VPLToolShapeFreehandTest, ReleasingAwayFromTheStartFillsTheClosingSide) {
  mWorld.Area().SetFreehandMode(kFlatMode);
  // Both close the same 16-point square: one drawn to a cell from the
  // start, one released at its last corner.
  Draw({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0.5f}});
  Draw({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  ASSERT_EQ(Objects(), 2u);
  for (const VPLObjCreation* object : mWorld.Creation().GetUserObjects()) {
    const MM3DIndexedMeshVertexData& block = *VPLFirstBlock(*object).Block();
    // 25 cells a face; 15 walls of eight corners; 64 surface triangles
    // and four a wall.
    EXPECT_EQ(block.GetVertexCount(), 50 + 8 * 15);
    EXPECT_EQ(block.mIndices.Count(), 3 * (64 + 4 * 15));
  }
}

TEST_F(VPLToolShapeFreehandTest, SmallStrokesBuildNothing) {
  struct Case {
    std::vector<std::pair<float, float>> mPath;
    std::vector<std::string> mSounds;
  };
  const Case cases[] = {
      // No half-unit step: no stroke, no sound.
      {{{0, 0}, {0.2f, 0.1f}}, kNoSound},
      // Three points: the release still sounds.
      {{{0, 0}, {0.5f, 0}, {0.5f, 0.5f}}, {"press", "drag", "stop", "release"}},
  };
  for (const Case& c : cases) {
    mSound.mLog.clear();
    Draw(c.mPath);
    EXPECT_EQ(Objects(), 0u);
    EXPECT_EQ(mSound.mLog, c.mSounds);
    EXPECT_EQ(mTool->GetStroke(), nullptr);
  }
}

TEST_F(VPLToolShapeFreehandTest, AnOutlineTooLargeToFillBuildsNothingButStillSounds) {
  Draw({{0, 0}, {50, 0}, {50, 50}, {0, 50}});
  EXPECT_EQ(Objects(), 0u);
  EXPECT_EQ(mTool->GetStroke(), nullptr);
  EXPECT_EQ(mSound.mLog.back(), "release");
}

TEST_F(VPLToolShapeFreehandTest, AFullStrokeRefusesMoreAndStopsItsLoop) {
  mTool->Begin(Through(0, 0), false);
  mTool->Drag(Through(600, 0), false);
  EXPECT_EQ(StrokeCount(), RU3DPolyLineVisual::kMaxPoints);
  mSound.mLog.clear();
  mTool->Drag(Through(600.5f, 0), false);
  EXPECT_EQ(StrokeCount(), RU3DPolyLineVisual::kMaxPoints);
  EXPECT_EQ(mSound.mLog, std::vector<std::string>{"stop"});
}

TEST_F(VPLToolShapeFreehandTest, TheStyleSetsTheThicknessAndTheReleaseSound) {
  const std::vector<std::pair<float, float>> rectangle{{0, 0}, {4, 0}, {4, 2}, {0, 2}};
  Draw(rectangle);
  EXPECT_FLOAT_EQ(mTool->GetShapeDepth(), 0.25f);
  EXPECT_EQ(mSound.mLog.back(), "release");
  mWorld.Area().SetFreehandMode(kFlatMode);
  Draw(rectangle);
  EXPECT_FLOAT_EQ(mTool->GetShapeDepth(), 0.5f);
  EXPECT_EQ(mSound.mLog.back(), "release alternate");
  for (int32_t v = 0; v < 2 * 45; ++v) {
    EXPECT_NEAR(std::fabs(LastBlock().mPositions[v].mZ), 0.5f, kNear);
  }
}

TEST_F(VPLToolShapeFreehandTest, ANewShapeIsOneUndoStep) {
  Draw({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  ASSERT_EQ(Objects(), 1u);
  EXPECT_EQ(mWorld.Creation().GetUserObjects()[0]->GetWorldPosition().mX, 0.0f);
  mWorld.Area().Undo();
  EXPECT_EQ(Objects(), 0u);
}

TEST_F(VPLToolShapeFreehandTest, AToolLeavingMidStrokeTakesItsRibbon) {
  MMEnclosure& enclosure = *mWorld.Area().GetEnclosure();
  const int32_t before = enclosure.GetVisuals().Count();
  mTool->Begin(Through(0, 0), false);
  mTool->Drag(Through(1, 1), false);
  EXPECT_EQ(enclosure.GetVisuals().Count(), before + 1);
  mTool.reset();
  EXPECT_EQ(enclosure.GetVisuals().Count(), before);
}

TEST_F(VPLToolShapeFreehandTest, AnEyeAboveTheOriginEngagesNothing) {
  mWorld.PlaceEye({0.0f, 10.0f, 0.0f, 1.0f});
  EXPECT_FALSE(mTool->OnMouse(VPLPickEvent(0, 10, 10, kVPLPress)));
  EXPECT_FALSE(mTool->IsEngaged());
}

}  // namespace
