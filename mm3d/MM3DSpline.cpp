#include "mm3d/MM3DSpline.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DBezierSpline.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DNurbSpline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kReserveLimit = 4096;

template <typename T>
void Resize(UUGrowableArray<T>& array, int32_t count, const T& value) {
  array.EraseRange(0, array.Count());
  array.Insert(0, count, value);
}

}  // namespace

void MM3DClosestPoint::Offer(const MM3DVector& query, float parameter, const MM3DVector& point) {
  const float distanceSquared = point.Direction(query).LengthSquared();
  if (mFound && !(distanceSquared < mDistanceSquared)) return;
  mParameter = parameter;
  mDistanceSquared = distanceSquared;
  mPoint = point;
  mFound = true;
}

float MM3DSpline::GetLength() const {
  return mLengths.Count() == 0 ? 0.0f : mLengths[mLengths.Count() - 1];
}

int32_t MM3DSpline::FindSample(float parameter) const {
  const int32_t n = mParameters.Count();
  if (n == 0) return 0;
  if (std::fabs(mParameters[n - 1] - parameter) < kTolerance) return n - 1;
  int32_t lo = 0;
  int32_t hi = n - 1;
  while (hi - lo > 1) {
    const int32_t mid = (lo + hi) / 2;
    if (mParameters[mid] <= parameter) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

void MM3DSpline::BuildSamples(int32_t samplesPerSpan) {
  const int32_t n = GetSampleCount(samplesPerSpan);
  Resize(mLengths, n, 0.0f);
  Resize(mParameters, n, 0.0f);
  Resize(mSamples, n, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  if (n == 0) {
    mStartParameter = mEndParameter = mParameterRange = mInverseRange = 0.0f;
    return;
  }
  ComputeSampleParameters(samplesPerSpan);
  mStartParameter = mParameters[0];
  mEndParameter = mParameters[n - 1];
  mParameterRange = mEndParameter - mStartParameter;
  mInverseRange = std::fabs(mParameterRange) < kTolerance ? 0.0f : 1.0f / mParameterRange;
  mLengths[0] = 0.0f;
  Evaluate(mSamples[0], mParameters[0]);
  for (int32_t j = 1; j < n; ++j) {
    Evaluate(mSamples[j], mParameters[j]);
    mLengths[j] = mLengths[j - 1] + MM3DDistance(mSamples[j], mSamples[j - 1]);
  }
}

bool MM3DSpline::WriteRecord(UUWriter& writer) const {
  const int32_t kind = GetRecordKind();
  return writer.WriteInt32s(&kind, 1) && WriteData(writer);
}

bool MM3DSpline::ReadRecord(UUReader& reader, UUOwned<MM3DSpline>& spline) {
  int32_t kind = 0;
  if (!reader.ReadInt32s(&kind, 1)) return false;
  if (kind < kMM3DLinearSpline || kind > kMM3DBezierSpline) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  spline.Reset(MM3DCreateSpline(kind));
  return spline->ReadData(reader);
}

MM3DSpline* MM3DCreateSpline(int32_t kind) {
  switch (kind) {
    case kMM3DLinearSpline:
      return new MM3DLinearSpline;
    case kMM3DNurbSpline:
      return new MM3DNurbSpline;
    default:
      return new MM3DBezierSpline;
  }
}

float MM3DDistance(const MM3DVector& a, const MM3DVector& b) {
  return std::sqrt(a.Direction(b).LengthSquared());
}

bool MM3DReadSplinePoints(UUReader& reader, int32_t count, UUGrowableArray<MM3DVector>& points) {
  points.EraseRange(0, points.Count());
  points.Reserve(std::min(count, kReserveLimit));
  for (int32_t i = 0; i < count; ++i) {
    MM3DVector point;
    if (!point.Read(reader)) return false;
    points.Append(point);
  }
  return true;
}

bool MM3DWriteSplinePoints(UUWriter& writer, const UUGrowableArray<MM3DVector>& points) {
  for (const MM3DVector& point : points) {
    if (!point.Write(writer)) return false;
  }
  return true;
}
