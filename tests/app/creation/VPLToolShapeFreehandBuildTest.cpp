// The freehand shape's construction from outlines drawn on the plane that
// faces a camera behind the origin (yaw 0: the plane is z = 0 and its
// cells are the world's half units).
#include "app/creation/VPLToolShapeFreehand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

const MM3DVector kBehindEye{0.0f, 5.0f, -10.0f, 1.0f};
const MM3DVector kOrigin{0.0f, 0.0f, 0.0f, 1.0f};
const MM3DVector kUp{0.0f, 0.0f, 1.0f, 0.0f};
constexpr float kNear = 1e-5f;

VPLDrawingPlane FacingPlane() {
  VPLDrawingPlane plane;
  EXPECT_TRUE(plane.Face(kBehindEye));
  return plane;
}

MM3DVector At(float x, float y) { return {x, y, 0.0f, 1.0f}; }

// The grid points of straight runs from corner to corner, each corner
// once, the last corner's run stopping one cell before the first: the way
// the tool leaves a closed stroke.
std::vector<MM3DVector> Outline(const std::vector<std::pair<float, float>>& corners) {
  std::vector<MM3DVector> points;
  for (size_t c = 0; c < corners.size(); ++c) {
    const auto [x0, y0] = corners[c];
    const auto [x1, y1] = corners[(c + 1) % corners.size()];
    const int steps =
        static_cast<int>(std::round(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)) * 2));
    for (int s = 0; s < steps; ++s) {
      const float t = static_cast<float>(s) / static_cast<float>(steps);
      points.push_back(At(x0 + t * (x1 - x0), y0 + t * (y1 - y0)));
    }
  }
  return points;
}

struct Fill {
  std::unique_ptr<VPLFreehandGrid> mGrid;
  float mDepth = -1.0f;
};

Fill FillOutline(const std::vector<MM3DVector>& points) {
  Fill fill;
  fill.mGrid = VPLToolShapeFreehand::BuildFillGrid(
      FacingPlane(), points.data(), static_cast<int16_t>(points.size()), fill.mDepth);
  return fill;
}

int32_t FilledCount(const VPLFreehandGrid& grid) {
  int32_t filled = 0;
  for (int32_t flag : grid.mFlag) filled += flag == VPLFreehandGrid::kFilled;
  return filled;
}

TEST(VPLToolShapeFreehandBuildTest, SnapRoundsToTheNearestHalfUnitHalvesAwayFromZero) {
  const std::pair<float, float> cases[] = {{0.24f, 0.0f}, {0.25f, 0.5f}, {-0.25f, -0.5f},
                                           {0.74f, 0.5f}, {0.75f, 1.0f}, {-1.1f, -1.0f}};
  for (const auto& [v, snapped] : cases) {
    EXPECT_EQ(VPLToolShapeFreehand::Snap(v, 0.5f), snapped) << v;
    EXPECT_EQ(VPLToolShapeFreehand::Snap(v, -0.5f), snapped) << v;
  }
}

TEST(VPLToolShapeFreehandBuildTest, AFourByTwoOutlineFillsEveryCellAndIsHalfAUnitDeep) {
  const Fill fill = FillOutline(Outline({{0, 0}, {4, 0}, {4, 2}, {0, 2}}));
  ASSERT_TRUE(fill.mGrid);
  EXPECT_EQ(fill.mGrid->mWidth, 9);
  EXPECT_EQ(fill.mGrid->mHeight, 5);
  EXPECT_FLOAT_EQ(fill.mDepth, 0.5f);
  EXPECT_EQ(FilledCount(*fill.mGrid), 45);
  const MM3DVector inside = fill.mGrid->GetPosition(2, 3);
  EXPECT_NEAR(inside.mX, 1.5f, kNear);
  EXPECT_NEAR(inside.mY, 1.0f, kNear);
  const MM3DVector corner = fill.mGrid->GetPosition(0, 8);
  EXPECT_NEAR(corner.mX, 4.0f, kNear);
  EXPECT_NEAR(corner.mY, 0.0f, kNear);
}

// Twice the signed area of (a, b, p): positive with p left of a to b.
float Side(const std::pair<float, float>& a, const std::pair<float, float>& b, float x, float y) {
  return (b.first - a.first) * (y - a.second) - (b.second - a.second) * (x - a.first);
}

