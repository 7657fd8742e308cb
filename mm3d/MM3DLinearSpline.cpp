#include "mm3d/MM3DLinearSpline.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr MM3DVector kUp(0.0f, 1.0f, 0.0f, 0.0f);

}  // namespace

MM3DLinearSpline::MM3DLinearSpline(UUGrowableArray<MM3DVector>& points, bool closed) {
  SetPoints(points, closed);
}

void MM3DLinearSpline::SetPoints(UUGrowableArray<MM3DVector>& points, bool closed) {
  UUGrowableArray<MM3DVector> old;
  old.Swap(mPoints);
  mPoints.Swap(points);
  if (closed && mPoints.Count() > 0) mPoints.Append(MM3DVector(mPoints[0]));
  for (int32_t i = mPoints.Count() - 1; i > 0; --i) {
    if (mPoints[i].Equals(mPoints[i - 1])) mPoints.EraseRange(i, i + 1);
  }
  BuildSamples(kSamplesPerSpan);
}

void MM3DLinearSpline::ComputeSampleParameters(int32_t) {
  mParameters[0] = mLengths[0] = 0.0f;
  for (int32_t i = 1; i < mPoints.Count(); ++i) {
    mParameters[i] = mLengths[i] = mParameters[i - 1] + MM3DDistance(mPoints[i], mPoints[i - 1]);
  }
}

void MM3DLinearSpline::Evaluate(MM3DVector& out, float parameter) const {
  const int32_t n = mPoints.Count();
  if (n == 0) {
    out = kOrigin;
    return;
  }
  const int32_t i = FindSample(parameter);
  out = mPoints[i];
  if (i == n - 1) return;
  float f = parameter - mParameters[i];
  if (std::fabs(f) < kTolerance) return;
  f /= mParameters[i + 1] - mParameters[i];
  if (std::fabs(f) < kTolerance) return;
  MM3DVector step = mPoints[i + 1].Direction(mPoints[i]);
  step.Scale(f);
  out.Add(step);
}

void MM3DLinearSpline::EvaluateTangent(MM3DVector& out, float parameter) const {
  const int32_t n = mPoints.Count();
  if (n < 2) {
    out = kUp;
    return;
  }
  const int32_t i = std::min(FindSample(parameter), n - 2);
  out = mPoints[i + 1].Direction(mPoints[i]);
  out.Divide(mParameters[i + 1] - mParameters[i]);
}

// Each point, then the foot of the perpendicular on the segment after it
// when it falls strictly inside the segment.
void MM3DLinearSpline::FindClosestPoint(const MM3DVector& query, float,
                                        MM3DClosestPoint& best) const {
  const int32_t n = mPoints.Count();
  for (int32_t i = 0; i < n; ++i) {
    best.Offer(query, mParameters[i], mPoints[i]);
    if (i == n - 1) break;
    const MM3DVector segment = mPoints[i + 1].Direction(mPoints[i]);
    const float lengthSquared = segment.LengthSquared();
    const float along = query.Direction(mPoints[i]).Dot(segment);
    if (lengthSquared < kTolerance || std::fabs(along) < kTolerance || !(along > 0.0f) ||
        !(along < lengthSquared)) {
      continue;
    }
    const float candidate = mParameters[i] + along / std::sqrt(lengthSquared);
    MM3DVector point;
    Evaluate(point, candidate);
    best.Offer(query, candidate, point);
  }
}

bool MM3DLinearSpline::WriteData(UUWriter& writer) const {
  const bool closed = false;
  const int32_t count = mPoints.Count();
  return writer.WriteBooleans(&closed, 1) && writer.WriteInt32s(&count, 1) &&
         MM3DWriteSplinePoints(writer, mPoints);
}

bool MM3DLinearSpline::ReadData(UUReader& reader) {
  bool closed = false;
  int32_t count = 0;
  if (!reader.ReadBooleans(&closed, 1) || !reader.ReadInt32s(&count, 1)) return false;
  if (count < 1) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  UUGrowableArray<MM3DVector> points;
  const bool complete = MM3DReadSplinePoints(reader, count, points);
  SetPoints(points, closed && complete);
  return complete;
}
