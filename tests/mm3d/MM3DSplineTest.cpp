#include "mm3d/MM3DSpline.h"

#include "mm3d/MM3DBezierSpline.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DNurbSpline.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

constexpr float kTolerance = 1e-4f;

template <typename T>
void Fill(UUGrowableArray<T>& array, std::initializer_list<T> values) {
  for (const T& value : values) array.Append(value);
}

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected,
                float tolerance = kTolerance) {
  EXPECT_NEAR(actual.mX, expected.mX, tolerance);
  EXPECT_NEAR(actual.mY, expected.mY, tolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, tolerance);
}

MM3DVector At(const MM3DSpline& spline, float t) {
  MM3DVector out;
  spline.Evaluate(out, t);
  return out;
}

// A quarter circle of radius 1 in the xy plane as a rational quadratic.
MM3DNurbSpline QuarterCircle() {
  const float w = std::sqrt(0.5f);
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{1, 0, 0, 1}, {1, 1, 0, w}, {0, 1, 0, 1}});
  UUGrowableArray<float> knots;
  Fill<float>(knots, {0, 0, 0, 1, 1, 1});
  return MM3DNurbSpline(2, points, knots, false);
}

// Two cubic segments: (0,0,0) to (3,0,0) to (3,3,0), straight tangents.
MM3DBezierSpline TwoSegments(bool closed) {
  UUGrowableArray<MM3DVector> keys;
  Fill<MM3DVector>(keys, {{0, 0, 0, 1}, {3, 0, 0, 1}, {3, 3, 0, 1}});
  UUGrowableArray<MM3DVector> tangents;
  Fill<MM3DVector>(
      tangents,
      {{0, 0, 0, 0}, {1, 0, 0, 0}, {-1, 0, 0, 0}, {0, 1, 0, 0}, {0, -1, 0, 0}, {0, 0, 0, 0}});
  return MM3DBezierSpline(keys, tangents, closed);
}

std::vector<uint8_t> Record(const MM3DSpline& spline) {
  ByteWriter writer;
  EXPECT_TRUE(spline.WriteRecord(writer));
  return writer.mBytes;
}

bool ReadBack(std::vector<uint8_t> bytes, UUOwned<MM3DSpline>& spline) {
  ByteReader reader(std::move(bytes));
  return MM3DSpline::ReadRecord(reader, spline);
}

TEST(MM3DSplineTest, LinearParametersAreDistances) {
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{0, 0, 0, 1}, {3, 4, 0, 1}});
  const MM3DLinearSpline spline(points, false);
  EXPECT_EQ(spline.GetStartParameter(), 0.0f);
  EXPECT_EQ(spline.GetEndParameter(), 5.0f);
  EXPECT_EQ(spline.GetLength(), 5.0f);
  EXPECT_EQ(spline.GetInverseRange(), 0.2f);
  ExpectNear(At(spline, 2.5f), {1.5f, 2, 0, 1});
  EXPECT_EQ(spline.ArcLengthAt(2.5f), 2.5f);
  EXPECT_EQ(spline.ParameterAtLength(4.0f), 4.0f);
  MM3DVector tangent;
  spline.EvaluateTangent(tangent, 5.0f);
  ExpectNear(tangent, {0.6f, 0.8f, 0, 0});
  EXPECT_EQ(tangent.mW, 0.0f);
}

TEST(MM3DSplineTest, ASinglePointSplineHoldsAndPointsUp) {
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{1, 2, 3, 1}});
  const MM3DLinearSpline spline(points, false);
  EXPECT_TRUE(At(spline, -4).Equals(MM3DVector(1, 2, 3, 1)));
  EXPECT_TRUE(At(spline, 9).Equals(MM3DVector(1, 2, 3, 1)));
  MM3DVector tangent;
  spline.EvaluateTangent(tangent, 0);
  ExpectNear(tangent, {0, 1, 0, 0});
}

