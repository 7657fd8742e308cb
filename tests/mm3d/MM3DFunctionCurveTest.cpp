#include "mm3d/MM3DFunctionCurve.h"

#include "mm3d/MM3DAggregateFunctionCurve.h"
#include "mm3d/MM3DAngleFunctionCurves.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Tagged(const MM3DFunctionCurve& curve) {
  ByteWriter writer;
  EXPECT_TRUE(curve.WriteTagged(writer));
  return writer.mBytes;
}

TEST(MM3DFunctionCurveTest, TheFactoryReadsEveryKind) {
  UUGrowableArray<MM3DLinearCurveKey> linearKeys;
  linearKeys.Append({0, 1});
  linearKeys.Append({1, 3});
  UUGrowableArray<MM3DAggregateCurveKey> aggregateKeys;
  aggregateKeys.Append({kMM3DKeyHermite, 0, 1, 0, 2});
  aggregateKeys.Append({kMM3DKeyHermite, 1, 3, 2, 0});
  UUGrowableArray<MM3DIntervalAngleKey> intervalKeys;
  intervalKeys.Append({0, 0});
  intervalKeys.Append({2, 100});
  UUGrowableArray<int16_t> samples;
  samples.Append(5);
  samples.Append(50);
  MM3DLinearFunctionCurve linear(linearKeys, kMM3DPlainValue);
  MM3DAggregateFunctionCurve aggregate(aggregateKeys, kMM3DAngleValue, kMM3DInfinityCycle,
                                       kMM3DInfinityOscillate);
  MM3DIntervalCountAngleFunctionCurve intervals(0, 1, intervalKeys);
  MM3DFixedIntervalAngleFunctionCurve fixed(0, 1, samples);
  for (MM3DFunctionCurve* curve :
       std::initializer_list<MM3DFunctionCurve*>{&linear, &aggregate, &intervals, &fixed}) {
    UUOwned<MM3DFunctionCurve> read;
    ByteReader reader(Tagged(*curve));
    ASSERT_TRUE(MM3DReadFunctionCurve(reader, read)) << curve->GetKind();
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_EQ(read->GetKind(), curve->GetKind());
    EXPECT_EQ(read->GetValueKind(), curve->GetValueKind());
    for (float t = -1; t < 3; t += 0.25f) EXPECT_EQ(read->Evaluate(t), curve->Evaluate(t));
  }
}

TEST(MM3DFunctionCurveTest, AngleKindsIgnoreTheStoredValueKind) {
  for (int32_t kind : {kMM3DIntervalCountAngleCurve, kMM3DFixedIntervalAngleCurve}) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, kMM3DPlainValue);
    AppendInt32(bytes, kind);
    AppendFloat(bytes, 0);
    AppendFloat(bytes, 1);
    AppendInt32(bytes, 0);
    UUOwned<MM3DFunctionCurve> curve;
    ByteReader reader(bytes);
    ASSERT_TRUE(MM3DReadFunctionCurve(reader, curve));
    EXPECT_EQ(curve->GetValueKind(), kMM3DAngleValue);
  }
}

TEST(MM3DFunctionCurveTest, AnUnknownKindFailsAndKeepsTheOldCurve) {
  for (int32_t kind : {-1, 4, 1000}) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, kMM3DPlainValue);
    AppendInt32(bytes, kind);
    AppendInt32(bytes, 0);
    auto* old = new MM3DLinearFunctionCurve(kMM3DPlainValue);
    UUOwned<MM3DFunctionCurve> curve(old);
    ByteReader reader(bytes);
    EXPECT_FALSE(MM3DReadFunctionCurve(reader, curve)) << kind;
    EXPECT_EQ(curve.Get(), old);
    EXPECT_NE(reader.GetError(), kUUNoError);
  }
}

TEST(MM3DFunctionCurveTest, AShortHeaderKeepsTheOldCurve) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kMM3DPlainValue);
  auto* old = new MM3DLinearFunctionCurve(kMM3DPlainValue);
  UUOwned<MM3DFunctionCurve> curve(old);
  ByteReader reader(bytes);
  EXPECT_FALSE(MM3DReadFunctionCurve(reader, curve));
  EXPECT_EQ(curve.Get(), old);
}

TEST(MM3DFunctionCurveTest, AFailedBodyLeavesTheNewCurve) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kMM3DFixedValue);
  AppendInt32(bytes, kMM3DLinearCurve);
  AppendInt32(bytes, 2);
  AppendFloat(bytes, 0);
  AppendFloat(bytes, 9);
  UUOwned<MM3DFunctionCurve> curve(new MM3DAggregateFunctionCurve(
      kMM3DPlainValue, kMM3DInfinityConstant, kMM3DInfinityConstant));
  ByteReader reader(bytes);
  EXPECT_FALSE(MM3DReadFunctionCurve(reader, curve));
  ASSERT_EQ(curve->GetKind(), kMM3DLinearCurve);
  EXPECT_EQ(curve->Evaluate(5), 9.0f);
}

TEST(MM3DFunctionCurveTest, WriteTaggedStopsAtTheFirstFailure) {
  MM3DLinearFunctionCurve curve(kMM3DPlainValue);
  ByteWriter writer(6);
  EXPECT_FALSE(curve.WriteTagged(writer));
  EXPECT_EQ(writer.mBytes.size(), 4u);
}

}  // namespace
