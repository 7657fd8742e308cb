#include "mm3d/MM3DLinearFunctionCurve.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

namespace {

MM3DLinearFunctionCurve MakeCurve(std::initializer_list<MM3DLinearCurveKey> keys) {
  UUGrowableArray<MM3DLinearCurveKey> array;
  for (const MM3DLinearCurveKey& key : keys) array.Append(key);
  return MM3DLinearFunctionCurve(array, kMM3DFixedValue);
}

class MM3DLinearFunctionCurveTest : public ::testing::Test {
 protected:
  MM3DLinearFunctionCurve mCurve = MakeCurve({{1, 10}, {2, 20}, {4, 0}, {4, 7}, {5, 7}});
};

TEST_F(MM3DLinearFunctionCurveTest, LevelOutsideAndKeyValuesAtKeys) {
  struct Case {
    float mTime;
    float mValue;
  };
  const Case cases[] = {{-100, 10}, {0.99f, 10}, {1, 10},   {1.5f, 15}, {2, 20},
                        {3, 10},    {4, 0},      {4.5f, 7}, {5, 7},     {500, 7}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(mCurve.Evaluate(c.mTime), c.mValue) << c.mTime;
}

TEST_F(MM3DLinearFunctionCurveTest, TheCursorDoesNotChangeValues) {
  std::vector<float> forward;
  for (float t = 0; t <= 6; t += 0.25f) forward.push_back(mCurve.Evaluate(t));
  size_t i = forward.size();
  for (float t = 6; t >= 0; t -= 0.25f) EXPECT_EQ(mCurve.Evaluate(t), forward[--i]) << t;
}

TEST_F(MM3DLinearFunctionCurveTest, TimesAndConstancy) {
  EXPECT_EQ(mCurve.GetStartTime(), 1.0f);
  EXPECT_EQ(mCurve.GetEndTime(), 5.0f);
  EXPECT_EQ(mCurve.GetDuration(), 4.0f);
  EXPECT_FALSE(mCurve.IsConstant());
  EXPECT_TRUE(MakeCurve({{3, 1}}).IsConstant());
  EXPECT_EQ(mCurve.GetKind(), kMM3DLinearCurve);
}

TEST_F(MM3DLinearFunctionCurveTest, ACurveWithoutKeysAnswersZero) {
  MM3DLinearFunctionCurve empty(kMM3DPlainValue);
  EXPECT_EQ(empty.Evaluate(1.0f), 0.0f);
  EXPECT_EQ(empty.EvaluateFixed(4096), 0);
  EXPECT_EQ(empty.GetDuration(), 0.0f);
}

TEST_F(MM3DLinearFunctionCurveTest, BodyRoundTrip) {
  ByteWriter writer;
  ASSERT_TRUE(mCurve.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 4u + 5u * 8u);
  MM3DLinearFunctionCurve read(kMM3DFixedValue);
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  for (float t = 0; t <= 6; t += 0.5f) EXPECT_EQ(read.Evaluate(t), mCurve.Evaluate(t));
}

TEST_F(MM3DLinearFunctionCurveTest, AShortBodyKeepsTheKeysRead) {
  ByteWriter writer;
  mCurve.Write(writer);
  writer.mBytes.resize(4 + 2 * 8 + 3);
  MM3DLinearFunctionCurve read(kMM3DFixedValue);
  ByteReader reader(writer.mBytes);
  EXPECT_FALSE(read.Read(reader));
  EXPECT_EQ(read.GetEndTime(), 2.0f);
}

TEST_F(MM3DLinearFunctionCurveTest, ANegativeCountFailsTheRead) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, -1);
  ByteReader reader(bytes);
  EXPECT_FALSE(mCurve.Read(reader));
  EXPECT_EQ(mCurve.GetEndTime(), 5.0f);
}

TEST_F(MM3DLinearFunctionCurveTest, AHugeCountFailsAtTheEndOfTheBytes) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, INT32_MAX);
  AppendFloat(bytes, 1);
  AppendFloat(bytes, 2);
  ByteReader reader(bytes);
  EXPECT_FALSE(mCurve.Read(reader));
  EXPECT_TRUE(mCurve.IsConstant());
}

TEST_F(MM3DLinearFunctionCurveTest, AFailedWriteStopsAfterTheKey) {
  ByteWriter writer(4 + 8 + 5);
  EXPECT_FALSE(mCurve.Write(writer));
  EXPECT_EQ(writer.mBytes.size(), 12u);
}

}  // namespace
