#include "mm3d/MM3DFixedVector.h"

#include "mm3d/MM3DMatrix.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr int32_t kOne = 4096;

TEST(MM3DFixedVectorTest, MultiplyAndDivideIn20Dot12) {
  EXPECT_EQ(MM3DFixedMultiply(6144, 6144), 9216);
  EXPECT_EQ(MM3DFixedMultiply(-6144, 6144), -9216);
  EXPECT_EQ(MM3DFixedDivide(4096, 8192), 2048);
  EXPECT_EQ(MM3DFixedDivide(-4096, 3 * kOne), -1365);
}

// The processor would trap on a division by zero; the pipeline gets the
// largest value of the dividend's sign instead.
TEST(MM3DFixedVectorTest, DivisionByZeroSaturates) {
  EXPECT_EQ(MM3DFixedDivide(5, 0), INT32_MAX);
  EXPECT_EQ(MM3DFixedDivide(-5, 0), INT32_MIN);
  EXPECT_EQ(MM3DFixedDivide(0, 0), 0);
}

TEST(MM3DFixedVectorTest, FixedVectorOperations) {
  MM3DFixedVector v{3 * kOne, 4 * kOne, 0, kOne};
  EXPECT_EQ(v.LengthSquared(), 25.0f);
  EXPECT_EQ(v.Dot(MM3DFixedVector{kOne, kOne, kOne, 0}), 7.0f);
  const MM3DFixedVector cross = MM3DFixedVector{kOne, 0, 0, 5}.Cross({0, kOne, 0, 0});
  EXPECT_EQ(cross.mZ, kOne);
  EXPECT_EQ(cross.mW, 5);
  v.Divide(2.0f);
  EXPECT_EQ(v.mX, 6144);
  EXPECT_EQ(v.mW, kOne);
  v.SetComponent(2, -0.5f);
  v.SetComponent(4, 100.0f);
  EXPECT_EQ(v.mZ, -2048);
  EXPECT_EQ(v.GetComponent(2), -0.5f);
  EXPECT_EQ(v.GetComponent(9), 1.5f);
}

TEST(MM3DFixedVectorTest, ShortVectorOperations) {
  const MM3DShortVector a{30000, 30000, 30000, 1};
  EXPECT_EQ(a.Dot(a), 2.7e9f);
  const MM3DShortVector cross = MM3DShortVector{2, 0, 0, 7}.Cross({0, 3, 0, 0});
  EXPECT_EQ(cross.mZ, 6);
  EXPECT_EQ(cross.mW, 7);
}

TEST(MM3DFixedVectorTest, MatrixTransformsOfIntegerVectors) {
  MM3DMatrix m;
  MM3DMatrixScale(m, 0.5f, 0.5f, 0.5f);
  MM3DFixedVector fixedOut;
  m.TransformPoint(fixedOut, MM3DFixedVector{3, -3, 8, 1});
  EXPECT_EQ(fixedOut.mX, 1);
  EXPECT_EQ(fixedOut.mY, -1);
  EXPECT_EQ(fixedOut.mZ, 4);
  MM3DShortVector shortOut;
  m.TransformPoint(shortOut, MM3DShortVector{3, -3, 8, 1});
  EXPECT_EQ(shortOut.mX, 2);
  EXPECT_EQ(shortOut.mY, -2);
  m.TransformDirection(shortOut, MM3DShortVector{4096, -12288, 0, 0});
  EXPECT_EQ(shortOut.mX, 1);  // 0.5 rounds away from zero
  EXPECT_EQ(shortOut.mY, -2);
}

TEST(MM3DFixedVectorTest, VectorsRoundTripAsFloats) {
  const MM3DFixedVector fixed[3] = {{kOne, 2 * kOne, -kOne / 2, 0}, {1, 2, 3, 4}, {0, 0, 0, kOne}};
  ByteWriter writer;
  ASSERT_TRUE(MM3DWriteFixedVectors(writer, fixed, 3));
  ASSERT_EQ(writer.mBytes.size(), 12u * 4u);
  float second;
  std::memcpy(&second, writer.mBytes.data() + 4, 4);
  EXPECT_EQ(second, 2.0f);
  MM3DFixedVector read[3];
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(MM3DReadFixedVectors(reader, read, 3));
  EXPECT_EQ(read[1].mW, 4);
  EXPECT_EQ(read[0].mZ, -kOne / 2);

  const MM3DShortVector shorts[1] = {{-7, 8, 32767, -32768}};
  ByteWriter shortWriter;
  ASSERT_TRUE(MM3DWriteShortVectors(shortWriter, shorts, 1));
  MM3DShortVector shortRead[1];
  ByteReader shortReader(shortWriter.mBytes);
  ASSERT_TRUE(MM3DReadShortVectors(shortReader, shortRead, 1));
  EXPECT_EQ(shortRead[0].mX, -7);
  EXPECT_EQ(shortRead[0].mW, -32768);
  ByteReader shortOfBytes(std::vector<uint8_t>(20));
  EXPECT_FALSE(MM3DReadShortVectors(shortOfBytes, shortRead, 2));
}

}  // namespace
