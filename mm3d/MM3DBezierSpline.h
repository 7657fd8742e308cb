#pragma once
// A piecewise cubic Bezier curve through key points with an incoming and an
// outgoing tangent at each (spline kind 2), kept as its equivalent degree-3
// NURBS, each segment an independent cubic over its own parameter
// interval.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DNurbSpline.h"

class MM3DBezierSpline : public MM3DNurbSpline {
 public:
  MM3DBezierSpline() = default;
  // Takes the key points and tangents (two per key point) over.
  MM3DBezierSpline(UUGrowableArray<MM3DVector>& keyPoints, UUGrowableArray<MM3DVector>& tangents,
                   bool closed);

  // Builds the NURBS of m - 1 segments, or m when closed (the last one
  // returning to the first key point).
  void SetPoints(UUGrowableArray<MM3DVector>& keyPoints, UUGrowableArray<MM3DVector>& tangents,
                 bool closed);

  MM3DSplineKind GetKind() const override { return kMM3DBezierSpline; }
  // Closed, the int32 key point count, the key points and 2n tangents. A
  // record that makes no segment fails.
  bool ReadData(UUReader& reader) override;

 protected:
  // The record written is the NURBS record of the equivalent curve, so it
  // is announced as a NURBS: every reader reads it back as the same curve.
  MM3DSplineKind GetRecordKind() const override { return kMM3DNurbSpline; }

 private:
  UUGrowableArray<MM3DVector> mKeyPoints;
  UUGrowableArray<MM3DVector> mTangents;
};
