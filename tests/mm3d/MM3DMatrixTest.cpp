#include "mm3d/MM3DMatrix.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kQuarterTurn = 1.5707964f;
constexpr float kTolerance = 1e-6f;
constexpr float kFixedTurn = 6.2831855f / 4096.0f;

void ExpectVectorNear(const MM3DVector& actual, const MM3DVector& expected,
                      float tolerance = kTolerance) {
  EXPECT_NEAR(actual.mX, expected.mX, tolerance);
  EXPECT_NEAR(actual.mY, expected.mY, tolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, tolerance);
  EXPECT_NEAR(actual.mW, expected.mW, tolerance);
}

void ExpectMatrixNear(const MM3DMatrix& actual, const MM3DMatrix& expected,
                      float tolerance = kTolerance) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(actual.mElement[r][c], expected.mElement[r][c], tolerance) << r << "," << c;
    }
  }
}

MM3DVector Transformed(const MM3DMatrix& m, const MM3DVector& v) {
  MM3DVector out;
  m.TransformPoint(out, v);
  return out;
}

TEST(MM3DMatrixTest, RotationsAreRightHandedForRowVectors) {
  const MM3DVector x(1, 0, 0, 1);
  const MM3DVector y(0, 1, 0, 1);
  const MM3DVector z(0, 0, 1, 1);
  MM3DMatrix m;
  MM3DMatrixRotationZ(m, kQuarterTurn);
  ExpectVectorNear(Transformed(m, x), y);
  MM3DMatrixRotationX(m, kQuarterTurn);
  ExpectVectorNear(Transformed(m, y), z);
  MM3DMatrixRotationY(m, kQuarterTurn);
  ExpectVectorNear(Transformed(m, z), x);
}

TEST(MM3DMatrixTest, RotationXYZAppliesXThenYThenZ) {
  MM3DMatrix xyz;
  MM3DMatrix x;
  MM3DMatrixRotationXYZ(xyz, 0.3f, 0.0f, 0.0f);
  MM3DMatrixRotationX(x, 0.3f);
  EXPECT_EQ(xyz, x);

  MM3DMatrixRotationXYZ(xyz, kQuarterTurn, kQuarterTurn, 0.0f);
  // X takes y to z, then Y takes z to x.
  ExpectVectorNear(Transformed(xyz, MM3DVector(0, 1, 0, 0)), MM3DVector(1, 0, 0, 0));
}

TEST(MM3DMatrixTest, RotationAxisMatchesTheAxisRotations) {
  MM3DMatrix axis;
  MM3DMatrix z;
  MM3DMatrixRotationAxis(axis, MM3DVector(0, 0, 1, 0), 0.7f);
  MM3DMatrixRotationZ(z, 0.7f);
  ExpectMatrixNear(axis, z);
  MM3DMatrix y;
  MM3DMatrixRotationAxis(axis, MM3DVector(0, 1, 0, 0), -1.1f);
  MM3DMatrixRotationY(y, -1.1f);
  ExpectMatrixNear(axis, y);
}

TEST(MM3DMatrixTest, FixedAndIntegerBuildersMatchTheFloatForms) {
  MM3DMatrix fixed;
  MM3DMatrix real;
  MM3DMatrixRotationXYZFixed(fixed, 1024, -512, 100);
  MM3DMatrixRotationXYZ(real, 1024 * kFixedTurn, -512 * kFixedTurn, 100 * kFixedTurn);
  ExpectMatrixNear(fixed, real);
  MM3DMatrixScaleFixed(fixed, 8192, 2048, -4096);
  MM3DMatrixScale(real, 2.0f, 0.5f, -1.0f);
  EXPECT_EQ(fixed, real);
  MM3DMatrixScaleInteger(fixed, 3, -2, 7);
  MM3DMatrixScale(real, 3.0f, -2.0f, 7.0f);
  EXPECT_EQ(fixed, real);
}