TEST(MM3DSplineTest, ReadingALinearRecordDropsRepeatsAndCloses) {
  const MM3DVector a(0, 0, 0, 1);
  const MM3DVector b(1, 0, 0, 1);
  const MM3DVector c(1, 1, 0, 1);
  const auto record = [](bool closed, std::initializer_list<MM3DVector> points) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, kMM3DLinearSpline);
    bytes.push_back(closed ? 1 : 0);
    AppendInt32(bytes, static_cast<int32_t>(points.size()));
    for (const MM3DVector& p : points) {
      for (float f : {p.mX, p.mY, p.mZ, p.mW}) AppendFloat(bytes, f);
    }
    return bytes;
  };
  UUOwned<MM3DSpline> spline;
  ASSERT_TRUE(ReadBack(record(false, {a, a, b}), spline));
  ASSERT_EQ(spline->GetControlPointCount(), 2);
  MM3DVector point;
  spline->GetControlPoint(point, 1);
  EXPECT_TRUE(point.Equals(b));
  ASSERT_TRUE(ReadBack(record(true, {a, b, c}), spline));
  ASSERT_EQ(spline->GetControlPointCount(), 4);
  spline->GetControlPoint(point, 3);
  EXPECT_TRUE(point.Equals(a));
  EXPECT_FLOAT_EQ(spline->GetLength(), 2.0f + std::sqrt(2.0f));
}

TEST(MM3DSplineTest, LinearClosestPointOnASegmentAndAtACorner) {
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{0, 0, 0, 1}, {4, 0, 0, 1}, {4, 4, 0, 1}});
  const MM3DLinearSpline spline(points, false);
  MM3DClosestPoint best;
  spline.FindClosestPoint({1, 2, 0, 1}, 0, best);
  ASSERT_TRUE(best.mFound);
  EXPECT_FLOAT_EQ(best.mParameter, 1.0f);
  EXPECT_FLOAT_EQ(best.mDistanceSquared, 4.0f);
  MM3DClosestPoint corner;
  spline.FindClosestPoint({5, -1, 0, 1}, 0, corner);
  EXPECT_FLOAT_EQ(corner.mParameter, 4.0f);
  ExpectNear(corner.mPoint, {4, 0, 0, 1});
  // A candidate that is already closer is kept.
  MM3DClosestPoint closer;
  closer.mFound = true;
  closer.mDistanceSquared = 0.5f;
  closer.mParameter = -7;
  spline.FindClosestPoint({1, 2, 0, 1}, 0, closer);
  EXPECT_EQ(closer.mParameter, -7.0f);
}

TEST(MM3DSplineTest, NurbsSampleCountFollowsEmptySpans) {
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 0, 0, 1}, {3, 1, 0, 1}});
  UUGrowableArray<float> knots;
  Fill<float>(knots, {0, 0, 0, 1, 2, 2, 2});
  const MM3DNurbSpline spline(2, points, knots, false);
  EXPECT_EQ(spline.GetSampleCount(2), 9);
  ASSERT_EQ(spline.GetBuiltSampleCount(), 9);
  EXPECT_EQ(spline.GetSampleParameter(0), 0.0f);
  EXPECT_EQ(spline.GetSampleParameter(1), 0.25f);
  EXPECT_EQ(spline.GetSampleParameter(4), 1.0f);
  EXPECT_EQ(spline.GetSampleParameter(8), 2.0f);
  // Clamped knots: the curve starts and ends on its end control points.
  ExpectNear(At(spline, 0), {0, 0, 0, 1});
  ExpectNear(At(spline, 2), {3, 1, 0, 1});
}

