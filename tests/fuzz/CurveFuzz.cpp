// Reads a tagged function curve (first byte even) or a spline record (first
// byte odd) from the input, evaluates it at a few times and parameters, in
// and far outside its range, then writes it and reads the copy back, which
// must succeed.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DFunctionCurve.h"
#include "mm3d/MM3DSpline.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr float kTimes[] = {-1e9f,
                            -3.5f,
                            -0.25f,
                            0.0f,
                            0.5f,
                            1.0f,
                            2.75f,
                            100.0f,
                            1e9f,
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};

void Exercise(MM3DFunctionCurve& curve) {
  volatile float sink = curve.GetDuration();
  for (float time : kTimes) sink = curve.Evaluate(time);
  for (int32_t time : {INT32_MIN, -4096, 0, 2048, 4096, 40960, INT32_MAX}) {
    sink = static_cast<float>(curve.EvaluateFixed(time));
  }
  for (float time : kTimes) sink = curve.Evaluate(-time);
  (void)sink;
}

void Exercise(const MM3DSpline& spline) {
  const float start = spline.GetStartParameter();
  const float range = spline.GetParameterRange();
  MM3DVector out;
  volatile float sink = spline.GetLength();
  for (float share : {-1.0f, 0.0f, 0.3f, 0.5f, 1.0f, 2.0f}) {
    const float parameter = start + share * range;
    spline.Evaluate(out, parameter);
    spline.EvaluateTangent(out, parameter);
    sink = spline.ArcLengthAt(parameter);
    sink = spline.ParameterAtLength(share * spline.GetLength());
  }
  for (float parameter : kTimes) spline.Evaluate(out, parameter);
  MM3DClosestPoint best;
  spline.FindClosestPoint(MM3DVector(1.0f, -2.0f, 3.0f, 1.0f), MM3DSpline::kTolerance, best);
  for (int32_t i = 0; i < spline.GetControlPointCount(); ++i) spline.GetControlPoint(out, i);
  (void)sink;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void FuzzCurve(std::vector<uint8_t> bytes) {
  UUOwned<MM3DFunctionCurve> curve;
  ByteReader reader(std::move(bytes));
  const bool read = MM3DReadFunctionCurve(reader, curve);
  if (curve) Exercise(*curve);
  if (!read) return;
  ByteWriter writer;
  Require(curve->WriteTagged(writer));
  UUOwned<MM3DFunctionCurve> copy;
  ByteReader copyReader(writer.mBytes);
  Require(MM3DReadFunctionCurve(copyReader, copy) && copyReader.Remaining() == 0);
  Exercise(*copy);
}

void FuzzSpline(std::vector<uint8_t> bytes) {
  UUOwned<MM3DSpline> spline;
  ByteReader reader(std::move(bytes));
  const bool read = MM3DSpline::ReadRecord(reader, spline);
  if (spline) Exercise(*spline);
  if (!read) return;
  ByteWriter writer;
  Require(spline->WriteRecord(writer));
  UUOwned<MM3DSpline> copy;
  ByteReader copyReader(writer.mBytes);
  Require(MM3DSpline::ReadRecord(copyReader, copy) && copyReader.Remaining() == 0);
  Exercise(*copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> record(data + 1, data + size);
  if ((data[0] & 1) == 0) {
    FuzzCurve(std::move(record));
  } else {
    FuzzSpline(std::move(record));
  }
  return 0;
}