TEST(MM3DMatrixTest, TranslationMovesPointsAndNotDirections) {
  MM3DMatrix m;
  MM3DMatrixTranslation(m, 1, 2, 3);
  EXPECT_TRUE(Transformed(m, MM3DVector(0, 0, 0, 1)).Equals(MM3DVector(1, 2, 3, 1)));
  MM3DVector direction;
  m.TransformDirection(direction, MM3DVector(1, 0, 0, 0));
  EXPECT_TRUE(direction.Equals(MM3DVector(1, 0, 0, 0)));
}

TEST(MM3DMatrixTest, AProductAppliesTheLeftMatrixFirst) {
  MM3DMatrix scale;
  MM3DMatrix translation;
  MM3DMatrix product;
  MM3DMatrixScale(scale, 2, 2, 2);
  MM3DMatrixTranslation(translation, 1, 0, 0);
  MM3DMatrixMultiply(product, scale, translation);
  EXPECT_TRUE(Transformed(product, MM3DVector(1, 1, 1, 1)).Equals(MM3DVector(3, 2, 2, 1)));
  scale *= translation;
  EXPECT_EQ(scale, product);
}

TEST(MM3DMatrixTest, ArrayTransformsMatchSingleOnes) {
  MM3DMatrix m;
  MM3DMatrixRotationXYZ(m, 0.1f, 0.2f, 0.3f);
  const MM3DVector in[3] = {{1, 2, 3, 1}, {-4, 5, 6, 0}, {7, -8, 9, 1}};
  MM3DVector out[3];
  m.TransformPoints(out, in, 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(out[i].Equals(Transformed(m, in[i])));
  m.TransformDirections(out, in, 0);
  EXPECT_TRUE(out[0].Equals(Transformed(m, in[0])));
}

TEST(MM3DMatrixTest, InvertAffineOfScaleThenTranslation) {
  MM3DMatrix scale;
  MM3DMatrix translation;
  MM3DMatrix m;
  MM3DMatrixScale(scale, 2, 2, 2);
  MM3DMatrixTranslation(translation, 4, -6, 8);
  MM3DMatrixMultiply(m, scale, translation);
  m.InvertAffine();
  MM3DMatrix expected;
  MM3DMatrixScale(expected, 0.5f, 0.5f, 0.5f);
  expected.mElement[3][0] = -2;
  expected.mElement[3][1] = 3;
  expected.mElement[3][2] = -4;
  ExpectMatrixNear(m, expected);
}

TEST(MM3DMatrixTest, InvertAffineUndoesAGeneralAffineMatrix) {
  MM3DMatrix rotation;
  MM3DMatrix scale;
  MM3DMatrix translation;
  MM3DMatrix rs;
  MM3DMatrix m;
  MM3DMatrixRotationXYZ(rotation, 0.4f, -1.2f, 2.0f);
  MM3DMatrixScale(scale, 1.5f, 0.25f, -3.0f);
  MM3DMatrixTranslation(translation, 10, -20, 5);
  MM3DMatrixMultiply(rs, rotation, scale);
  MM3DMatrixMultiply(m, rs, translation);
  MM3DMatrix inverse = m;
  inverse.InvertAffine();
  MM3DMatrix product;
  MM3DMatrixMultiply(product, m, inverse);
  ExpectMatrixNear(product, MM3DMatrixIdentity, 1e-5f);
  EXPECT_TRUE(inverse.IsAffine());
}

// A model scaled to nothing on an axis is inverted as if barely thick
// there: the other axes invert as usual and nothing is NaN or infinite.
TEST(MM3DMatrixTest, InvertAffineOfAFlattenedMatrixStaysFinite) {
  MM3DMatrix rotation;
  MM3DMatrix flat;
  MM3DMatrix tilted;
  MM3DMatrixRotationXYZ(rotation, 0.4f, -1.2f, 2.0f);
  MM3DMatrixScale(flat, 2, 0, 2);
  MM3DMatrixMultiply(tilted, flat, rotation);
  MM3DMatrix skewed = MM3DMatrixIdentity;
  skewed.mElement[1][0] = 1;
  skewed.mElement[1][1] = 0;
  MM3DMatrix line;
  MM3DMatrixScale(line, 0, 3, 0);
  const MM3DMatrix kSingular[] = {flat, tilted, skewed, line, MM3DMatrix{}};
  for (const MM3DMatrix& matrix : kSingular) {
    MM3DMatrix inverse = matrix;
    inverse.InvertAffine();
    for (const auto& row : inverse.mElement) {
      for (float element : row) EXPECT_TRUE(std::isfinite(element));
    }
  }
  MM3DMatrix inverse = flat;
  inverse.InvertAffine();
  EXPECT_FLOAT_EQ(inverse.mElement[0][0], 0.5f);
  EXPECT_FLOAT_EQ(inverse.mElement[2][2], 0.5f);
  EXPECT_GT(inverse.mElement[1][1], 1000.0f);
}

TEST(MM3DMatrixTest, NearIdentityInvertsToTheExactIdentity) {
  MM3DMatrix m = MM3DMatrixIdentity;
  m.mElement[3][0] = 0.000009f;
  m.mElement[1][1] = 0.999992f;
  EXPECT_TRUE(m.IsIdentity());
  m.InvertAffine();
  EXPECT_EQ(m, MM3DMatrixIdentity);
  m.mElement[3][0] = 0.00001f;
  EXPECT_FALSE(m.IsIdentity());
}

TEST(MM3DMatrixTest, InvertRigidUndoesRotationAndTranslation) {
  MM3DMatrix rotation;
  MM3DMatrix translation;
  MM3DMatrix m;
  MM3DMatrixRotationXYZ(rotation, 0.4f, -1.2f, 2.0f);
  MM3DMatrixTranslation(translation, 10, -20, 5);
  MM3DMatrixMultiply(m, rotation, translation);
  EXPECT_TRUE(m.IsOrthonormal());
  MM3DMatrix inverse = m;
  inverse.InvertRigid();
  MM3DMatrix product;
  MM3DMatrixMultiply(product, m, inverse);
  ExpectMatrixNear(product, MM3DMatrixIdentity, 1e-5f);
  MM3DMatrixScale(m, 1, 1.001f, 1);
  EXPECT_FALSE(m.IsOrthonormal());
}

TEST(MM3DMatrixTest, ElementArithmeticAndTranspose) {
  MM3DMatrix m;
  MM3DMatrixTranslation(m, 1, 2, 3);
  MM3DMatrix sum = m;
  sum += m;
  sum.ScaleElements(0.5f);
  EXPECT_EQ(sum, m);
  sum -= m;
  EXPECT_EQ(sum.mElement[3][2], 0.0f);
  m.Transpose();
  EXPECT_EQ(m.mElement[2][3], 3.0f);
  EXPECT_FALSE(m.IsAffine());
}

TEST(MM3DMatrixTest, WriteAndReadRoundTrip) {
  MM3DMatrix m;
  MM3DMatrixRotationXYZ(m, 0.1f, 0.2f, 0.3f);
  ByteWriter writer;
  ASSERT_TRUE(m.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 64u);
  float first;
  std::memcpy(&first, writer.mBytes.data() + 4, 4);
  EXPECT_EQ(first, m.mElement[0][1]);
  MM3DMatrix read = MM3DMatrixIdentity;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read, m);
}

TEST(MM3DMatrixTest, AShortReadLeavesTheMatrixUnchanged) {
  MM3DMatrix m;
  MM3DMatrixTranslation(m, 5, 6, 7);
  ByteWriter writer;
  m.Write(writer);
  writer.mBytes.resize(60);
  MM3DMatrix read = MM3DMatrixIdentity;
  ByteReader reader(writer.mBytes);
  EXPECT_FALSE(read.Read(reader));
  EXPECT_EQ(read, MM3DMatrixIdentity);
}

}  // namespace
