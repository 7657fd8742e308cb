#include "mm3d/MM3DBezierSpline.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

namespace {

constexpr int32_t kBezierDegree = 3;

// The point plus an offset, weight 1.
MM3DVector Control(const MM3DVector& point, const MM3DVector* offset) {
  MM3DVector control = point;
  if (offset != nullptr) control.Add(*offset);
  control.mW = 1.0f;
  return control;
}

}  // namespace

MM3DBezierSpline::MM3DBezierSpline(UUGrowableArray<MM3DVector>& keyPoints,
                                   UUGrowableArray<MM3DVector>& tangents, bool closed) {
  SetPoints(keyPoints, tangents, closed);
}

// Segment k runs from key k, along its outgoing tangent, to key k + 1
// against its incoming one. Its four knots repeat the running sum of the
// straight distances between the segments' ends.
void MM3DBezierSpline::SetPoints(UUGrowableArray<MM3DVector>& keyPoints,
                                 UUGrowableArray<MM3DVector>& tangents, bool closed) {
  UUGrowableArray<MM3DVector> oldKeys;
  oldKeys.Swap(mKeyPoints);
  mKeyPoints.Swap(keyPoints);
  UUGrowableArray<MM3DVector> oldTangents;
  oldTangents.Swap(mTangents);
  mTangents.Swap(tangents);
  const int32_t m = mKeyPoints.Count();
  const bool tangentsComplete = mTangents.Count() >= 2 * m;
  const int32_t segments = !tangentsComplete || m == 0 ? 0 : (closed ? m : m - 1);
  UUGrowableArray<MM3DVector> controlPoints;
  UUGrowableArray<float> knots;
  knots.Insert(0, kBezierDegree + 1, 0.0f);
  float distance = 0.0f;
  for (int32_t k = 0; k < segments; ++k) {
    const int32_t next = (k + 1) % m;
    const MM3DVector first = Control(mKeyPoints[k], nullptr);
    const MM3DVector last = Control(mKeyPoints[next], nullptr);
    controlPoints.Append(first);
    controlPoints.Append(Control(mKeyPoints[k], &mTangents[2 * k + 1]));
    controlPoints.Append(Control(mKeyPoints[next], &mTangents[2 * next]));
    controlPoints.Append(last);
    distance += MM3DDistance(first, last);
    knots.Insert(knots.Count(), kBezierDegree + 1, distance);
  }
  SetCurve(kBezierDegree, controlPoints, knots, false);
}

bool MM3DBezierSpline::ReadData(UUReader& reader) {
  bool closed = false;
  int32_t count = 0;
  if (!reader.ReadBooleans(&closed, 1) || !reader.ReadInt32s(&count, 1)) return false;
  if (count < (closed ? 1 : 2) || count > INT32_MAX / 2) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  UUGrowableArray<MM3DVector> keyPoints;
  UUGrowableArray<MM3DVector> tangents;
  const bool complete = MM3DReadSplinePoints(reader, count, keyPoints) &&
                        MM3DReadSplinePoints(reader, 2 * count, tangents);
  SetPoints(keyPoints, tangents, closed);
  return complete;
}
