#include "mm3d/MM3DNurbSpline.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr int32_t kMaxOrder = MM3DNurbSpline::kMaxDegree + 1;
constexpr int32_t kParameterRounds = 5;
// Halving stops here even when the caller's tolerance is never met (0, or
// a curve that jumps): far more halvings than a float interval allows.
constexpr int32_t kMaxHalvings = 160;

bool Near(float a, float b) { return std::fabs(a - b) < MM3DSpline::kTolerance; }

// The weighted sum of the control points of a span, and of its weights.
struct WeightedSum {
  MM3DVector mPoint = MM3DVector(0.0f, 0.0f, 0.0f, 0.0f);
  float mWeight = 0.0f;
};

WeightedSum Sum(const UUGrowableArray<MM3DVector>& points, int32_t first, const float* basis,
                int32_t order) {
  WeightedSum sum;
  for (int32_t k = 0; k < order; ++k) {
    const MM3DVector& point = points[first + k];
    const float factor = basis[k] * point.mW;
    MM3DVector scaled = point;
    scaled.Scale(factor);
    sum.mPoint.Add(scaled);
    sum.mWeight += factor;
  }
  return sum;
}

}  // namespace

MM3DNurbSpline::MM3DNurbSpline(int32_t degree, UUGrowableArray<MM3DVector>& controlPoints,
                               UUGrowableArray<float>& knots, bool closed) {
  SetCurve(degree, controlPoints, knots, closed);
}

void MM3DNurbSpline::SetCurve(int32_t degree, UUGrowableArray<MM3DVector>& controlPoints,
                              UUGrowableArray<float>& knots, bool closed) {
  mDegree = degree;
  UUGrowableArray<MM3DVector> oldPoints;
  oldPoints.Swap(mControlPoints);
  mControlPoints.Swap(controlPoints);
  UUGrowableArray<float> oldKnots;
  oldKnots.Swap(mKnots);
  mKnots.Swap(knots);
  const int32_t wanted = mControlPoints.Count() + mDegree + 1;
  if (closed && mKnots.Count() > 0 && mKnots.Count() < wanted) {
    mKnots.Insert(mKnots.Count(), wanted - mKnots.Count(), mKnots[mKnots.Count() - 1]);
  }
  BuildSamples(kSamplesPerSpan);
}

bool MM3DNurbSpline::IsWellFormed() const {
  const int32_t n = mControlPoints.Count();
  return mDegree >= 1 && mDegree <= kMaxDegree && mDegree < n && mKnots.Count() == n + mDegree + 1;
}

