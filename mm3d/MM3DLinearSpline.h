#pragma once
// A polyline through its points (spline kind 0). A point's parameter is
// its cumulative distance along the line, so parameter and arc length are
// one.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DSpline.h"

class MM3DLinearSpline : public MM3DSpline {
 public:
  MM3DLinearSpline() = default;
  // Takes the points over; closed appends a copy of the first point.
  MM3DLinearSpline(UUGrowableArray<MM3DVector>& points, bool closed);

  void Evaluate(MM3DVector& out, float parameter) const override;
  void EvaluateTangent(MM3DVector& out, float parameter) const override;
  float ArcLengthAt(float parameter) const override { return parameter; }
  float ParameterAtLength(float length) const override { return length; }
  // The tolerance is not used: the nearest point of each segment is found
  // directly.
  void FindClosestPoint(const MM3DVector& query, float tolerance,
                        MM3DClosestPoint& best) const override;
  int32_t GetControlPointCount() const override { return mPoints.Count(); }
  void GetControlPoint(MM3DVector& out, int32_t index) const override { out = mPoints[index]; }
  MM3DSplineKind GetKind() const override { return kMM3DLinearSpline; }
  // Closed (written 0), the int32 count and the points.
  bool WriteData(UUWriter& writer) const override;
  // A record without points fails.
  bool ReadData(UUReader& reader) override;
  int32_t GetSampleCount(int32_t) const override { return mPoints.Count(); }
  void ComputeSampleParameters(int32_t samplesPerSpan) override;

 private:
  // Takes the points over, closes them when asked, drops every point equal
  // to the one before it and builds the samples.
  void SetPoints(UUGrowableArray<MM3DVector>& points, bool closed);

  UUGrowableArray<MM3DVector> mPoints;
};