TEST(MM3DSplineTest, RationalQuarterCircleLiesOnTheCircle) {
  const MM3DNurbSpline circle = QuarterCircle();
  for (float t = 0; t <= 1; t += 0.125f) {
    const MM3DVector point = At(circle, t);
    EXPECT_NEAR(std::sqrt(point.LengthSquared()), 1.0f, 1e-6f) << t;
    EXPECT_EQ(point.mW, 1.0f);
    MM3DVector tangent;
    circle.EvaluateTangent(tangent, t);
    // The tangent of a circle is perpendicular to the radius, unit long.
    EXPECT_NEAR(tangent.Dot(point), 0.0f, 1e-5f) << t;
    EXPECT_NEAR(tangent.LengthSquared(), 1.0f, 1e-5f);
  }
  // Sampled by chords, the length comes close to a quarter of 2 pi.
  EXPECT_NEAR(circle.GetLength(), 1.5707964f, 0.01f);
}

TEST(MM3DSplineTest, WeightsThatCancelGiveTheOrigin) {
  UUGrowableArray<MM3DVector> points;
  Fill<MM3DVector>(points, {{5, 5, 5, 1}, {7, 7, 7, -1}});
  UUGrowableArray<float> knots;
  Fill<float>(knots, {0, 0, 1, 1});
  const MM3DNurbSpline spline(1, points, knots, false);
  EXPECT_TRUE(At(spline, 0.5f).Equals(MM3DVector(0, 0, 0, 1)));
}

TEST(MM3DSplineTest, ArcLengthAndParameterInvertEachOther) {
  const MM3DNurbSpline circle = QuarterCircle();
  EXPECT_EQ(circle.ParameterAtLength(0), circle.GetStartParameter());
  EXPECT_EQ(circle.ParameterAtLength(circle.GetLength()), circle.GetEndParameter());
  for (float t : {0.1f, 0.37f, 0.5f, 0.81f}) {
    const float length = circle.ArcLengthAt(t);
    EXPECT_NEAR(circle.ParameterAtLength(length), t, 1e-3f) << t;
  }
  EXPECT_LE(circle.ArcLengthAt(5.0f), circle.GetLength());
}

TEST(MM3DSplineTest, NurbsClosestPointOfACircle) {
  const MM3DNurbSpline circle = QuarterCircle();
  for (float angle : {0.3f, 0.7854f, 1.2f}) {
    const MM3DVector query(2 * std::cos(angle), 2 * std::sin(angle), 0, 1);
    MM3DClosestPoint best;
    circle.FindClosestPoint(query, 1e-10f, best);
    ASSERT_TRUE(best.mFound);
    ExpectNear(best.mPoint, {std::cos(angle), std::sin(angle), 0, 1}, 1e-3f);
    EXPECT_NEAR(best.mDistanceSquared, 1.0f, 1e-3f);
  }
  // A query beyond an end finds that end.
  MM3DClosestPoint end;
  circle.FindClosestPoint({2, -3, 0, 1}, 1e-10f, end);
  ExpectNear(end.mPoint, {1, 0, 0, 1});
}

TEST(MM3DSplineTest, AToleranceOfZeroStillEnds) {
  const MM3DNurbSpline circle = QuarterCircle();
  MM3DClosestPoint best;
  circle.FindClosestPoint({2, 1, 0, 1}, 0, best);
  EXPECT_TRUE(best.mFound);
}

TEST(MM3DSplineTest, BezierSegmentsAreIndependentCubics) {
  const MM3DBezierSpline spline = TwoSegments(false);
  EXPECT_EQ(spline.GetDegree(), 3);
  EXPECT_EQ(spline.GetControlPointCount(), 8);
  EXPECT_EQ(spline.GetEndParameter(), 6.0f);
  ExpectNear(At(spline, 0), {0, 0, 0, 1});
  ExpectNear(At(spline, 3), {3, 0, 0, 1});
  ExpectNear(At(spline, 6), {3, 3, 0, 1});
  // The middle of the first segment: (P0 + 3 P1 + 3 P2 + P3) / 8 with the
  // control points 0, 1, 2, 3 along x.
  ExpectNear(At(spline, 1.5f), {1.5f, 0, 0, 1});
  const MM3DBezierSpline closed = TwoSegments(true);
  EXPECT_EQ(closed.GetControlPointCount(), 12);
  ExpectNear(At(closed, closed.GetEndParameter()), {0, 0, 0, 1});
}

