#pragma once
// A rational B-spline (spline kind 1): degree p, n control points whose w
// is their weight, and n + p + 1 non-decreasing knots.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DSpline.h"

#include <cstdint>

class MM3DNurbSpline : public MM3DSpline {
 public:
  // The highest degree a spline record may carry.
  static constexpr int32_t kMaxDegree = 15;

  MM3DNurbSpline() = default;
  // Takes the control points and knots over. Closed knots hold n + 1
  // values whose last repeats for the other p.
  MM3DNurbSpline(int32_t degree, UUGrowableArray<MM3DVector>& controlPoints,
                 UUGrowableArray<float>& knots, bool closed);

  // The point on the curve, w 1; the origin where the weights cancel.
  void Evaluate(MM3DVector& out, float parameter) const override;
  // The unit derivative of the rational curve, w 0.
  void EvaluateTangent(MM3DVector& out, float parameter) const override;
  float ArcLengthAt(float parameter) const override;
  float ParameterAtLength(float length) const override;
  // Walks the samples and refines, by halving, the intervals where the
  // direction to the query turns from ahead to behind.
  void FindClosestPoint(const MM3DVector& query, float tolerance,
                        MM3DClosestPoint& best) const override;
  int32_t GetControlPointCount() const override { return mControlPoints.Count(); }
  void GetControlPoint(MM3DVector& out, int32_t index) const override {
    out = mControlPoints[index];
  }
  MM3DSplineKind GetKind() const override { return kMM3DNurbSpline; }
  // Degree, closed (written 0), count, control points and all knots.
  bool WriteData(UUWriter& writer) const override;
  // A degree outside 1 to kMaxDegree, or not below the control point
  // count, fails the read.
  bool ReadData(UUReader& reader) override;
  int32_t GetSampleCount(int32_t samplesPerSpan) const override;
  void ComputeSampleParameters(int32_t samplesPerSpan) override;

  int32_t GetDegree() const { return mDegree; }

 protected:
  // Takes the curve over and builds the samples; knots missing from a
  // closed knot vector repeat its last value.
  void SetCurve(int32_t degree, UUGrowableArray<MM3DVector>& controlPoints,
                UUGrowableArray<float>& knots, bool closed);

 private:
  // Whether degree, control points and knots fit together, so that every
  // evaluation stays inside the arrays.
  bool IsWellFormed() const;
  // The knot span of a parameter, in [p, n - 1].
  int32_t FindSpan(float parameter) const;
  // The samples of span i (0 for an empty span).
  int32_t SpanSampleCount(int32_t span, int32_t samplesPerSpan) const;
  // The basis functions of the span at the parameter and, when wanted,
  // their first derivatives.
  void Basis(int32_t span, float parameter, float* values, float* derivatives) const;
  // Offers the point found by halving [from, to] toward the query.
  void Refine(const MM3DVector& query, float tolerance, float from, float to,
              MM3DClosestPoint& best) const;

  int32_t mDegree = 0;
  UUGrowableArray<MM3DVector> mControlPoints;
  UUGrowableArray<float> mKnots;
};
