#include "mm3d/MM3DIntegralFunctionCurves.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DAngleFunctionCurves.h"
#include "mm3d/MM3DFixedVector.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DMathFunctions.h"

#include <algorithm>

namespace {

constexpr int32_t kOne = 4096;
constexpr float kFloatOne = 4096.0f;
constexpr float kMaxTangent = 524287.0f;
constexpr float kMinTangent = -524288.0f;
constexpr float kRadiansPerFine = kMM3DTwoPi / 16777216.0f;

// The 32-bit result of integer arithmetic carried out in 64 bits, wrapping
// like the pipeline's adds.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(value); }

int32_t ToFixedTime(float seconds) { return MM3DTruncate(seconds * kFloatOne); }
float ToSeconds(int32_t time) { return static_cast<float>(time) / kFloatOne; }

int64_t FloorDivide(int64_t a, int64_t b) {
  const int64_t quotient = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

bool IsOdd(int64_t n) { return n % 2 != 0; }

bool Cycles(MM3DCurveInfinity mode) {
  return mode == kMM3DInfinityCycle || mode == kMM3DInfinityCycleWithOffset ||
         mode == kMM3DInfinityOscillate;
}

int32_t Segment(const MM3DIntegralAggregateCurveKey& p, const MM3DIntegralAggregateCurveKey& q,
                int32_t time) {
  const int32_t span = Wrap(int64_t{q.mTime} - p.mTime);
  const int64_t u = MM3DFixedDivide(Wrap(int64_t{time} - p.mTime), span);
  switch (p.mInterpolation) {
    case kMM3DKeyStep:
      return u == kOne ? q.mValue : p.mValue;
    case kMM3DKeyLinear:
      return Wrap(p.mValue +
                  int64_t{MM3DFixedMultiply(Wrap(u), Wrap(int64_t{q.mValue} - p.mValue))});
    case kMM3DKeyHermite: {
      const int64_t u2 = MM3DFixedMultiply(Wrap(u), Wrap(u));
      const int64_t u3 = MM3DFixedMultiply(Wrap(u2), Wrap(u));
      const int32_t h00 = Wrap(2 * u3 - 3 * u2 + kOne);
      const int32_t h01 = Wrap(3 * u2 - 2 * u3);
      const int32_t h10 = Wrap(u3 - 2 * u2 + u);
      const int32_t h11 = Wrap(u3 - u2);
      const int64_t tangents =
          int64_t{MM3DFixedMultiply(h10, p.mOutTangent)} + MM3DFixedMultiply(h11, q.mInTangent);
      return Wrap(int64_t{MM3DFixedMultiply(h00, p.mValue)} + MM3DFixedMultiply(h01, q.mValue) +
                  MM3DFixedMultiply(span, Wrap(tangents)));
    }
    default:
      return p.mValue;
  }
}

}  // namespace

MM3DIntegralLinearFunctionCurve::MM3DIntegralLinearFunctionCurve(MM3DCurveValueKind valueKind)
    : MM3DFunctionCurve(valueKind) {}

MM3DIntegralLinearFunctionCurve::MM3DIntegralLinearFunctionCurve(
    UUGrowableArray<MM3DIntegralLinearCurveKey>& keys, MM3DCurveValueKind valueKind)
    : MM3DFunctionCurve(valueKind) {
  SetKeys(keys);
}

int32_t MM3DIntegralLinearFunctionCurve::EvaluateFixed(int32_t time) {
  if (mKeys.Count() == 0) return 0;
  if (time < mKeys.First().mTime) return mKeys.First().mValue;
  if (time > mKeys.Last().mTime) return mKeys.Last().mValue;
  const MM3DKeySegment segment = mKeys.FindSegment(time);
  const MM3DIntegralLinearCurveKey& p = mKeys[segment.mFrom];
  if (!segment.mBetween) return p.mValue;
  const MM3DIntegralLinearCurveKey& q = mKeys[segment.mFrom + 1];
  const int32_t fraction =
      MM3DFixedDivide(Wrap(int64_t{time} - p.mTime), Wrap(int64_t{q.mTime} - p.mTime));
  return Wrap(p.mValue + int64_t{MM3DFixedMultiply(Wrap(int64_t{q.mValue} - p.mValue), fraction)});
}

float MM3DIntegralLinearFunctionCurve::GetStartTime() const {
  return mKeys.Count() == 0 ? 0.0f : ToSeconds(mKeys.First().mTime);
}

float MM3DIntegralLinearFunctionCurve::GetEndTime() const {
  return mKeys.Count() == 0 ? 0.0f : ToSeconds(mKeys.Last().mTime);
}

bool MM3DIntegralLinearFunctionCurve::Write(UUWriter& writer) const {
  UUGrowableArray<MM3DLinearCurveKey> converted;
  for (const MM3DIntegralLinearCurveKey& key : mKeys.GetArray()) {
    converted.Append(MM3DLinearCurveKey(ToSeconds(key.mTime), ToFloatValue(key.mValue)));
  }
  MM3DCurveKeys<MM3DLinearCurveKey> body;
  body.Set(converted);
  return body.Write(writer);
}

bool MM3DIntegralLinearFunctionCurve::Read(UUReader& reader) {
  MM3DCurveKeys<MM3DLinearCurveKey> body;
  const bool read = body.Read(reader);
  UUGrowableArray<MM3DIntegralLinearCurveKey> converted;
  for (const MM3DLinearCurveKey& key : body.GetArray()) {
    converted.Append({ToFixedTime(key.mTime), ToFixedValue(key.mValue)});
  }
  SetKeys(converted);
  return read;
}

MM3DIntegralAggregateFunctionCurve::MM3DIntegralAggregateFunctionCurve(
    MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity, MM3DCurveInfinity postInfinity)
    : MM3DFunctionCurveWithInfinity(valueKind, preInfinity, postInfinity) {}

MM3DIntegralAggregateFunctionCurve::MM3DIntegralAggregateFunctionCurve(
    UUGrowableArray<MM3DIntegralAggregateCurveKey>& keys, MM3DCurveValueKind valueKind,
    MM3DCurveInfinity preInfinity, MM3DCurveInfinity postInfinity)
    : MM3DFunctionCurveWithInfinity(valueKind, preInfinity, postInfinity) {
  SetKeys(keys);
}

MM3DIntegralAggregateCurveKey MM3DIntegralAggregateFunctionCurve::ToStored(
    const MM3DAggregateCurveKey& key) const {
  if (GetValueKind() == kMM3DAngleValue) {
    return {ToFixedTime(key.mTime), MM3DAngleToFine(key.mValue), MM3DAngleToFine(key.mInTangent),
            MM3DAngleToFine(key.mOutTangent), key.mInterpolation};
  }
  const auto tangent = [](float value) {
    return MM3DTruncate(std::clamp(value, kMinTangent, kMaxTangent) * kFloatOne);
  };
  return {ToFixedTime(key.mTime), MM3DTruncate(key.mValue * kFloatOne), tangent(key.mInTangent),
          tangent(key.mOutTangent), key.mInterpolation};
}

MM3DAggregateCurveKey MM3DIntegralAggregateFunctionCurve::FromStored(
    const MM3DIntegralAggregateCurveKey& key) const {
  const float unit = GetValueKind() == kMM3DAngleValue ? kRadiansPerFine : 1.0f / kFloatOne;
  return MM3DAggregateCurveKey(
      key.mInterpolation, ToSeconds(key.mTime), static_cast<float>(key.mValue) * unit,
      static_cast<float>(key.mInTangent) * unit, static_cast<float>(key.mOutTangent) * unit);
}

int32_t MM3DIntegralAggregateFunctionCurve::SegmentValue(int32_t time) {
  const MM3DKeySegment segment = mKeys.FindSegment(time);
  const MM3DIntegralAggregateCurveKey& p = mKeys[segment.mFrom];
  if (!segment.mBetween) return p.mValue;
  return Segment(p, mKeys[segment.mFrom + 1], time);
}

// The rules of the float curve in integers: remainders truncate toward
// zero like fmod, and the cycle count before the keys is floored like the
// float curve's, so both forms agree on every cycle.
int32_t MM3DIntegralAggregateFunctionCurve::ValueBefore(int32_t time) {
  const MM3DIntegralAggregateCurveKey& first = mKeys.First();
  const int64_t start = first.mTime;
  const int64_t end = mKeys.Last().mTime;
  const int64_t duration = end - start;
  const int64_t offset = time - start;
  const MM3DCurveInfinity mode = GetPreInfinity();
  if (mode == kMM3DInfinityLinear) {
    return Wrap(first.mValue + int64_t{MM3DFixedMultiply(Wrap(offset), first.mOutTangent)});
  }
  if (!Cycles(mode) || duration <= 0) return first.mValue;
  const int64_t remainder = offset % duration;
  const int64_t cycle = FloorDivide(offset, duration);
  switch (mode) {
    case kMM3DInfinityCycleWithOffset:
      return Wrap(SegmentValue(Wrap(end + remainder)) +
                  cycle * (int64_t{mKeys.Last().mValue} - first.mValue));
    case kMM3DInfinityOscillate:
      return SegmentValue(Wrap(IsOdd(cycle) ? start - remainder : end + remainder));
    default:
      return SegmentValue(Wrap(end + remainder));
  }
}

int32_t MM3DIntegralAggregateFunctionCurve::ValueAfter(int32_t time) {
  const MM3DIntegralAggregateCurveKey& last = mKeys.Last();
  const int64_t start = mKeys.First().mTime;
  const int64_t end = last.mTime;
  const int64_t duration = end - start;
  const MM3DCurveInfinity mode = GetPostInfinity();
  if (mode == kMM3DInfinityLinear) {
    return Wrap(last.mValue + int64_t{MM3DFixedMultiply(Wrap(time - end), last.mInTangent)});
  }
  if (!Cycles(mode) || duration <= 0) return last.mValue;
  const int64_t offset = time - start;
  const int64_t remainder = offset % duration;
  const int64_t cycle = offset / duration;
  switch (mode) {
    case kMM3DInfinityCycleWithOffset:
      return Wrap(SegmentValue(Wrap(start + remainder)) +
                  cycle * (int64_t{last.mValue} - mKeys.First().mValue));
    case kMM3DInfinityOscillate:
      return SegmentValue(Wrap(IsOdd(cycle) ? end - remainder : start + remainder));
    default:
      return SegmentValue(Wrap(start + remainder));
  }
}

int32_t MM3DIntegralAggregateFunctionCurve::EvaluateFixed(int32_t time) {
  if (mKeys.Count() == 0) return 0;
  int64_t stored = 0;
  if (time < mKeys.First().mTime) {
    stored = ValueBefore(time);
  } else if (time > mKeys.Last().mTime) {
    stored = ValueAfter(time);
  } else {
    stored = SegmentValue(time);
  }
  switch (GetValueKind()) {
    case kMM3DPlainValue:
      return Wrap((stored + 2048) >> 12);
    case kMM3DAngleValue:
      return Wrap(stored >> 12);
    default:
      return Wrap(stored);
  }
}

float MM3DIntegralAggregateFunctionCurve::GetStartTime() const {
  return mKeys.Count() == 0 ? 0.0f : ToSeconds(mKeys.First().mTime);
}

float MM3DIntegralAggregateFunctionCurve::GetEndTime() const {
  return mKeys.Count() == 0 ? 0.0f : ToSeconds(mKeys.Last().mTime);
}

bool MM3DIntegralAggregateFunctionCurve::Write(UUWriter& writer) const {
  UUGrowableArray<MM3DAggregateCurveKey> converted;
  for (const MM3DIntegralAggregateCurveKey& key : mKeys.GetArray()) {
    converted.Append(FromStored(key));
  }
  MM3DCurveKeys<MM3DAggregateCurveKey> body;
  body.Set(converted);
  return WriteInfinity(writer) && body.Write(writer);
}

bool MM3DIntegralAggregateFunctionCurve::Read(UUReader& reader) {
  if (!ReadInfinity(reader)) return false;
  MM3DCurveKeys<MM3DAggregateCurveKey> body;
  const bool read = body.Read(reader);
  UUGrowableArray<MM3DIntegralAggregateCurveKey> converted;
  for (const MM3DAggregateCurveKey& key : body.GetArray()) converted.Append(ToStored(key));
  SetKeys(converted);
  return read;
}
