#include "mm3d/MM3DIntegralFunctionCurves.h"

#include "mm3d/MM3DAngleFunctionCurves.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

namespace {

template <typename T>
void Fill(UUGrowableArray<T>& array, std::initializer_list<T> values) {
  for (const T& value : values) array.Append(value);
}

// Reads the float curve's body into the integer form.
void CopyBody(const MM3DFunctionCurve& from, MM3DFunctionCurve& to) {
  ByteWriter writer;
  ASSERT_TRUE(from.Write(writer));
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(to.Read(reader));
  EXPECT_EQ(reader.Remaining(), 0u);
}

// Both forms give the same fixed value, from before the keys to well after
// them, within the precision of 20.12 fractions: a few units plus a part
// in 256 of the value.
void ExpectFormsAgree(MM3DFunctionCurve& real, MM3DFunctionCurve& integral, int32_t slack) {
  for (int32_t time = -5 * 4096; time <= 9 * 4096; time += 4096 / 16) {
    const int32_t expected = real.EvaluateFixed(time);
    const int32_t actual = integral.EvaluateFixed(time);
    EXPECT_LE(std::abs(expected - actual), slack + std::abs(expected) / 256)
        << "at " << time << ": " << expected << " and " << actual;
  }
}

TEST(MM3DIntegralFunctionCurvesTest, IntegerLinearCurveMatchesTheFloatForm) {
  for (MM3DCurveValueKind kind : {kMM3DPlainValue, kMM3DAngleValue, kMM3DFixedValue}) {
    UUGrowableArray<MM3DLinearCurveKey> keys;
    Fill<MM3DLinearCurveKey>(keys, {{0, 10}, {1, 30}, {2.5f, -20}, {3, -20}});
    MM3DLinearFunctionCurve real(keys, kind);
    MM3DIntegralLinearFunctionCurve integral(kind);
    CopyBody(real, integral);
    EXPECT_EQ(integral.GetKind(), kMM3DLinearCurve);
    EXPECT_EQ(integral.GetEndTime(), 3.0f);
    ExpectFormsAgree(real, integral, kind == kMM3DPlainValue ? 1 : 24);
  }
}

TEST(MM3DIntegralFunctionCurvesTest, IntegerLinearBodyRoundTrips) {
  UUGrowableArray<MM3DIntegralLinearCurveKey> keys;
  Fill<MM3DIntegralLinearCurveKey>(keys, {{0, 4096}, {2048, -8192}});
  MM3DIntegralLinearFunctionCurve curve(keys, kMM3DFixedValue);
  EXPECT_EQ(curve.EvaluateFixed(1024), -2048);
  EXPECT_EQ(curve.Evaluate(0.25f), -0.5f);
  MM3DIntegralLinearFunctionCurve read(kMM3DFixedValue);
  CopyBody(curve, read);
  EXPECT_EQ(read.EvaluateFixed(1024), -2048);
}

TEST(MM3DIntegralFunctionCurvesTest, IntegerAggregateCurveMatchesTheFloatForm) {
  for (MM3DCurveInfinity mode : {kMM3DInfinityConstant, kMM3DInfinityLinear, kMM3DInfinityCycle,
                                 kMM3DInfinityCycleWithOffset, kMM3DInfinityOscillate}) {
    for (MM3DCurveValueKind kind : {kMM3DPlainValue, kMM3DAngleValue, kMM3DFixedValue}) {
      UUGrowableArray<MM3DAggregateCurveKey> keys;
      Fill<MM3DAggregateCurveKey>(keys, {{kMM3DKeyHermite, 0, 2, 1, 3},
                                         {kMM3DKeyStep, 1, 5, 0, 0},
                                         {kMM3DKeyLinear, 1.5f, 1, 0, 0},
                                         {kMM3DKeyHermite, 2, 4, -2, 1}});
      MM3DAggregateFunctionCurve real(keys, kind, mode, mode);
      MM3DIntegralAggregateFunctionCurve integral(kind, kMM3DInfinityConstant,
                                                  kMM3DInfinityConstant);
      CopyBody(real, integral);
      SCOPED_TRACE(testing::Message() << "mode " << mode << " kind " << kind);
      ExpectFormsAgree(real, integral, 2);
    }
  }
}

TEST(MM3DIntegralFunctionCurvesTest, AnglesAreStoredInFineUnits) {
  MM3DIntegralAggregateFunctionCurve curve(kMM3DAngleValue, kMM3DInfinityConstant,
                                           kMM3DInfinityConstant);
  const MM3DIntegralAggregateCurveKey stored =
      curve.ToStored(MM3DAggregateCurveKey(kMM3DKeyLinear, 0.5f, 1.5707964f, 0, 1000));
  EXPECT_EQ(stored.mTime, 2048);
  EXPECT_EQ(stored.mValue, 1 << 22);
  EXPECT_EQ(stored.mOutTangent, INT32_MIN);  // 1000 radians lies beyond 128 turns
  MM3DIntegralAggregateFunctionCurve plain(kMM3DPlainValue, kMM3DInfinityConstant,
                                           kMM3DInfinityConstant);
  EXPECT_EQ(plain.ToStored(MM3DAggregateCurveKey(kMM3DKeyLinear, 0, 2, 1e9f, 0)).mInTangent,
            524287 * 4096);
}

// The interval-count form works on whole grid steps of N x u / 4096, so it
// is exact only where those are: a grid of four over one second.
TEST(MM3DIntegralFunctionCurvesTest, IntegerIntervalCountCurve) {
  UUGrowableArray<MM3DIntervalAngleKey> keys;
  Fill<MM3DIntervalAngleKey>(keys, {{0, 0}, {4, 1024}});
  MM3DIntervalCountAngleFunctionCurve real(0, 1, keys);
  MM3DIntegralIntervalCountAngleFunctionCurve integral;
  CopyBody(real, integral);
  struct Case {
    int32_t mTime;
    int32_t mAngle;
  };
  for (const Case& c : {Case{-4096, 0}, Case{0, 0}, Case{1024, 256}, Case{2048, 512},
                        Case{3072, 768}, Case{4096, 1024}, Case{40960, 1024}}) {
    EXPECT_EQ(integral.EvaluateFixed(c.mTime), c.mAngle) << c.mTime;
    EXPECT_EQ(real.EvaluateFixed(c.mTime), c.mAngle) << c.mTime;
  }
  EXPECT_EQ(integral.Evaluate(0.5f), real.Evaluate(0.5f));
}

TEST(MM3DIntegralFunctionCurvesTest, IntegerFixedIntervalCurveMatchesTheFloatForm) {
  UUGrowableArray<int16_t> samples;
  Fill<int16_t>(samples, {0, 512, 1024, 4000, -4000});
  MM3DFixedIntervalAngleFunctionCurve real(0.25f, 1.5f, samples);
  MM3DIntegralFixedIntervalAngleFunctionCurve integral;
  CopyBody(real, integral);
  ExpectFormsAgree(real, integral, 2);
  EXPECT_EQ(integral.Evaluate(100.0f), real.Evaluate(100.0f));
}

TEST(MM3DIntegralFunctionCurvesTest, EmptyIntegerCurvesAnswerZero) {
  MM3DIntegralLinearFunctionCurve linear(kMM3DPlainValue);
  MM3DIntegralAggregateFunctionCurve aggregate(kMM3DPlainValue, kMM3DInfinityCycle,
                                               kMM3DInfinityCycle);
  MM3DIntegralIntervalCountAngleFunctionCurve intervals;
  MM3DIntegralFixedIntervalAngleFunctionCurve fixed;
  for (MM3DFunctionCurve* curve :
       std::initializer_list<MM3DFunctionCurve*>{&linear, &aggregate, &intervals, &fixed}) {
    EXPECT_EQ(curve->EvaluateFixed(4096), 0);
    EXPECT_EQ(curve->Evaluate(1.0f), 0.0f);
  }
}

}  // namespace
