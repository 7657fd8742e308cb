#include "mm3d/MM3DAngleFunctionCurves.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

constexpr float kRadiansPerUnit = 6.2831855f / 4096.0f;
constexpr float kQuarterTurn = 1024 * kRadiansPerUnit;

MM3DIntervalCountAngleFunctionCurve IntervalCurve(
    float start, float duration, std::initializer_list<MM3DIntervalAngleKey> keys) {
  UUGrowableArray<MM3DIntervalAngleKey> array;
  for (const MM3DIntervalAngleKey& key : keys) array.Append(key);
  return MM3DIntervalCountAngleFunctionCurve(start, duration, array);
}

MM3DFixedIntervalAngleFunctionCurve SampleCurve(float start, float duration,
                                                std::initializer_list<int16_t> samples) {
  UUGrowableArray<int16_t> array;
  for (int16_t sample : samples) array.Append(sample);
  return MM3DFixedIntervalAngleFunctionCurve(start, duration, array);
}

TEST(MM3DAngleFunctionCurvesTest, IntervalCountEndsAndMiddle) {
  MM3DIntervalCountAngleFunctionCurve curve = IntervalCurve(2, 1, {{0, 0}, {4, 1024}});
  EXPECT_EQ(curve.Evaluate(2.0f), 0.0f);
  EXPECT_EQ(curve.Evaluate(1.0f), 0.0f);
  EXPECT_EQ(curve.Evaluate(3.0f), kQuarterTurn);
  EXPECT_EQ(curve.Evaluate(9.0f), kQuarterTurn);
  EXPECT_EQ(curve.Evaluate(2.5f), 512 * kRadiansPerUnit);
  EXPECT_NEAR(curve.Evaluate(2.5f), 0.7853982f, 1e-6f);
  EXPECT_EQ(curve.EvaluateFixed(4096 * 5 / 2), 512);
  EXPECT_EQ(curve.GetEndTime(), 3.0f);
  EXPECT_EQ(curve.GetKind(), kMM3DIntervalCountAngleCurve);
  EXPECT_EQ(curve.GetValueKind(), kMM3DAngleValue);
}

// The position in a segment comes from the continuous grid position: a
// time between grid points is not snapped to the interval before it.
TEST(MM3DAngleFunctionCurvesTest, IntervalCountInterpolatesBetweenGridPoints) {
  MM3DIntervalCountAngleFunctionCurve curve = IntervalCurve(0, 2, {{0, 0}, {1, 400}, {4, -800}});
  EXPECT_EQ(curve.EvaluateFixed(4096 / 4), 200);  // 0.25 s: half of interval 0
  EXPECT_EQ(curve.EvaluateFixed(4096), 0);        // 1 s: grid 2, a third of the way 1..4
  // Backward after forward gives the same answers.
  EXPECT_EQ(curve.EvaluateFixed(4096 / 4), 200);
}