TEST(VPLToolShapeFreehandBuildTest, ACellIsFilledExactlyWhenItsOwnPointLiesInsideTheOutline) {
  // Counter-clockwise convex outlines on the grid with edges every way:
  // along it, slanting up and slanting down.
  const std::vector<std::pair<float, float>> outlines[] = {
      {{0, 0}, {4, 0}, {0, 4}},
      {{2, 0}, {4, 2}, {2, 4}, {0, 2}},
      {{1, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 1}},
  };
  for (const auto& corners : outlines) {
    const Fill fill = FillOutline(Outline(corners));
    ASSERT_TRUE(fill.mGrid);
    for (int32_t i = 0; i < fill.mGrid->mHeight; ++i) {
      for (int32_t j = 0; j < fill.mGrid->mWidth; ++j) {
        const float x = 0.5f * static_cast<float>(j), y = 0.5f * static_cast<float>(i);
        float least = 1e9f;
        for (size_t c = 0; c < corners.size(); ++c) {
          least = std::min(least, Side(corners[c], corners[(c + 1) % corners.size()], x, y));
        }
        // Points on an edge are the outline's own cells.
        if (least == 0.0f) continue;
        EXPECT_EQ(fill.mGrid->GetFlag(i, j) == VPLFreehandGrid::kFilled, least > 0.0f)
            << "cell " << i << ", " << j << " of an outline of " << corners.size() << " corners";
      }
    }
  }
}

TEST(VPLToolShapeFreehandBuildTest, AFigureEightFillsBothLoopsAndNotTheGapBetween) {
  const Fill fill = FillOutline(Outline({{0, 0}, {4, 4}, {4, 0}, {0, 4}}));
  ASSERT_TRUE(fill.mGrid);
  EXPECT_EQ(fill.mGrid->GetFlag(4, 2), VPLFreehandGrid::kFilled);
  EXPECT_EQ(fill.mGrid->GetFlag(4, 6), VPLFreehandGrid::kFilled);
  EXPECT_EQ(fill.mGrid->GetFlag(1, 4), VPLFreehandGrid::kEmpty);
  EXPECT_EQ(fill.mGrid->GetFlag(7, 4), VPLFreehandGrid::kEmpty);
}

TEST(VPLToolShapeFreehandBuildTest, AThinStrokeFillsItsOwnCellsOnly) {
  const std::vector<MM3DVector> points = Outline({{0, 0}, {2, 0}, {2, 0.5f}, {0, 0.5f}});
  const Fill fill = FillOutline(points);
  ASSERT_TRUE(fill.mGrid);
  EXPECT_EQ(FilledCount(*fill.mGrid), static_cast<int32_t>(points.size()));
}

TEST(VPLToolShapeFreehandBuildTest, AnOutlineFillingTooManyCellsOrTooLargeToHoldMakesNoGrid) {
  EXPECT_FALSE(FillOutline(Outline({{0, 0}, {50, 0}, {50, 50}, {0, 50}})).mGrid);
  EXPECT_TRUE(FillOutline(Outline({{0, 0}, {40, 0}, {40, 40}, {0, 40}})).mGrid);
  EXPECT_FALSE(FillOutline({At(0, 0), At(1e6f, 0), At(1e6f, 1e6f), At(0, 1e6f)}).mGrid);
}

// Cells of a W x H block, all filled, at their places on the plane.
std::unique_ptr<VPLFreehandGrid> Block(int32_t width, int32_t height) {
  std::unique_ptr<VPLFreehandGrid> grid = VPLFreehandGrid::Create(width, height);
  for (int32_t i = 0; i < height; ++i) {
    for (int32_t j = 0; j < width; ++j) {
      grid->Set(i, j, At(0.5f * static_cast<float>(j), 0.5f * static_cast<float>(i)),
                VPLFreehandGrid::kFilled);
    }
  }
  return grid;
}

float Lift(const MM3DIndexedMeshVertexData& block, const VPLFreehandIndexGrid& index, int32_t row,
           int32_t column) {
  return block.mPositions[index.GetVertex(row, column)].mZ;
}

TEST(VPLToolShapeFreehandBuildTest, RoundedCellsRiseByTheirDepthInBothRunsWhileRunEndsStayFlat) {
  const std::unique_ptr<VPLFreehandGrid> grid = Block(5, 3);
  MM3DIndexedMeshVertexData block;
  const auto index = VPLToolShapeFreehand::RaiseSurface(*grid, kUp, kOrigin, block);
  ASSERT_TRUE(index);
  EXPECT_EQ(block.GetVertexCount(), 15);
  const float w1 = 1.0f - std::sin(3.14159265f / 4.0f);  // 0.2929
  const float w2 = 1.0f - std::sin(3.14159265f / 5.0f);  // 0.4122
  EXPECT_NEAR(Lift(block, *index, 1, 1), 2 * w1, kNear);
  EXPECT_NEAR(Lift(block, *index, 1, 2), w2 + w1, kNear);
  EXPECT_NEAR(Lift(block, *index, 1, 3), 2 * w1, kNear);
  for (const auto& [row, column] : {std::pair{0, 2}, {1, 0}, {2, 4}}) {
    EXPECT_EQ(Lift(block, *index, row, column), 0.0f);
  }
  const std::unique_ptr<VPLFreehandGrid> small = Block(2, 2);
  MM3DIndexedMeshVertexData flat;
  VPLToolShapeFreehand::RaiseSurface(*small, kUp, kOrigin, flat);
  for (const MM3DVector& p : flat.mPositions) EXPECT_EQ(p.mZ, 0.0f);
}

