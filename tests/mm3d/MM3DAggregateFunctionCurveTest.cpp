#include "mm3d/MM3DAggregateFunctionCurve.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using Key = MM3DAggregateCurveKey;

MM3DAggregateFunctionCurve MakeCurve(std::initializer_list<Key> keys,
                                     MM3DCurveInfinity pre = kMM3DInfinityConstant,
                                     MM3DCurveInfinity post = kMM3DInfinityConstant) {
  UUGrowableArray<Key> array;
  for (const Key& key : keys) array.Append(key);
  return MM3DAggregateFunctionCurve(array, kMM3DFixedValue, pre, post);
}

// Keys from 0 s to 2 s rising from 0 to 10, linear then Hermite.
MM3DAggregateFunctionCurve Rising(MM3DCurveInfinity pre, MM3DCurveInfinity post) {
  return MakeCurve(
      {{kMM3DKeyLinear, 0, 0, 3, 4}, {kMM3DKeyHermite, 1, 4, 5, 6}, {kMM3DKeyLinear, 2, 10, 7, 8}},
      pre, post);
}

TEST(MM3DAggregateFunctionCurveTest, AStepHoldsUntilTheNextKeysTime) {
  MM3DAggregateFunctionCurve curve =
      MakeCurve({{kMM3DKeyStep, 0, 1, 0, 0}, {kMM3DKeyStep, 1, 2, 0, 0}});
  EXPECT_EQ(curve.Evaluate(0.0f), 1.0f);
  EXPECT_EQ(curve.Evaluate(0.99999f), 1.0f);
  EXPECT_EQ(curve.Evaluate(1.0f), 2.0f);
}

TEST(MM3DAggregateFunctionCurveTest, UnknownInterpolationHoldsWithoutTheJump) {
  const Key p(static_cast<MM3DKeyInterpolation>(3), 0, 1, 0, 0);
  const Key q(kMM3DKeyStep, 1, 2, 0, 0);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 0.5f), 1.0f);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 1.0f), 1.0f);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(q, p, 0.5f), 2.0f);
}

TEST(MM3DAggregateFunctionCurveTest, LinearSegment) {
  const Key p(kMM3DKeyLinear, 2, 10, 0, 0);
  const Key q(kMM3DKeyLinear, 6, 30, 0, 0);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 3.0f), 15.0f);
}

TEST(MM3DAggregateFunctionCurveTest, HermiteEndsEasesAndScalesTangentsBySpan) {
  const Key p(kMM3DKeyHermite, 0, 2, 0, 0);
  const Key q(kMM3DKeyHermite, 4, 6, 0, 0);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 0.0f), 2.0f);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 4.0f), 6.0f);
  EXPECT_EQ(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 2.0f), 4.0f);
  // Flat tangents ease in: a tenth of the way in time is under a tenth of
  // the way in value.
  EXPECT_LT(MM3DAggregateFunctionCurve::EvaluateSegment(p, q, 0.4f), 2.0f + 0.4f);
  // A tangent of 1 unit per second makes a straight line whatever the span.
  for (float span : {0.5f, 4.0f}) {
    const Key a(kMM3DKeyHermite, 0, 0, 1, 1);
    const Key b(kMM3DKeyHermite, span, span, 1, 1);
    EXPECT_NEAR(MM3DAggregateFunctionCurve::EvaluateSegment(a, b, span * 0.3f), span * 0.3f, 1e-6f);
  }
}

struct InfinityCase {
  MM3DCurveInfinity mMode;
  float mTime;
  float mSameAs;  // the time inside the keys whose value it equals
  float mOffset;  // plus this
};

TEST(MM3DAggregateFunctionCurveTest, EveryInfinityMode) {
  const InfinityCase cases[] = {
      {kMM3DInfinityConstant, -3.0f, 0.0f, 0.0f},
      {kMM3DInfinityConstant, 7.0f, 2.0f, 0.0f},
      {static_cast<MM3DCurveInfinity>(9), -3.0f, 0.0f, 0.0f},
      {static_cast<MM3DCurveInfinity>(-1), 7.0f, 2.0f, 0.0f},
      {kMM3DInfinityCycle, -0.5f, 1.5f, 0.0f},
      {kMM3DInfinityCycle, 2.5f, 0.5f, 0.0f},
      {kMM3DInfinityCycle, -4.25f, 1.75f, 0.0f},
      {kMM3DInfinityCycleWithOffset, 2.5f, 0.5f, 10.0f},
      {kMM3DInfinityCycleWithOffset, -0.5f, 1.5f, -10.0f},
      {kMM3DInfinityCycleWithOffset, 4.5f, 0.5f, 20.0f},
      {kMM3DInfinityCycleWithOffset, -2.5f, 1.5f, -20.0f},
      {kMM3DInfinityOscillate, 2.5f, 1.5f, 0.0f},
      {kMM3DInfinityOscillate, 4.5f, 0.5f, 0.0f},
      {kMM3DInfinityOscillate, -0.5f, 0.5f, 0.0f},
      {kMM3DInfinityOscillate, -2.5f, 1.5f, 0.0f},
  };
  for (const InfinityCase& c : cases) {
    MM3DAggregateFunctionCurve curve = Rising(c.mMode, c.mMode);
    const float expected = curve.Evaluate(c.mSameAs) + c.mOffset;
    EXPECT_NEAR(curve.Evaluate(c.mTime), expected, 1e-5f) << c.mMode << " at " << c.mTime;
  }
}

TEST(MM3DAggregateFunctionCurveTest, LinearInfinityFollowsTheEndTangents) {
  MM3DAggregateFunctionCurve curve = Rising(kMM3DInfinityLinear, kMM3DInfinityLinear);
  // The first key's out-tangent (4) before, the last key's in-tangent (7)
  // after.
  EXPECT_EQ(curve.Evaluate(-0.5f), -2.0f);
  EXPECT_EQ(curve.Evaluate(3.0f), 17.0f);
}