TEST(MM3DSplineTest, RecordsRoundTrip) {
  UUGrowableArray<MM3DVector> linearPoints;
  Fill<MM3DVector>(linearPoints, {{0, 0, 0, 1}, {3, 4, 0, 1}, {3, 4, 2, 1}});
  const MM3DLinearSpline linear(linearPoints, false);
  const MM3DNurbSpline circle = QuarterCircle();
  for (const MM3DSpline* spline : std::initializer_list<const MM3DSpline*>{&linear, &circle}) {
    UUOwned<MM3DSpline> read;
    ASSERT_TRUE(ReadBack(Record(*spline), read));
    EXPECT_EQ(read->GetKind(), spline->GetKind());
    EXPECT_EQ(read->GetLength(), spline->GetLength());
    for (float t = 0; t <= 1; t += 0.25f) {
      EXPECT_TRUE(At(*read, t * spline->GetEndParameter())
                      .Equals(At(*spline, t * spline->GetEndParameter())));
    }
  }
}

// The Bezier record cannot be read back by its own reader; the spline is
// written as the NURBS it is kept as, and reads back as that same curve.
TEST(MM3DSplineTest, ABezierSplineIsWrittenAsItsNurbs) {
  const MM3DBezierSpline bezier = TwoSegments(true);
  const std::vector<uint8_t> bytes = Record(bezier);
  int32_t kind;
  std::memcpy(&kind, bytes.data(), 4);
  EXPECT_EQ(kind, kMM3DNurbSpline);
  UUOwned<MM3DSpline> read;
  ASSERT_TRUE(ReadBack(bytes, read));
  EXPECT_EQ(read->GetKind(), kMM3DNurbSpline);
  for (float t = 0; t <= bezier.GetEndParameter(); t += 0.5f) {
    EXPECT_TRUE(At(*read, t).Equals(At(bezier, t))) << t;
  }
}

TEST(MM3DSplineTest, ReadingABezierRecord) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kMM3DBezierSpline);
  bytes.push_back(0);
  AppendInt32(bytes, 2);
  for (float f : {0.f, 0.f, 0.f, 1.f, 3.f, 0.f, 0.f, 1.f}) AppendFloat(bytes, f);
  for (float f :
       {0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, -1.f, 0.f, 0.f, 0.f, 0.f, 0.f, 0.f, 0.f}) {
    AppendFloat(bytes, f);
  }
  UUOwned<MM3DSpline> spline;
  ASSERT_TRUE(ReadBack(bytes, spline));
  EXPECT_EQ(spline->GetKind(), kMM3DBezierSpline);
  ExpectNear(At(*spline, 1.5f), {1.5f, 0, 0, 1});
}

TEST(MM3DSplineTest, ReadingAClosedNurbsRepeatsTheLastKnot) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kMM3DNurbSpline);
  AppendInt32(bytes, 1);
  bytes.push_back(1);
  AppendInt32(bytes, 2);
  for (float f : {0.f, 0.f, 0.f, 1.f, 2.f, 0.f, 0.f, 1.f}) AppendFloat(bytes, f);
  for (float f : {0.f, 0.f, 1.f}) AppendFloat(bytes, f);
  UUOwned<MM3DSpline> spline;
  ByteReader reader(bytes);
  ASSERT_TRUE(MM3DSpline::ReadRecord(reader, spline));
  EXPECT_EQ(reader.Remaining(), 0u);
  ExpectNear(At(*spline, 0.5f), {1, 0, 0, 1});
}

struct BadRecord {
  const char* mName;
  std::vector<uint8_t> mBytes;
};

std::vector<uint8_t> Header(std::initializer_list<int32_t> ints, int closedAt, bool closed) {
  std::vector<uint8_t> bytes;
  int index = 0;
  for (int32_t value : ints) {
    if (index++ == closedAt) bytes.push_back(closed ? 1 : 0);
    AppendInt32(bytes, value);
  }
  bytes.insert(bytes.end(), 64, 0);
  return bytes;
}