TEST(VPLToolShapeFreehandBuildTest, AFlatSurfaceLiesAtItsOffsetFromTheCells) {
  const std::unique_ptr<VPLFreehandGrid> grid = Block(2, 1);
  MM3DIndexedMeshVertexData block;
  const MM3DVector offset{1.0f, 0.0f, -0.5f, 0.0f};
  const auto index = VPLToolShapeFreehand::BuildFlatSurface(*grid, offset, block);
  ASSERT_TRUE(index);
  const MM3DVector& p = block.mPositions[index->GetVertex(0, 1)];
  EXPECT_FLOAT_EQ(p.mX, 1.5f);
  EXPECT_FLOAT_EQ(p.mZ, -0.5f);
  EXPECT_EQ(block.mNormals.Count(), 2);
  EXPECT_EQ(block.mColors.Count(), 2);
  EXPECT_EQ(block.mTextureCoordinates[0].Count(), 2);
}

struct SquareCase {
  int32_t mMask;
  std::vector<uint16_t> mFront;
  std::vector<uint16_t> mBack;
};

// The corners l (0, 0), a (0, 1), u (1, 0) and d (1, 1) are vertices 0, 1, 2
// and 3 wherever the mask has them.
TEST(VPLToolShapeFreehandBuildTest, TriangulationFollowsTheCornerTable) {
  const SquareCase cases[] = {
      {7, {1, 3, 2}, {2, 3, 1}},
      {11, {1, 3, 0}, {0, 3, 1}},
      {13, {3, 2, 0}, {0, 2, 3}},
      {14, {1, 2, 0}, {0, 2, 1}},
      {15, {3, 2, 0, 1, 3, 0}, {0, 2, 3, 0, 3, 1}},
      {6, {}, {}},
      {9, {}, {}},
  };
  const int32_t rows[4] = {0, 0, 1, 1};
  const int32_t columns[4] = {0, 1, 0, 1};
  const int32_t bits[4] = {8, 2, 4, 1};
  for (const SquareCase& square : cases) {
    for (int32_t face = 0; face < 2; ++face) {
      MM3DIndexedMeshVertexData block;
      const auto index = VPLFreehandIndexGrid::Create(2, 2);
      for (int32_t v = 0; v < 4; ++v) {
        const MM3DVector p = At(static_cast<float>(columns[v]), static_cast<float>(rows[v]));
        block.mPositions.Append(p);
        block.mNormals.Append(kUp);
        if ((square.mMask & bits[v]) != 0) index->SetVertex(rows[v], columns[v], v);
      }
      VPLToolShapeFreehand::Triangulate(*index, face, block);
      const std::vector<uint16_t> indices(block.mIndices.begin(), block.mIndices.end());
      EXPECT_EQ(indices, face == 0 ? square.mFront : square.mBack) << square.mMask;
    }
  }
}

TEST(VPLToolShapeFreehandBuildTest, ADegenerateTriangleIsLeftOut) {
  MM3DIndexedMeshVertexData block;
  for (const MM3DVector& p : {At(0, 0), At(1, 1), At(2, 2), At(1, 0)}) {
    block.mPositions.Append(p);
    block.mNormals.Append(kUp);
  }
  EXPECT_FALSE(VPLToolShapeFreehand::AddTriangle(block, 0, 1, 2));
  EXPECT_FALSE(VPLToolShapeFreehand::AddTriangle(block, 0, 1, 9));
  EXPECT_EQ(block.mIndices.Count(), 0);
  ASSERT_TRUE(VPLToolShapeFreehand::AddTriangle(block, 0, 1, 3));
  EXPECT_NEAR(std::fabs(block.mNormals[3].mZ), 1.0f, kNear);
  EXPECT_EQ(block.mNormals[3].mW, 0.0f);
}

// A flat slab of the outline: front and back surfaces, their triangles
// and the walls.
MM3DIndexedMeshVertexData FlatSlab(const Fill& fill) {
  MM3DIndexedMeshVertexData block;
  const MM3DVector v{0.0f, 0.0f, fill.mDepth, 0.0f};
  const auto front = VPLToolShapeFreehand::BuildFlatSurface(*fill.mGrid, v, block);
  const auto back =
      VPLToolShapeFreehand::BuildFlatSurface(*fill.mGrid, {0.0f, 0.0f, -fill.mDepth, 0.0f}, block);
  VPLToolShapeFreehand::Triangulate(*front, 0, block);
  VPLToolShapeFreehand::Triangulate(*back, 1, block);
  VPLToolShapeFreehand::BuildWalls(*front, *back, block);
  return block;
}