TEST(MM3DAggregateFunctionCurveTest, CyclingOnKeysAtOneTimeHoldsTheValue) {
  MM3DAggregateFunctionCurve curve =
      MakeCurve({{kMM3DKeyLinear, 1, 5, 0, 0}, {kMM3DKeyLinear, 1, 6, 0, 0}},
                kMM3DInfinityCycleWithOffset, kMM3DInfinityOscillate);
  EXPECT_EQ(curve.Evaluate(0.0f), 5.0f);
  EXPECT_EQ(curve.Evaluate(2.0f), 6.0f);
  MM3DAggregateFunctionCurve empty(kMM3DPlainValue, kMM3DInfinityCycle, kMM3DInfinityCycle);
  EXPECT_EQ(empty.Evaluate(2.0f), 0.0f);
}

TEST(MM3DAggregateFunctionCurveTest, DecreasingTimesGiveTheSameValues) {
  MM3DAggregateFunctionCurve curve = Rising(kMM3DInfinityOscillate, kMM3DInfinityCycle);
  std::vector<float> forward;
  for (float t = -3; t <= 5; t += 0.125f) forward.push_back(curve.Evaluate(t));
  size_t i = forward.size();
  for (float t = 5; t >= -3; t -= 0.125f) EXPECT_EQ(curve.Evaluate(t), forward[--i]) << t;
}

TEST(MM3DAggregateFunctionCurveTest, FixedValuesByValueKind) {
  struct Case {
    MM3DCurveValueKind mKind;
    float mValue;
    int32_t mFixed;
  };
  const Case cases[] = {{kMM3DPlainValue, -2.5f, -3},
                        {kMM3DPlainValue, 2.5f, 3},
                        {kMM3DAngleValue, 1.0f, 651},
                        {kMM3DFixedValue, 0.5f, 2048},
                        {static_cast<MM3DCurveValueKind>(7), 0.5f, 2048}};
  for (const Case& c : cases) {
    UUGrowableArray<Key> keys;
    keys.Append(Key(kMM3DKeyStep, 0, c.mValue, 0, 0));
    MM3DAggregateFunctionCurve curve(keys, c.mKind, kMM3DInfinityConstant, kMM3DInfinityConstant);
    EXPECT_EQ(curve.EvaluateFixed(4096), c.mFixed) << c.mKind;
  }
  MM3DAggregateFunctionCurve angle(kMM3DAngleValue, kMM3DInfinityConstant, kMM3DInfinityConstant);
  EXPECT_NEAR(angle.ToFloatValue(1024), 1.5707964f, 1e-6f);
  EXPECT_EQ(
      MM3DAggregateFunctionCurve(kMM3DPlainValue, kMM3DInfinityConstant, kMM3DInfinityConstant)
          .ToFloatValue(-7),
      -7.0f);
}

TEST(MM3DAggregateFunctionCurveTest, EvaluateFixedTakesTimesIn4096ths) {
  MM3DAggregateFunctionCurve curve = Rising(kMM3DInfinityConstant, kMM3DInfinityConstant);
  EXPECT_EQ(curve.EvaluateFixed(2048), curve.ToFixedValue(curve.Evaluate(0.5f)));
}

TEST(MM3DAggregateFunctionCurveTest, BodyRoundTripWithTheCodeFirst) {
  MM3DAggregateFunctionCurve curve = Rising(kMM3DInfinityOscillate, kMM3DInfinityLinear);
  ByteWriter writer;
  ASSERT_TRUE(curve.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 12u + 3u * 20u);
  int32_t firstCode;
  std::memcpy(&firstCode, writer.mBytes.data() + 12, 4);
  EXPECT_EQ(firstCode, kMM3DKeyLinear);
  MM3DAggregateFunctionCurve read(kMM3DFixedValue, kMM3DInfinityConstant, kMM3DInfinityConstant);
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read.GetPreInfinity(), kMM3DInfinityOscillate);
  EXPECT_EQ(read.GetPostInfinity(), kMM3DInfinityLinear);
  for (float t = -3; t <= 5; t += 0.25f) EXPECT_EQ(read.Evaluate(t), curve.Evaluate(t));
}

TEST(MM3DAggregateFunctionCurveTest, AShortInfinityReadLeavesTheRest) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kMM3DInfinityCycle);
  MM3DAggregateFunctionCurve curve = Rising(kMM3DInfinityConstant, kMM3DInfinityLinear);
  ByteReader reader(bytes);
  EXPECT_FALSE(curve.Read(reader));
  EXPECT_EQ(curve.GetPreInfinity(), kMM3DInfinityCycle);
  EXPECT_EQ(curve.GetPostInfinity(), kMM3DInfinityLinear);
  EXPECT_EQ(curve.GetEndTime(), 2.0f);
}

}  // namespace

namespace {

// A hold key evaluated exactly at the next key's time: reached from before
// and from after, the cursor must not change the answer.
TEST(MM3DAggregateFunctionCurveTest, TheValueAtAKeysTimeDoesNotDependOnTheCursor) {
  MM3DAggregateFunctionCurve curve = MakeCurve({{static_cast<MM3DKeyInterpolation>(3), 0, 1, 0, 0},
                                                {kMM3DKeyLinear, 1, 2, 0, 0},
                                                {kMM3DKeyLinear, 2, 3, 0, 0}});
  curve.Evaluate(0.5f);
  const float fromBefore = curve.Evaluate(1.0f);
  curve.Evaluate(1.5f);
  EXPECT_EQ(curve.Evaluate(1.0f), fromBefore);
}

}  // namespace
