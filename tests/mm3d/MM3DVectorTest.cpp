#include "mm3d/MM3DVector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MM3DVectorTest, ArithmeticKeepsOrClearsW) {
  const MM3DVector a(1, 2, 3, 1);
  const MM3DVector b(4, 5, 6, 0);
  EXPECT_TRUE(a.Sum(b).Equals(MM3DVector(5, 7, 9, 1)));
  EXPECT_TRUE(b.Difference(a).Equals(MM3DVector(3, 3, 3, 0)));
  EXPECT_TRUE(b.Direction(a).Equals(MM3DVector(3, 3, 3, 0)));
  EXPECT_TRUE(a.Direction(b).Equals(MM3DVector(-3, -3, -3, 0)));
  MM3DVector scaled = a;
  scaled.Scale(2);
  EXPECT_TRUE(scaled.Equals(MM3DVector(2, 4, 6, 1)));
  scaled.Divide(4);
  EXPECT_TRUE(scaled.Equals(MM3DVector(0.5f, 1, 1.5f, 1)));
  MM3DVector direction;
  direction.MakeDirection(a);
  EXPECT_TRUE(direction.Equals(MM3DVector(1, 2, 3, 0)));
  EXPECT_EQ(a.LengthSquared(), 14.0f);
}

TEST(MM3DVectorTest, CrossIsRightHandedAndKeepsW) {
  const MM3DVector x(1, 0, 0, 1);
  const MM3DVector y(0, 1, 0, 0);
  EXPECT_TRUE(x.Cross(y).Equals(MM3DVector(0, 0, 1, 1)));
  EXPECT_TRUE(y.Cross(x).Equals(MM3DVector(0, 0, -1, 0)));
}

TEST(MM3DVectorTest, ComponentIndexesOutsideTheRangeMeanX) {
  MM3DVector v(1, 2, 3, 4);
  EXPECT_EQ(v.GetComponent(7), 1.0f);
  EXPECT_EQ(v.GetComponent(-1), 1.0f);
  EXPECT_EQ(v.GetComponent(3), 4.0f);
  v.SetComponent(9, 10);
  v.SetComponent(2, 30);
  EXPECT_TRUE(v.Equals(MM3DVector(10, 2, 30, 4)));
}

TEST(MM3DVectorTest, NormalizeMakesUnitVectorsAndKeepsW) {
  MM3DVector vectors[2] = {{3, 4, 0, 1}, {0, 0, -0.01f, 0}};
  MM3DNormalizeVectors(vectors, vectors + 2);
  EXPECT_NEAR(vectors[0].mX, 0.6f, 0.0005f);
  EXPECT_NEAR(vectors[0].mY, 0.8f, 0.0005f);
  EXPECT_EQ(vectors[0].mW, 1.0f);
  EXPECT_NEAR(vectors[1].mZ, -1.0f, 0.001f);
  EXPECT_EQ(vectors[1].mW, 0.0f);
}

}  // namespace