// A binary search kept inside [p, n - 1], so that a parameter outside the
// knots, or knots out of order, still give a span with control points.
int32_t MM3DNurbSpline::FindSpan(float parameter) const {
  const int32_t n = mControlPoints.Count();
  if (Near(mKnots[n], parameter)) return n - 1;
  int32_t lo = mDegree;
  int32_t hi = n;
  while (hi - lo > 1) {
    const int32_t mid = (lo + hi) / 2;
    if (parameter < mKnots[mid]) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return lo;
}

// The Cox-de Boor recursion, keeping the triangle of partial results that
// the derivatives need: table[j][r] for r < j holds the knot differences,
// table[r][j] the basis functions of degree j.
void MM3DNurbSpline::Basis(int32_t span, float parameter, float* values, float* derivatives) const {
  const int32_t p = mDegree;
  float left[kMaxOrder];
  float right[kMaxOrder];
  float table[kMaxOrder][kMaxOrder];
  table[0][0] = 1.0f;
  for (int32_t j = 1; j <= p; ++j) {
    left[j] = parameter - mKnots[span + 1 - j];
    right[j] = mKnots[span + j] - parameter;
    float saved = 0.0f;
    for (int32_t r = 0; r < j; ++r) {
      table[j][r] = right[r + 1] + left[j - r];
      const float temp = table[r][j - 1] / table[j][r];
      table[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    table[j][j] = saved;
  }
  for (int32_t r = 0; r <= p; ++r) values[r] = table[r][p];
  if (derivatives == nullptr) return;
  for (int32_t r = 0; r <= p; ++r) {
    float d = 0.0f;
    if (r >= 1) d += table[r - 1][p - 1] / table[p][r - 1];
    if (r <= p - 1) d -= table[r][p - 1] / table[p][r];
    derivatives[r] = static_cast<float>(p) * d;
  }
}

void MM3DNurbSpline::Evaluate(MM3DVector& out, float parameter) const {
  out = kOrigin;
  if (!IsWellFormed()) return;
  const int32_t span = FindSpan(parameter);
  float basis[kMaxOrder];
  Basis(span, parameter, basis, nullptr);
  const WeightedSum sum = Sum(mControlPoints, span - mDegree, basis, mDegree + 1);
  if (std::fabs(sum.mWeight) < kTolerance) return;
  out = sum.mPoint;
  out.Divide(sum.mWeight);
  out.mW = 1.0f;
}

// (A' - W' C) / W with A the weighted point sum, W the weight sum and C
// the curve point A / W.
void MM3DNurbSpline::EvaluateTangent(MM3DVector& out, float parameter) const {
  out = MM3DVector(0.0f, 0.0f, 0.0f, 0.0f);
  if (!IsWellFormed()) return;
  const int32_t span = FindSpan(parameter);
  float basis[kMaxOrder];
  float derivatives[kMaxOrder];
  Basis(span, parameter, basis, derivatives);
  const int32_t first = span - mDegree;
  const WeightedSum sum = Sum(mControlPoints, first, basis, mDegree + 1);
  const WeightedSum derivative = Sum(mControlPoints, first, derivatives, mDegree + 1);
  MM3DVector point = sum.mPoint;
  point.Divide(sum.mWeight);
  point.Scale(derivative.mWeight);
  out = derivative.mPoint;
  out.Subtract(point);
  out.Divide(sum.mWeight);
  const float length = std::sqrt(out.LengthSquared());
  if (length > 0.0f) out.Divide(length);
  out.mW = 0.0f;
}

int32_t MM3DNurbSpline::SpanSampleCount(int32_t span, int32_t samplesPerSpan) const {
  if (!(mKnots[span + 1] > mKnots[span])) return 0;
  if (mDegree == 1) return 1;
  int32_t count = samplesPerSpan;
  if (Near(mKnots[span], mKnots[span - 1])) count *= 2;
  if (Near(mKnots[span + 2], mKnots[span + 1])) count += samplesPerSpan;
  return count;
}

int32_t MM3DNurbSpline::GetSampleCount(int32_t samplesPerSpan) const {
  const int32_t n = mControlPoints.Count();
  if (n == 0) return 0;
  if (!IsWellFormed()) return 1;
  int32_t count = 1;
  for (int32_t span = mDegree; span < n; ++span) count += SpanSampleCount(span, samplesPerSpan);
  return count;
}

void MM3DNurbSpline::ComputeSampleParameters(int32_t samplesPerSpan) {
  if (!IsWellFormed()) {
    const bool hasKnot = mDegree >= 0 && mDegree < mKnots.Count();
    mParameters[0] = hasKnot ? mKnots[mDegree] : 0.0f;
    return;
  }
  int32_t next = 0;
  mParameters[next++] = mKnots[mDegree];
  for (int32_t span = mDegree; span < mControlPoints.Count(); ++span) {
    const int32_t count = SpanSampleCount(span, samplesPerSpan);
    if (count == 0) continue;
    const float step = (mKnots[span + 1] - mKnots[span]) / static_cast<float>(count);
    for (int32_t j = 1; j < count; ++j) {
      mParameters[next++] = mKnots[span] + static_cast<float>(j) * step;
    }
    mParameters[next++] = mKnots[span + 1];
  }
}

float MM3DNurbSpline::ArcLengthAt(float parameter) const {
  if (mSamples.Count() == 0) return 0.0f;
  const int32_t i = FindSample(parameter);
  MM3DVector point;
  Evaluate(point, parameter);
  return std::min(GetLength(), mLengths[i] + MM3DDistance(point, mSamples[i]));
}

// Brackets the length between two samples, then alternates a secant step
// with a step three quarters (or a quarter) into the bracket, for at most
// five rounds.
float MM3DNurbSpline::ParameterAtLength(float length) const {
  const float total = GetLength();
  if (std::fabs(length) < kTolerance || std::fabs(total) < kTolerance) return mStartParameter;
  if (std::fabs(total - length) < kTolerance) return mEndParameter;
  const int32_t n = mLengths.Count();
  if (n < 2) return mStartParameter;
  int32_t lo = 0;
  int32_t hi = n - 1;
  while (hi - lo > 1) {
    const int32_t mid = (lo + hi) / 2;
    if (mLengths[mid] <= length) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  float tLo = mParameters[lo];
  float tHi = mParameters[hi];
  float sLo = mLengths[lo];
  float sHi = mLengths[hi];
  float t = tLo;
  for (int32_t round = 1; round <= kParameterRounds; ++round) {
    if (round % 2 == 1) {
      t = tLo + (tHi - tLo) * (length - sLo) / (sHi - sLo);
      if (round == kParameterRounds) return t;
    } else {
      const float share = std::fabs(t - tLo) >= kTolerance ? 0.75f : 0.25f;
      t = tLo + share * (tHi - tLo);
    }
    MM3DVector point;
    Evaluate(point, t);
    const float estimate = mLengths[lo] + MM3DDistance(point, mSamples[lo]);
    if (std::fabs(length - estimate) < kTolerance) return t;
    if (length < estimate) {
      tHi = t;
      sHi = estimate;
    } else {
      tLo = t;
      sLo = estimate;
    }
  }
  return t;
}

void MM3DNurbSpline::Refine(const MM3DVector& query, float tolerance, float from, float to,
                            MM3DClosestPoint& best) const {
  MM3DVector previous;
  Evaluate(previous, from);
  float middle = (from + to) / 2.0f;
  MM3DVector point;
  Evaluate(point, middle);
  for (int32_t halving = 0;
       halving < kMaxHalvings && point.Direction(previous).LengthSquared() >= tolerance;
       ++halving) {
    MM3DVector tangent;
    EvaluateTangent(tangent, middle);
    if (query.Direction(point).Dot(tangent) >= 0.0f) {
      from = middle;
    } else {
      to = middle;
    }
    middle = (from + to) / 2.0f;
    previous = point;
    Evaluate(point, middle);
  }
  best.Offer(query, middle, point);
}

// Two bits per sample: whether the query lies behind the sample along the
// segment before it and along the segment after it. A sample whose bits
// show the query ahead on one side and behind on the other brackets a
// closest point in the intervals around it.
void MM3DNurbSpline::FindClosestPoint(const MM3DVector& query, float tolerance,
                                      MM3DClosestPoint& best) const {
  const int32_t n = mSamples.Count();
  if (n == 0) return;
  best.Offer(query, mParameters[0], mSamples[0]);
  if (n == 1) return;
  const auto behind = [&](int32_t at, int32_t from, int32_t to) {
    return query.Direction(mSamples[at]).Dot(mSamples[to].Direction(mSamples[from])) < 0.0f;
  };
  uint32_t flags = behind(0, 0, 1) ? 3 : 0;
  bool refined = false;
  for (int32_t i = 1; i < n; ++i) {
    const bool last = i == n - 1;
    if (behind(i, i - 1, i)) flags += 4;
    if (!last && behind(i, i, i + 1)) flags += 8;
    if (flags >= 4 && flags <= 12) {
      if (!refined) Refine(query, tolerance, mParameters[i - 1], mParameters[i], best);
      if (!last) {
        Refine(query, tolerance, mParameters[i], mParameters[i + 1], best);
        refined = true;
      }
    } else {
      refined = false;
    }
    if (last) best.Offer(query, mParameters[i], mSamples[i]);
    flags >>= 2;
  }
}

bool MM3DNurbSpline::WriteData(UUWriter& writer) const {
  const int32_t degree = mDegree;
  const bool closed = false;
  const int32_t count = mControlPoints.Count();
  return writer.WriteInt32s(&degree, 1) && writer.WriteBooleans(&closed, 1) &&
         writer.WriteInt32s(&count, 1) && MM3DWriteSplinePoints(writer, mControlPoints) &&
         writer.WriteFloats(mKnots.Begin(), static_cast<uint32_t>(mKnots.Count()));
}

bool MM3DNurbSpline::ReadData(UUReader& reader) {
  int32_t degree = 0;
  bool closed = false;
  int32_t count = 0;
  if (!reader.ReadInt32s(&degree, 1) || !reader.ReadBooleans(&closed, 1) ||
      !reader.ReadInt32s(&count, 1)) {
    return false;
  }
  if (degree < 1 || degree > kMaxDegree || count <= degree) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  UUGrowableArray<MM3DVector> points;
  UUGrowableArray<float> knots;
  bool complete = MM3DReadSplinePoints(reader, count, points);
  // In 64 bits: a hostile count near the limit must not wrap the sum.
  const int64_t stored = closed ? int64_t{count} + 1 : int64_t{count} + degree + 1;
  for (int64_t i = 0; complete && i < stored; ++i) {
    float knot = 0.0f;
    complete = reader.ReadFloats(&knot, 1);
    if (complete) knots.Append(knot);
  }
  SetCurve(degree, points, knots, closed);
  return complete;
}
