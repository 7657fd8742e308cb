// The freehand tool's stroke and release in the creation area.
#include "app/creation/VPLToolShapeFreehand.h"

#include "app/creation/RU3DPolyLineVisual.h"
#include "app/objects/VPLFirstBlock.h"
#include "mm/stage/MMEnclosure.h"
#include "tests/app/creation/DrawingToolSupport.h"
#include "tools/databuilder/check/SolidChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  // Draws the outline, given in the plane's own units (across, up), on
  // the plane that faces an eye at the heading (radians from behind the
  // origin round toward +x).
  void DrawFacing(float heading, const std::vector<std::pair<float, float>>& outline) {
    const MM3DVector toEye{std::sin(heading), 0.0f, -std::cos(heading), 0.0f};
    const MM3DVector across{std::cos(heading), 0.0f, std::sin(heading), 0.0f};
    mWorld.PlaceEye({10.0f * toEye.mX, 0.0f, 10.0f * toEye.mZ, 1.0f});
    const auto segment = [&](const std::pair<float, float>& p) {
      return Along({p.first * across.mX, p.second, p.first * across.mZ, 1.0f}, toEye);
    };
    mTool->Begin(segment(outline.front()), false);
    for (const auto& p : outline) mTool->Drag(segment(p), false);
    mTool->End(segment(outline.back()), false);
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
    // 25 cells a face; 16 walls of four corners; 64 surface triangles
    // and two a wall.
    EXPECT_EQ(block.GetVertexCount(), 50 + 4 * 16);
    EXPECT_EQ(block.mIndices.Count(), 3 * (64 + 2 * 16));
  }
}

// The corners' path in steps of a quarter unit, the last corner joined to
// the first.
std::vector<std::pair<float, float>> Traced(const std::vector<std::pair<float, float>>& corners) {
  std::vector<std::pair<float, float>> path;
  for (size_t c = 0; c < corners.size(); ++c) {
    const auto [x0, y0] = corners[c];
    const auto [x1, y1] = corners[(c + 1) % corners.size()];
    const int steps = std::max(1, static_cast<int>(std::hypot(x1 - x0, y1 - y0) * 4));
    for (int s = 0; s < steps; ++s) {
      const float t = static_cast<float>(s) / static_cast<float>(steps);
      path.emplace_back(x0 + t * (x1 - x0), y0 + t * (y1 - y0));
    }
  }
  return path;
}

std::vector<std::pair<float, float>> Circle(float radius) {
  std::vector<std::pair<float, float>> corners;
  constexpr int kSides = 48;
  for (int k = 0; k < kSides; ++k) {
    const float a = 2.0f * 3.14159265f * static_cast<float>(k) / kSides;
    corners.emplace_back(radius * std::cos(a), radius * std::sin(a));
  }
  return corners;
}

TEST_F(VPLToolShapeFreehandTest, EveryShapeInEitherStyleAtEveryHeadingIsAWholeSolid) {
  struct Outline {
    const char* mName;
    std::vector<std::pair<float, float>> mCorners;
  };
  const Outline outlines[] = {
      {"circle", Circle(4.0f)},
      {"triangle", {{0, 0}, {4, 0}, {1, 3}}},
      {"square turned back", {{0, 0}, {0, 3}, {3, 3}, {3, 0}}},
      {"notched", {{0, 0}, {5, 0}, {5, 4}, {3, 4}, {3, 1.5f}, {1.5f, 1.5f}, {1.5f, 4}, {0, 4}}},
      {"slanted", {{0, 0}, {3.3f, 0.9f}, {2.2f, 3.7f}, {-0.6f, 2.1f}}},
  };
  const float headings[] = {0.0f, 0.5f, 0.7853982f, 1.5707964f, 2.4f, 3.1415927f, 4.3f, 5.5f};
  for (const Outline& outline : outlines) {
    for (const uint32_t mode : {kFlatMode, VPLToolShapeFreehand::kRoundedMode}) {
      for (const float heading : headings) {
        SCOPED_TRACE(std::string(outline.mName) + (mode == kFlatMode ? " flat" : " rounded") +
                     " at heading " + std::to_string(heading));
        mWorld.Area().SetFreehandMode(mode);
        const size_t before = Objects();
        DrawFacing(heading, Traced(outline.mCorners));
        ASSERT_EQ(Objects(), before + 1);
        const content_check::SolidFaults faults = content_check::InspectSolid({&LastBlock()});
        EXPECT_EQ(faults.mOpenEdges, 0);
        EXPECT_EQ(faults.mInwardPieces, 0);
        EXPECT_EQ(faults.mAgainstNormals, 0);
      }
    }
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