// Keys that do not advance (a first key after interval 0, two keys on one
// interval, keys out of order) hold the nearest key's angle, and a time
// gives the same angle whether earlier times came before or after it.
TEST(MM3DAngleFunctionCurvesTest, IntervalCountWithBadKeysStaysInsideThem) {
  constexpr int32_t kTimes[] = {4096 / 4, 4096 / 2, 4096 * 3 / 4};
  struct {
    const char* name;
    MM3DIntervalCountAngleFunctionCurve curve;
    int32_t angles[3];
  } cases[] = {
      {"two keys on one interval",
       IntervalCurve(0, 1, {{2, 100}, {2, 200}, {4, 300}}),
       {100, 200, 250}},
      {"keys out of order", IntervalCurve(0, 1, {{3, 100}, {2, 50}, {4, 250}}), {100, 100, 150}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(c.curve.EvaluateFixed(kTimes[k]), c.angles[k]) << k;
    for (int32_t k = 2; k >= 0; --k) EXPECT_EQ(c.curve.EvaluateFixed(kTimes[k]), c.angles[k]) << k;
  }
  MM3DIntervalCountAngleFunctionCurve flat = IntervalCurve(0, 1, {{0, 10}, {0, 20}});
  EXPECT_EQ(flat.EvaluateFixed(2048), 20);
}

TEST(MM3DAngleFunctionCurvesTest, FixedIntervalSamples) {
  MM3DFixedIntervalAngleFunctionCurve curve = SampleCurve(0, 3, {0, 1024, 2048});
  EXPECT_EQ(curve.EvaluateFixed(2048), 512);
  EXPECT_EQ(curve.Evaluate(2.0f), 2048 * kRadiansPerUnit);
  EXPECT_EQ(curve.Evaluate(2.9f), 2048 * kRadiansPerUnit);
  EXPECT_EQ(curve.Evaluate(100.0f), 2048 * kRadiansPerUnit);
  EXPECT_EQ(curve.Evaluate(-1.0f), 0.0f);
  EXPECT_EQ(curve.GetKind(), kMM3DFixedIntervalAngleCurve);
}

TEST(MM3DAngleFunctionCurvesTest, ASingleSampleHoldsEverywhere) {
  MM3DFixedIntervalAngleFunctionCurve curve = SampleCurve(1, 2, {300});
  EXPECT_TRUE(curve.IsConstant());
  for (float t : {-5.0f, 1.0f, 2.0f, 50.0f})
    EXPECT_EQ(curve.EvaluateFixed(static_cast<int32_t>(4096 * t)), 300) << t;
}

TEST(MM3DAngleFunctionCurvesTest, ADurationOfZeroStaysInsideTheSamples) {
  MM3DFixedIntervalAngleFunctionCurve curve = SampleCurve(0, 0, {5, 6, 7});
  EXPECT_EQ(curve.EvaluateFixed(0), 5);
  EXPECT_EQ(curve.EvaluateFixed(4096), 7);
  MM3DFixedIntervalAngleFunctionCurve backwards = SampleCurve(0, -1, {5, 6, 7});
  EXPECT_EQ(backwards.EvaluateFixed(4096), 5);
}

TEST(MM3DAngleFunctionCurvesTest, EmptyCurvesAnswerZero) {
  MM3DIntervalCountAngleFunctionCurve intervals;
  MM3DFixedIntervalAngleFunctionCurve samples;
  EXPECT_EQ(intervals.Evaluate(1.0f), 0.0f);
  EXPECT_EQ(samples.Evaluate(1.0f), 0.0f);
}

TEST(MM3DAngleFunctionCurvesTest, AngleConversions) {
  EXPECT_EQ(MM3DAngleToShort(100.0f), 32767);
  EXPECT_EQ(MM3DAngleToShort(-100.0f), -32768);
  EXPECT_EQ(MM3DAngleToShort(kQuarterTurn), 1024);
  EXPECT_EQ(MM3DAngleToFine(kQuarterTurn), 1 << 22);
  EXPECT_EQ(MM3DAngleToFine(-1000.0f), INT32_MIN);
  const MM3DIntervalAngleKey key(0.74f, 0.5f, 2.0f, 8, kQuarterTurn);
  EXPECT_EQ(key.mInterval, 1);  // 0.96 intervals, rounded
  EXPECT_EQ(key.mAngle, 1024);
}

TEST(MM3DAngleFunctionCurvesTest, IntervalCountBodyRoundTrip) {
  MM3DIntervalCountAngleFunctionCurve curve = IntervalCurve(0.5f, 2, {{0, -7}, {40000, 1024}});
  ByteWriter writer;
  ASSERT_TRUE(curve.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 12u + 2u * 4u);
  MM3DIntervalCountAngleFunctionCurve read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read.GetStartTime(), 0.5f);
  EXPECT_EQ(read.GetEndTime(), 2.5f);
  for (float t = 0; t < 3; t += 0.125f) EXPECT_EQ(read.Evaluate(t), curve.Evaluate(t)) << t;
}

TEST(MM3DAngleFunctionCurvesTest, FixedIntervalBodyRoundTripAndShortRead) {
  MM3DFixedIntervalAngleFunctionCurve curve = SampleCurve(0.5f, 2, {1, -2, 3, -4});
  ByteWriter writer;
  ASSERT_TRUE(curve.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 12u + 4u * 2u);
  MM3DFixedIntervalAngleFunctionCurve read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  for (float t = 0; t < 3; t += 0.125f) EXPECT_EQ(read.Evaluate(t), curve.Evaluate(t)) << t;
  writer.mBytes.resize(writer.mBytes.size() - 1);
  ByteReader shortReader(writer.mBytes);
  EXPECT_FALSE(read.Read(shortReader));
}

TEST(MM3DAngleFunctionCurvesTest, BadCountsFailTheRead) {
  for (int32_t count : {-1, INT32_MAX}) {
    std::vector<uint8_t> bytes;
    AppendFloat(bytes, 0);
    AppendFloat(bytes, 1);
    AppendInt32(bytes, count);
    bytes.insert(bytes.end(), 6, 0);
    MM3DFixedIntervalAngleFunctionCurve samples;
    ByteReader sampleReader(bytes);
    EXPECT_FALSE(samples.Read(sampleReader)) << count;
    MM3DIntervalCountAngleFunctionCurve intervals;
    ByteReader intervalReader(bytes);
    EXPECT_FALSE(intervals.Read(intervalReader)) << count;
  }
}

}  // namespace