TEST(MM3DSplineTest, BadKindsAndCountsFailTheRead) {
  const BadRecord cases[] = {
      {"unknown kind", Header({3}, -1, false)},
      {"negative kind", Header({-1}, -1, false)},
      {"linear without points", Header({kMM3DLinearSpline, 0}, 1, false)},
      {"linear negative count", Header({kMM3DLinearSpline, -5}, 1, false)},
      {"nurbs degree 0", Header({kMM3DNurbSpline, 0, 3}, 2, false)},
      {"nurbs degree too high", Header({kMM3DNurbSpline, 16, 20}, 2, false)},
      {"nurbs degree not below count", Header({kMM3DNurbSpline, 3, 3}, 2, false)},
      {"bezier one open key", Header({kMM3DBezierSpline, 1}, 1, false)},
      {"bezier no closed key", Header({kMM3DBezierSpline, 0}, 1, true)},
      {"bezier huge count", Header({kMM3DBezierSpline, INT32_MAX}, 1, false)},
      {"nurbs huge count", Header({kMM3DNurbSpline, 2, INT32_MAX - 1}, 2, false)},
      {"linear short of points", Header({kMM3DLinearSpline, 1000}, 1, false)},
  };
  for (const BadRecord& c : cases) {
    UUOwned<MM3DSpline> spline;
    EXPECT_FALSE(ReadBack(c.mBytes, spline)) << c.mName;
    if (spline) {
      At(*spline, 0.5f);
      MM3DClosestPoint best;
      spline->FindClosestPoint({1, 1, 1, 1}, 1e-5f, best);
      spline->ParameterAtLength(1);
      spline->ArcLengthAt(1);
    }
  }
}

TEST(MM3DSplineTest, EmptySplinesAnswerWithoutSamples) {
  for (int32_t kind : {0, 1, 2, 7}) {
    UUOwned<MM3DSpline> spline(MM3DCreateSpline(kind));
    EXPECT_EQ(spline->GetKind(), kind == 7 ? kMM3DBezierSpline : kind);
    EXPECT_EQ(spline->GetLength(), 0.0f);
    EXPECT_TRUE(At(*spline, 1).Equals(MM3DVector(0, 0, 0, 1)));
    MM3DClosestPoint best;
    spline->FindClosestPoint({1, 1, 1, 1}, 1e-5f, best);
    EXPECT_FALSE(best.mFound);
    // A polyline's parameter is its arc length, even without points.
    const float expected = kind == kMM3DLinearSpline ? 1.0f : 0.0f;
    EXPECT_EQ(spline->ParameterAtLength(1), expected);
    EXPECT_EQ(spline->ArcLengthAt(1), expected);
  }
}

// A curve built in code with a degree that does not fit its points or
// knots has no span to evaluate: it answers the origin, never reading past
// its arrays.
TEST(MM3DSplineTest, AMalformedNurbsAnswersTheOrigin) {
  for (int32_t degree : {-1, 0, 2, 3}) {
    UUGrowableArray<MM3DVector> points;
    Fill<MM3DVector>(points, {{1, 1, 1, 1}, {2, 2, 2, 1}});
    UUGrowableArray<float> knots;
    Fill<float>(knots, {0, 0, 1, 1});
    const MM3DNurbSpline spline(degree, points, knots, false);
    EXPECT_EQ(spline.GetBuiltSampleCount(), 1) << degree;
    EXPECT_TRUE(At(spline, 0.5f).Equals(MM3DVector(0, 0, 0, 1))) << degree;
  }
}

TEST(MM3DSplineTest, AFailedWriteStops) {
  const MM3DNurbSpline circle = QuarterCircle();
  ByteWriter writer(30);
  EXPECT_FALSE(circle.WriteRecord(writer));
}

}  // namespace