TEST(VPLToolShapeFreehandBuildTest, WallsRunAlongEveryRimEdgeOfTheFaces) {
  const std::vector<MM3DVector> points = Outline({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  ASSERT_EQ(points.size(), 16u);
  const Fill fill = FillOutline(points);
  ASSERT_TRUE(fill.mGrid);
  const MM3DIndexedMeshVertexData block = FlatSlab(fill);
  // 25 cells a face, 16 squares of two triangles; a wall of two triangles
  // on four copied corners at each of the 16 rim edges, the last point's
  // two included.
  constexpr int32_t kSurfaceTriangles = 2 * 16 * 2;
  constexpr int32_t kWalls = 16;
  EXPECT_EQ(block.GetVertexCount(), 2 * 25 + 4 * kWalls);
  EXPECT_EQ(block.mIndices.Count(), 3 * (kSurfaceTriangles + 2 * kWalls));
}

TEST(VPLToolShapeFreehandBuildTest, AWallAtACellWithoutAVertexIsSkipped) {
  const std::vector<MM3DVector> points = Outline({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  const Fill fill = FillOutline(points);
  ASSERT_TRUE(fill.mGrid);
  MM3DIndexedMeshVertexData block;
  const auto front = VPLToolShapeFreehand::BuildFlatSurface(*fill.mGrid, kUp, block);
  const auto empty = VPLFreehandIndexGrid::Create(front->mWidth, front->mHeight);
  const int32_t before = block.mIndices.Count();
  VPLToolShapeFreehand::BuildWalls(*front, *empty, block);
  EXPECT_EQ(block.mIndices.Count(), before);
  EXPECT_EQ(block.GetVertexCount(), front->mWidth * front->mHeight);
}

// Whatever the child draws, the grid is refused or the mesh is whole.
struct StrokeCase {
  const char* mName;
  std::vector<MM3DVector> mPoints;
};

class VPLToolShapeFreehandStrokeTest : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(VPLToolShapeFreehandStrokeTest, GivesNoGridOrAWholeMesh) {
  const std::vector<MM3DVector>& points = GetParam().mPoints;
  const Fill fill = FillOutline(points);
  if (!fill.mGrid) return;
  MM3DIndexedMeshVertexData rounded;
  const MM3DVector v{0.0f, 0.0f, fill.mDepth / 2, 0.0f};
  const auto front = VPLToolShapeFreehand::RaiseSurface(*fill.mGrid, v, points[0], rounded);
  ASSERT_TRUE(front);
  VPLToolShapeFreehand::Triangulate(*front, 0, rounded);
  MM3DIndexedMeshVertexData flat = FlatSlab(fill);
  for (const MM3DIndexedMeshVertexData* block : {&rounded, &flat}) {
    const int32_t count = block->GetVertexCount();
    EXPECT_EQ(block->mNormals.Count(), count);
    EXPECT_EQ(block->mTextureCoordinates[0].Count(), count);
    EXPECT_EQ(block->mIndices.Count() % 3, 0);
    for (const uint16_t i : block->mIndices) EXPECT_LT(i, count);
    for (const MM3DVector& n : block->mNormals) EXPECT_TRUE(std::isfinite(n.mX + n.mY + n.mZ));
  }
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Strokes, VPLToolShapeFreehandStrokeTest,
    ::testing::Values(StrokeCase{"OnePointFourTimes", {At(1, 1), At(1, 1), At(1, 1), At(1, 1)}},
                      StrokeCase{"OutAndBack", Outline({{0, 0}, {3, 0}})},
                      StrokeCase{"FigureEight", Outline({{0, 0}, {2, 2}, {2, 0}, {0, 2}})},
                      StrokeCase{"Crossing", Outline({{0, 0}, {3, 3}, {3, 0}, {1, 2}, {0, 3}})},
                      StrokeCase{"Huge", {At(0, 0), At(9e30f, 0), At(9e30f, 9e30f), At(0, 1)}},
                      StrokeCase{"NotANumber", {At(0, 0), At(kNaN, 0), At(1, 1), At(0, 1)}},
                      StrokeCase{"Square", Outline({{0, 0}, {5, 0}, {5, 5}, {0, 5}})}),
    [](const ::testing::TestParamInfo<StrokeCase>& info) { return info.param.mName; });

}  // namespace
