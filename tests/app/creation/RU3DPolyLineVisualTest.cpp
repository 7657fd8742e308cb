#include "app/creation/RU3DPolyLineVisual.h"

#include "foundation/uu/UURefCount.h"
#include "mm/stage/MMDrawContext.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DRenderer.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

const MM3DColor kRed{1.0f, 0.0f, 0.0f, 0.0f};
constexpr float kWidth = 0.2f;
constexpr float kHalf = 0.1f;

MM3DVector Point(float x, float y, float z = 0.0f) { return {x, y, z, 1.0f}; }

// Keeps the corners of every triangle submitted, with their colours.
class CornerRenderer : public MM3DRenderer {
 public:
  std::vector<MM3DVector> mCorners;
  std::vector<MM3DPackedColor> mColors;

 protected:
  void RegisterState() override {}
  void DrawSorted() override {}
  void Flush() override {}
  void SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) override {
    for (int32_t i = 3 * first; i < 3 * (first + count); ++i) {
      mCorners.push_back(arrays.mPositions[arrays.mIndices[i]]);
      mColors.push_back(arrays.mColors[arrays.mIndices[i]]);
    }
  }
};

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected) {
  EXPECT_NEAR(actual.mX, expected.mX, 1e-6f);
  EXPECT_NEAR(actual.mY, expected.mY, 1e-6f);
  EXPECT_NEAR(actual.mZ, expected.mZ, 1e-6f);
}

TEST(RU3DPolyLineVisualTest, TwoPointsLieAcrossTheirSegment) {
  const RU3DPolyLineVisual line(Point(0, 0), Point(1, 0), kRed, kWidth, 0);
  EXPECT_EQ(line.GetCount(), 2);
  for (int16_t i = 0; i < 2; ++i) {
    ExpectNear(line.GetLeftEdge(i), Point(i, kHalf));
    ExpectNear(line.GetRightEdge(i), Point(i, -kHalf));
  }
}

TEST(RU3DPolyLineVisualTest, ANewPointTakesTheOffsetsOfItsOwnSegmentOnly) {
  RU3DPolyLineVisual line(Point(0, 0), Point(1, 0), kRed, kWidth, 0);
  ASSERT_TRUE(line.AddPoint(Point(1, 1)));
  ExpectNear(line.GetLeftEdge(1), Point(1, kHalf));
  ExpectNear(line.GetLeftEdge(2), Point(1 - kHalf, 1));
  ExpectNear(line.GetRightEdge(2), Point(1 + kHalf, 1));
}

TEST(RU3DPolyLineVisualTest, EqualPointsGiveNoOffsetInsteadOfNotANumber) {
  const RU3DPolyLineVisual line(Point(2, 3), Point(2, 3), kRed, kWidth, 0);
  ExpectNear(line.GetLeftEdge(0), Point(2, 3));
  ExpectNear(line.GetRightEdge(1), Point(2, 3));
}

TEST(RU3DPolyLineVisualTest, RefusesARepeatedPointAndTheOneAfterTheLast) {
  RU3DPolyLineVisual line(Point(0, 0), Point(1, 0), kRed, kWidth, 0);
  EXPECT_FALSE(line.AddPoint(Point(1, 0)));
  EXPECT_EQ(line.GetCount(), 2);
  for (int16_t i = 2; i < RU3DPolyLineVisual::kMaxPoints; ++i) {
    ASSERT_TRUE(line.AddPoint(Point(i, 0)));
  }
  EXPECT_FALSE(line.AddPoint(Point(-1, -1)));
  EXPECT_EQ(line.GetCount(), RU3DPolyLineVisual::kMaxPoints);
}

TEST(RU3DPolyLineVisualTest, GetPointsCopiesNoMoreThanAsked) {
  RU3DPolyLineVisual line(Point(0, 0), Point(1, 0), kRed, kWidth, 0);
  line.AddPoint(Point(2, 0));
  std::vector<MM3DVector> out(3, Point(9, 9));
  EXPECT_EQ(line.GetPoints(out.data(), 2), 2);
  ExpectNear(out[1], Point(1, 0));
  ExpectNear(out[2], Point(9, 9));
  EXPECT_EQ(line.GetPoints(out.data(), 0), 0);
  EXPECT_EQ(line.GetPoints(out.data(), 5), 3);
}

TEST(RU3DPolyLineVisualTest, TwoPointsDrawOneUnculledPureRedQuad) {
  RU3DPolyLineVisual line(Point(0, 0), Point(1, 0), kRed, kWidth, 0);
  auto* renderer = new CornerRenderer;
  MMDrawContext context;
  context.mRenderer = UURefCount<MM3DRenderer>(renderer);
  context.mPipeline = UURefCount<MM3DPipeline>(new NullPipeline);
  renderer->SetCullMode(kMM3DCullClockwise);
  line.Draw(context);
  EXPECT_EQ(renderer->GetCullMode(), kMM3DCullNone);
  ASSERT_EQ(renderer->mCorners.size(), 6u);
  const MM3DVector quad[6] = {line.GetLeftEdge(0),  line.GetRightEdge(0), line.GetRightEdge(1),
                              line.GetRightEdge(1), line.GetLeftEdge(1),  line.GetLeftEdge(0)};
  for (size_t i = 0; i < 6; ++i) {
    ExpectNear(renderer->mCorners[i], quad[i]);
    EXPECT_EQ(renderer->mCorners[i].mW, 1.0f);
    const MM3DPackedColor& color = renderer->mColors[i];
    EXPECT_EQ(color.mR, 255);
    EXPECT_EQ(color.mG, 0);
    EXPECT_EQ(color.mB, 0);
    EXPECT_EQ(color.mA, 0);
  }
  const MM3DRenderStage& stage = renderer->GetTextureStages().mStages[0];
  EXPECT_EQ(stage.mOpaque, kMM3DBlendingOff);
  EXPECT_EQ(stage.mBlendFactors, MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendZero));
}

}  // namespace
