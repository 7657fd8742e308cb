// The change rule of every editing tool, through the stage's input: the
// creation is marked modified and the undo checkpoint holds it as it was
// just before the change.
#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace creation_support;

const MM3DVector kLeft(-3.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(3.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kLeftFace(-3.0f, 0.0f, -kBlockHalfSide, 1.0f);
const MM3DVector kRightFace(3.0f, 0.0f, -kBlockHalfSide, 1.0f);
const MM3DVector kAboveLeft(-3.0f, 2.0f, 0.0f, 1.0f);
// Near a corner of the left block's face: the magnet's reach takes it.
const MM3DVector kLeftCorner(-2.2f, 0.8f, -kBlockHalfSide, 1.0f);
const MM3DVector kEmpty(0.0f, 6.0f, 0.0f, 1.0f);
const MM3DVector kEmptyFurther(2.0f, 4.0f, 0.0f, 1.0f);

struct Case {
  int32_t mTool;
  // The pointer's way, pressed at the first point and released at the last.
  std::vector<MM3DVector> mWay;
};

TEST(VPLToolCheckpointTest, UndoGivesBackTheCreationAsItWasBeforeEachToolsChange) {
  const std::vector<Case> cases{
      {kVPLToolMove, {kLeft, kAboveLeft}},
      {kVPLToolRotate, {kLeft, kLeftFace, kAboveLeft, kRight}},
      {kVPLToolScale, {kLeft, kAboveLeft, kAboveLeft}},
      {kVPLToolDelete, {kLeft, kLeft}},
      {kVPLToolMirror, {kLeft, kLeft}},
      {kVPLToolFloodColor, {kLeft, kLeft}},
      {kVPLToolPath, {kLeft, kLeft}},
      {kVPLToolAlign, {kLeftFace, kRightFace}},
      {kVPLToolGroup, {kLeft, kLeft}},
      {kVPLToolMagnetPull, {kLeftCorner, kLeftCorner}},
      {kVPLToolMagnetPush, {kLeftCorner, kLeftCorner}},
      {kVPLToolShapePrimitive, {kEmpty, kEmptyFurther}},
  };
  for (const Case& c : cases) {
    ToolStage stage;
    ASSERT_TRUE(stage.Ready());
    stage.AddBlock(kLeft);
    stage.AddBlock(kRight);
    stage.Area().SetMagnetSize(0);
    stage.Area().SelectPath(0);
    stage.Area().SetTool(c.mTool);
    const std::vector<uint8_t> before = area_support::RecordOf(stage.Creation());
    stage.Creation().SetModified(false);

    stage.Stage().Press(stage.PixelOf(c.mWay.front()));
    for (size_t i = 1; i + 1 < c.mWay.size(); ++i) stage.Stage().Drag(stage.PixelOf(c.mWay[i]));
    stage.Stage().Release(stage.PixelOf(c.mWay.back()));
    EXPECT_TRUE(stage.Creation().IsModified()) << c.mTool;
    EXPECT_TRUE(area_support::RecordOf(stage.Creation()) != before) << c.mTool;

    stage.Area().Undo();
    EXPECT_TRUE(area_support::RecordOf(stage.Creation()) == before) << c.mTool;
  }
}

}  // namespace
