// Writes the curve fuzzer's seed corpus with the engine's own writers: one
// file per curve kind (a selector byte 0, then the tagged curve) and per
// spline kind (a selector byte 1, then the spline record).

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "mm3d/MM3DAggregateFunctionCurve.h"
#include "mm3d/MM3DAngleFunctionCurves.h"
#include "mm3d/MM3DBezierSpline.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DNurbSpline.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

constexpr uint8_t kCurveSelector = 0;
constexpr uint8_t kSplineSelector = 1;

template <typename T>
void Fill(UUGrowableArray<T>& array, std::initializer_list<T> values) {
  for (const T& value : values) array.Append(value);
}

bool WriteSeed(const UUDirectory& directory, const std::string& name, uint8_t selector,
               const std::vector<uint8_t>& record) {
  UUFile file(directory, name.c_str(), kUUFileCreate, UUFileOptions());
  return file.Write(&selector, 1) &&
         file.Write(record.data(), static_cast<uint32_t>(record.size()));
}

bool WriteCurve(const UUDirectory& directory, const std::string& name,
                const MM3DFunctionCurve& curve) {
  ByteWriter writer;
  return curve.WriteTagged(writer) && WriteSeed(directory, name, kCurveSelector, writer.mBytes);
}

bool WriteSpline(const UUDirectory& directory, const std::string& name, const MM3DSpline& spline) {
  ByteWriter writer;
  return spline.WriteRecord(writer) && WriteSeed(directory, name, kSplineSelector, writer.mBytes);
}

bool WriteCurves(const UUDirectory& directory) {
  UUGrowableArray<MM3DLinearCurveKey> linearKeys;
  Fill<MM3DLinearCurveKey>(linearKeys, {{0, 1}, {1, 3}, {1, 5}, {2.5f, -1}});
  const MM3DLinearFunctionCurve linear(linearKeys, kMM3DPlainValue);
  UUGrowableArray<MM3DAggregateCurveKey> aggregateKeys;
  Fill<MM3DAggregateCurveKey>(aggregateKeys, {{kMM3DKeyHermite, 0, 0, 1, 2},
                                              {kMM3DKeyStep, 1, 4, 0, 0},
                                              {kMM3DKeyLinear, 2, 10, 3, 3},
                                              {kMM3DKeyHermite, 3, 2, -1, 0}});
  const MM3DAggregateFunctionCurve aggregate(aggregateKeys, kMM3DAngleValue, kMM3DInfinityOscillate,
                                             kMM3DInfinityCycleWithOffset);
  UUGrowableArray<MM3DIntervalAngleKey> intervalKeys;
  Fill<MM3DIntervalAngleKey>(intervalKeys, {{0, 0}, {3, 1024}, {8, -2048}});
  const MM3DIntervalCountAngleFunctionCurve intervals(0.5f, 2, intervalKeys);
  UUGrowableArray<int16_t> samples;
  Fill<int16_t>(samples, {0, 512, 1024, 4000, -4000});
  const MM3DFixedIntervalAngleFunctionCurve fixed(0, 1.5f, samples);
  return WriteCurve(directory, "curve-linear", linear) &&
         WriteCurve(directory, "curve-aggregate", aggregate) &&
         WriteCurve(directory, "curve-interval-count", intervals) &&
         WriteCurve(directory, "curve-fixed-interval", fixed);
}

bool WriteSplines(const UUDirectory& directory) {
  UUGrowableArray<MM3DVector> linearPoints;
  Fill<MM3DVector>(linearPoints, {{0, 0, 0, 1}, {3, 4, 0, 1}, {3, 4, 5, 1}});
  const MM3DLinearSpline linear(linearPoints, true);
  UUGrowableArray<MM3DVector> controlPoints;
  Fill<MM3DVector>(controlPoints, {{1, 0, 0, 1}, {1, 1, 0, 0.7f}, {0, 1, 0, 1}, {-1, 2, 1, 1}});
  UUGrowableArray<float> knots;
  Fill<float>(knots, {0, 0, 0, 1, 2, 2, 2});
  const MM3DNurbSpline nurbs(2, controlPoints, knots, false);
  UUGrowableArray<MM3DVector> keys;
  Fill<MM3DVector>(keys, {{0, 0, 0, 1}, {3, 0, 0, 1}, {3, 3, 1, 1}});
  UUGrowableArray<MM3DVector> tangents;
  Fill<MM3DVector>(
      tangents,
      {{0, -1, 0, 0}, {1, 0, 0, 0}, {-1, 0, 0, 0}, {0, 1, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}});
  const MM3DBezierSpline bezier(keys, tangents, true);
  return WriteSpline(directory, "spline-linear", linear) &&
         WriteSpline(directory, "spline-nurbs", nurbs) &&
         WriteSpline(directory, "spline-bezier", bezier);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  return WriteCurves(directory) && WriteSplines(directory) ? 0 : 1;
}
