#pragma once
// Parametric space curves stored in model files: a polyline (linear), a
// rational B-spline (NURBS) and a piecewise cubic Bezier curve kept as its
// equivalent NURBS. Every spline keeps a table of sample points with their
// parameters and cumulative distances, through which parameters and arc
// lengths convert into each other and closest points are found.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class UUReader;
class UUWriter;

enum MM3DSplineKind : int32_t {
  kMM3DLinearSpline = 0,
  kMM3DNurbSpline = 1,
  kMM3DBezierSpline = 2,
};

// The best candidate of a closest-point search, improved spline by spline.
struct MM3DClosestPoint {
  float mParameter = 0.0f;
  float mDistanceSquared = 0.0f;
  MM3DVector mPoint = MM3DVector(0.0f, 0.0f, 0.0f, 1.0f);
  bool mFound = false;

  // Takes the candidate when it is closer to the query, or the first.
  void Offer(const MM3DVector& query, float parameter, const MM3DVector& point);
};

class MM3DSpline {
 public:
  // The samples per knot span with which every spline builds its tables.
  static constexpr int32_t kSamplesPerSpan = 2;
  // The tolerance of every parameter and distance comparison.
  static constexpr float kTolerance = 0.00001f;

  MM3DSpline() = default;
  virtual ~MM3DSpline() = default;
  MM3DSpline(const MM3DSpline&) = delete;
  MM3DSpline& operator=(const MM3DSpline&) = delete;

  // The total sampled length.
  virtual float GetLength() const;
  virtual void Evaluate(MM3DVector& out, float parameter) const = 0;
  virtual void EvaluateTangent(MM3DVector& out, float parameter) const = 0;
  virtual float ArcLengthAt(float parameter) const = 0;
  virtual float ParameterAtLength(float length) const = 0;
  // Improves best when this spline has a point closer to the query.
  virtual void FindClosestPoint(const MM3DVector& query, float tolerance,
                                MM3DClosestPoint& best) const = 0;
  virtual int32_t GetControlPointCount() const = 0;
  virtual void GetControlPoint(MM3DVector& out, int32_t index) const = 0;
  virtual MM3DSplineKind GetKind() const = 0;
  virtual bool WriteData(UUWriter& writer) const = 0;
  virtual bool ReadData(UUReader& reader) = 0;
  virtual int32_t GetSampleCount(int32_t samplesPerSpan) const = 0;
  // Fills the sample parameters (and, for a polyline, the lengths).
  virtual void ComputeSampleParameters(int32_t samplesPerSpan) = 0;
  // The last sample whose parameter is not after the parameter.
  virtual int32_t FindSample(float parameter) const;
  virtual void BuildSamples(int32_t samplesPerSpan);

  // The int32 kind of the record WriteData writes, then that record.
  bool WriteRecord(UUWriter& writer) const;
  // Reads a kind and the spline's data into a new spline of that kind,
  // which replaces the one held. A kind outside 0 to 2 fails the read and
  // keeps the spline held.
  static bool ReadRecord(UUReader& reader, UUOwned<MM3DSpline>& spline);

  float GetStartParameter() const { return mStartParameter; }
  float GetEndParameter() const { return mEndParameter; }
  float GetParameterRange() const { return mParameterRange; }
  float GetInverseRange() const { return mInverseRange; }
  int32_t GetBuiltSampleCount() const { return mSamples.Count(); }
  float GetSampleParameter(int32_t index) const { return mParameters[index]; }

 protected:
  // The kind written in front of WriteData's record.
  virtual MM3DSplineKind GetRecordKind() const { return GetKind(); }

  UUGrowableArray<float> mLengths;
  UUGrowableArray<float> mParameters;
  UUGrowableArray<MM3DVector> mSamples;
  float mStartParameter = 0.0f;
  float mEndParameter = 0.0f;
  float mParameterRange = 0.0f;
  float mInverseRange = 0.0f;
};

// An empty spline of the kind: 0 linear, 1 NURBS, any other Bezier.
MM3DSpline* MM3DCreateSpline(int32_t kind);

// The distance between the x, y, z of two points.
float MM3DDistance(const MM3DVector& a, const MM3DVector& b);
// The points of a spline record: n x four floats, appended as they are
// read so that a bad count cannot allocate beyond the stream.
bool MM3DReadSplinePoints(UUReader& reader, int32_t count, UUGrowableArray<MM3DVector>& points);
bool MM3DWriteSplinePoints(UUWriter& writer, const UUGrowableArray<MM3DVector>& points);
