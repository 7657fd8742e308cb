#include "mm3d/MM3DAggregateFunctionCurve.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"

namespace {

bool IsOdd(int32_t n) { return n % 2 != 0; }

}  // namespace

bool MM3DFunctionCurveWithInfinity::WriteInfinity(UUWriter& writer) const {
  const int32_t modes[2] = {mPreInfinity, mPostInfinity};
  return writer.WriteInt32s(&modes[0], 1) && writer.WriteInt32s(&modes[1], 1);
}

bool MM3DFunctionCurveWithInfinity::ReadInfinity(UUReader& reader) {
  int32_t mode = 0;
  if (!reader.ReadInt32s(&mode, 1)) return false;
  mPreInfinity = static_cast<MM3DCurveInfinity>(mode);
  if (!reader.ReadInt32s(&mode, 1)) return false;
  mPostInfinity = static_cast<MM3DCurveInfinity>(mode);
  return true;
}

bool MM3DAggregateCurveKey::Write(UUWriter& writer) const {
  const int32_t interpolation = mInterpolation;
  const float fields[4] = {mTime, mValue, mInTangent, mOutTangent};
  return writer.WriteInt32s(&interpolation, 1) && writer.WriteFloats(fields, 4);
}

bool MM3DAggregateCurveKey::Read(UUReader& reader) {
  int32_t interpolation = 0;
  float fields[4];
  if (!reader.ReadInt32s(&interpolation, 1) || !reader.ReadFloats(fields, 4)) return false;
  *this = MM3DAggregateCurveKey(static_cast<MM3DKeyInterpolation>(interpolation), fields[0],
                                fields[1], fields[2], fields[3]);
  return true;
}

MM3DAggregateFunctionCurve::MM3DAggregateFunctionCurve(MM3DCurveValueKind valueKind,
                                                       MM3DCurveInfinity preInfinity,
                                                       MM3DCurveInfinity postInfinity)
    : MM3DFunctionCurveWithInfinity(valueKind, preInfinity, postInfinity) {}

MM3DAggregateFunctionCurve::MM3DAggregateFunctionCurve(UUGrowableArray<MM3DAggregateCurveKey>& keys,
                                                       MM3DCurveValueKind valueKind,
                                                       MM3DCurveInfinity preInfinity,
                                                       MM3DCurveInfinity postInfinity)
    : MM3DFunctionCurveWithInfinity(valueKind, preInfinity, postInfinity) {
  SetKeys(keys);
}

float MM3DAggregateFunctionCurve::EvaluateSegment(const MM3DAggregateCurveKey& p,
                                                  const MM3DAggregateCurveKey& q, float seconds) {
  const float span = q.mTime - p.mTime;
  const float u = (seconds - p.mTime) / span;
  switch (p.mInterpolation) {
    case kMM3DKeyStep:
      return u == 1.0f ? q.mValue : p.mValue;
    case kMM3DKeyLinear:
      return p.mValue + u * (q.mValue - p.mValue);
    case kMM3DKeyHermite: {
      const float u2 = u * u;
      const float u3 = u2 * u;
      return (2.0f * u3 - 3.0f * u2 + 1.0f) * p.mValue + (3.0f * u2 - 2.0f * u3) * q.mValue +
             span * ((u3 - 2.0f * u2 + u) * p.mOutTangent + (u3 - u2) * q.mInTangent);
    }
    default:
      return p.mValue;
  }
}

float MM3DAggregateFunctionCurve::SegmentValue(float seconds) {
  const MM3DKeySegment segment = mKeys.FindSegment(seconds);
  const MM3DAggregateCurveKey& p = mKeys[segment.mFrom];
  if (!segment.mBetween) return p.mValue;
  return EvaluateSegment(p, mKeys[segment.mFrom + 1], seconds);
}

// Before the first key, the cycling modes wrap the time back into the last
// cycle: fmod of a negative offset is negative, so end + remainder lies in
// the keys' range.
float MM3DAggregateFunctionCurve::EvaluateBefore(float seconds) {
  const MM3DAggregateCurveKey& first = mKeys.First();
  const float start = first.mTime;
  const float end = mKeys.Last().mTime;
  const float duration = end - start;
  const float offset = seconds - start;
  const MM3DCurveInfinity mode = GetPreInfinity();
  if (mode == kMM3DInfinityLinear) return first.mValue + offset * first.mOutTangent;
  const bool cycles = mode == kMM3DInfinityCycle || mode == kMM3DInfinityCycleWithOffset ||
                      mode == kMM3DInfinityOscillate;
  // Keys that share one time have no cycle: they hold their value.
  if (!cycles || duration == 0.0f) return first.mValue;
  const float remainder = MM3DMathFunctions.mFmod(offset, duration);
  const float cycle = MM3DMathFunctions.mFloor(offset / duration);
  switch (mode) {
    case kMM3DInfinityCycleWithOffset:
      return SegmentValue(end + remainder) + cycle * (mKeys.Last().mValue - first.mValue);
    case kMM3DInfinityOscillate:
      if (IsOdd(MM3DTruncate(cycle))) return SegmentValue(start - remainder);
      return SegmentValue(end + remainder);
    default:
      return SegmentValue(end + remainder);
  }
}

float MM3DAggregateFunctionCurve::EvaluateAfter(float seconds) {
  const MM3DAggregateCurveKey& last = mKeys.Last();
  const float start = mKeys.First().mTime;
  const float end = last.mTime;
  const float duration = end - start;
  const MM3DCurveInfinity mode = GetPostInfinity();
  if (mode == kMM3DInfinityLinear) return last.mValue + (seconds - end) * last.mInTangent;
  const bool cycles = mode == kMM3DInfinityCycle || mode == kMM3DInfinityCycleWithOffset ||
                      mode == kMM3DInfinityOscillate;
  if (!cycles || duration == 0.0f) return last.mValue;
  const float offset = seconds - start;
  const float remainder = MM3DMathFunctions.mFmod(offset, duration);
  const int32_t cycle = MM3DTruncate(offset / duration);
  switch (mode) {
    case kMM3DInfinityCycleWithOffset:
      return SegmentValue(start + remainder) +
             static_cast<float>(cycle) * (last.mValue - mKeys.First().mValue);
    case kMM3DInfinityOscillate:
      if (IsOdd(cycle)) return SegmentValue(end - remainder);
      return SegmentValue(start + remainder);
    default:
      return SegmentValue(start + remainder);
  }
}

float MM3DAggregateFunctionCurve::Evaluate(float seconds) {
  if (mKeys.Count() == 0) return 0.0f;
  if (seconds < mKeys.First().mTime) return EvaluateBefore(seconds);
  if (seconds > mKeys.Last().mTime) return EvaluateAfter(seconds);
  return SegmentValue(seconds);
}

float MM3DAggregateFunctionCurve::GetStartTime() const {
  return mKeys.Count() == 0 ? 0.0f : mKeys.First().mTime;
}

float MM3DAggregateFunctionCurve::GetEndTime() const {
  return mKeys.Count() == 0 ? 0.0f : mKeys.Last().mTime;
}

bool MM3DAggregateFunctionCurve::Write(UUWriter& writer) const {
  return WriteInfinity(writer) && mKeys.Write(writer);
}

bool MM3DAggregateFunctionCurve::Read(UUReader& reader) {
  return ReadInfinity(reader) && mKeys.Read(reader);
}
