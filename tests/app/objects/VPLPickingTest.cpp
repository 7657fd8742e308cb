#include "app/objects/VPLPicking.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

MM3DVector P(float x, float y, float z) { return MM3DVector(x, y, z, 1.0f); }

// The triangle in the plane z = 1 with corners (0, 0), (2, 0), (0, 2).
const MM3DVector kT0 = P(0, 0, 1);
const MM3DVector kT1 = P(2, 0, 1);
const MM3DVector kT2 = P(0, 2, 1);

bool Crosses(const MM3DVector& start, const MM3DVector& end, MM3DVector* out = nullptr) {
  MM3DVector hit(0, 0, 0, 0);
  const bool crosses = VPLIntersectSegmentTriangle(start, end, kT0, kT1, kT2, hit);
  if (out != nullptr) *out = hit;
  return crosses;
}

TEST(VPLPickingTest, ASegmentCrossesATriangleInsideOnAnEdgeAndAtItsEnd) {
  struct Case {
    const char* what;
    MM3DVector start;
    MM3DVector end;
    bool crosses;
  };
  const Case cases[] = {
      {"inside", P(0.5f, 0.5f, 0), P(0.5f, 0.5f, 2), true},
      {"outside", P(1.5f, 1.5f, 0), P(1.5f, 1.5f, 2), false},
      {"on an edge", P(1, 0, 0), P(1, 0, 2), true},
      {"ending on the plane (t = 1)", P(0.5f, 0.5f, 0), P(0.5f, 0.5f, 1), true},
      {"ending before the plane", P(0.5f, 0.5f, 0), P(0.5f, 0.5f, 0.5f), false},
      {"parallel", P(0, 0, 0), P(1, 1, 0), false},
  };
  for (const Case& c : cases) EXPECT_EQ(Crosses(c.start, c.end), c.crosses) << c.what;
}

TEST(VPLPickingTest, ASegmentThroughACornerCrossesTheTriangle) {
  MM3DVector hit(0, 0, 0, 0);
  for (const MM3DVector& corner : {kT0, kT1, kT2}) {
    EXPECT_TRUE(Crosses(P(corner.mX, corner.mY, 0), P(corner.mX, corner.mY, 2), &hit));
    EXPECT_TRUE(hit.Equals(corner));
  }
}

TEST(VPLPickingTest, ATriangleWithTwoEqualCornersIsNeverCrossed) {
  MM3DVector hit(0, 0, 0, 0);
  EXPECT_FALSE(VPLIntersectSegmentTriangle(P(0, 0, 0), P(0, 0, 2), kT0, kT0, kT2, hit));
}

TEST(VPLPickingTest, APlaneIsMetWithinTheSegmentButNotAlongIt) {
  MM3DVector hit(0, 0, 0, 0);
  const VPLSegment toPlane{P(5, 5, 0), P(5, 5, 1)};
  ASSERT_TRUE(VPLIntersectSegmentPlane(toPlane, kT0, kT1, kT2, hit));
  EXPECT_TRUE(hit.Equals(P(5, 5, 1)));
  const VPLSegment inPlane{P(0, 0, 1), P(3, 3, 1)};
  EXPECT_FALSE(VPLIntersectSegmentPlane(inPlane, kT0, kT1, kT2, hit));
  EXPECT_FALSE(VPLIntersectSegmentPlane(toPlane, kT0, P(1, 0, 1), kT1, hit));  // one line
}

TEST(VPLPickingTest, LineHelpersMeasureAndStepAlongTheLine) {
  EXPECT_FLOAT_EQ(VPLSegmentLength(VPLSegment{P(1, 1, 1), P(4, 5, 1)}), 5.0f);
  const MM3DVector stepped = VPLPointToLineVector(VPLSegment{P(1, 0, 0), P(0, 0, 4)}, 2.0f);
  EXPECT_TRUE(stepped.Equals(P(1, 0, 2)));
}

TEST(VPLPickingTest, ADuplicatedVertexCopiesEveryArrayOfIt) {
  MM3DIndexedMeshVertexData block;
  block.mPositions.Append(P(1, 2, 3));
  block.mNormals.Append(MM3DVector(0, 1, 0, 0));
  block.mColors.Append(MM3DPackedColor{1, 2, 3, 4});
  block.mTextureCoordinates[1].Append(MM3DTextureCoordinate{0.25f, 0.5f});
  int32_t copy = -1;
  ASSERT_TRUE(VPLDuplicateVertex(0, block, copy, 1));
  EXPECT_EQ(copy, 1);
  EXPECT_TRUE(block.mPositions[1].Equals(P(1, 2, 3)));
  EXPECT_EQ(block.mNormals.Count(), 2);
  EXPECT_EQ(block.mColors[1].mA, 4);
  EXPECT_FLOAT_EQ(block.mTextureCoordinates[1][1].mV, 0.5f);
  EXPECT_EQ(block.mTextureCoordinates[0].Count(), 0);
  EXPECT_FALSE(VPLDuplicateVertex(5, block, copy, 0));
}

}  // namespace
