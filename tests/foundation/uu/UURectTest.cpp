#include "foundation/uu/UURect.h"

#include <gtest/gtest.h>

namespace {

struct PairCase {
  UURect a;
  UURect b;
  UURect expected;
};

TEST(UURectTest, IntersectKeepsEdgeStripsAndZeroesDisjointPairs) {
  const PairCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}},  // touching: degenerate strip
      {{0, 0, 10, 10}, {0, 10, 10, 20}, {0, 10, 10, 10}},
      {{0, 0, 10, 10}, {11, 0, 20, 10}, {0, 0, 0, 0}},  // apart: zeros
      {{0, 0, 10, 10}, {0, 12, 10, 20}, {0, 0, 0, 0}},
  };
  for (const PairCase& c : cases) {
    UURect r = c.a;
    r.Intersect(c.b);
    EXPECT_EQ(r, c.expected) << c.b.mLeft << "," << c.b.mTop;
  }
}

TEST(UURectTest, UnionTreatsDegenerateRectanglesAsNothing) {
  const PairCase cases[] = {
      {{0, 0, 10, 10}, {5, -5, 20, 8}, {0, -5, 20, 10}},
      {{3, 3, 3, 9}, {5, 5, 6, 6}, {5, 5, 6, 6}},          // degenerate this takes the other
      {{0, 0, 0, 0}, {1, 2, 1, 2}, {1, 2, 1, 2}},          // ... whole, even a degenerate one
      {{0, 0, 10, 10}, {50, 50, 50, 60}, {0, 0, 10, 10}},  // degenerate other: no change
  };
  for (const PairCase& c : cases) {
    UURect r = c.a;
    r.Union(c.b);
    EXPECT_EQ(r, c.expected);
  }
}

TEST(UURectTest, IntersectsComparesOpposingEdgesStrictly) {
  const UURect base(0, 0, 10, 10);
  EXPECT_TRUE(base.Intersects({9, 9, 12, 12}));
  EXPECT_TRUE(base.Intersects({-5, 2, 20, 3}));
  EXPECT_FALSE(base.Intersects({10, 0, 20, 10}));
  EXPECT_FALSE(base.Intersects({0, -10, 10, 0}));
}

TEST(UURectTest, PointsSizesAndOffsets) {
  UURect r;
  r.FromPointAndSize({3, -4}, 10, 20);
  EXPECT_EQ(r, UURect(3, -4, 13, 16));
  EXPECT_EQ(r.GetSize(), (UUPoint{10, 20}));
  EXPECT_EQ(r.GetTopLeft(), (UUPoint{3, -4}));

  const UURect moved = r.OffsetBy({-3, 4});
  EXPECT_EQ(moved, UURect(0, 0, 10, 20));
  EXPECT_EQ(r, UURect(3, -4, 13, 16));
  r.Offset({1, 1});
  EXPECT_EQ(r, UURect(4, -3, 14, 17));

  r.Clear();
  EXPECT_EQ(r, UURect());
}

TEST(UURectTest, EmptyDegenerateAndNormal) {
  EXPECT_TRUE(UURect(5, 0, 5, 10).IsDegenerate());
  EXPECT_TRUE(UURect(5, 0, 5, 10).IsEmpty());
  EXPECT_TRUE(UURect(5, 0, 5, 10).IsNormal());
  EXPECT_TRUE(UURect(6, 0, 5, 10).IsEmpty());
  EXPECT_FALSE(UURect(6, 0, 5, 10).IsDegenerate());
  EXPECT_FALSE(UURect(6, 0, 5, 10).IsNormal());
  EXPECT_FALSE(UURect(0, 0, 1, 1).IsEmpty());
}

}  // namespace

TEST(UURectTest, PlacingScalingAndFittingKeepTheCentre) {
  UURect r(10, 20, 30, 60);  // 20 x 40, centre (20, 40)
  r.CentreOn(UUPoint{0, 0});
  EXPECT_EQ(r, UURect(-10, -20, 10, 20));
  EXPECT_EQ(UURect(0, 0, 10, 10).CentreSize(UUPoint{4, 2}), UURect(3, 4, 7, 6));
  UURect scaled(0, 0, 20, 40);
  scaled.ScaleAboutCentre(0.5, 0.25);
  EXPECT_EQ(scaled, UURect(5, 15, 15, 25));
  UURect wide(0, 0, 40, 10);
  wide.FitAspect(1, 1);
  EXPECT_EQ(wide, UURect(15, 0, 25, 10));
  UURect tall(0, 0, 10, 40);
  tall.FitAspect(2, 1);
  EXPECT_EQ(tall, UURect(0, 17, 10, 22));
  UURect reversed(5, 7, 1, 2);
  reversed.Normalize();
  EXPECT_EQ(reversed, UURect(1, 2, 5, 7));
}

TEST(UURectTest, FitScaleIsTheShrinkAboutTheCentreThatFits) {
  const UURect frame(0, 0, 100, 100);
  struct Case {
    UURect rect;
    double expected;
  };
  const Case cases[] = {
      {UURect(10, 10, 20, 20), 1.0},    // already inside
      {UURect(-50, 40, 150, 60), 0.5},  // twice too wide
      {UURect(40, 70, 60, 110), 0.5},   // 10 of its half height 20 below the centre fit
      {UURect(150, 0, 170, 10), 0.0},   // centre outside
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(c.rect.FitScale(frame), c.expected) << c.rect.mLeft << "," << c.rect.mTop;
  }
}

TEST(UURectTest, QuarterTurnsOfCornersSizesAndRectangles) {
  const UURect r(1, 2, 5, 10);  // 4 x 8
  EXPECT_EQ(r.CornerForAngle(0), (UUPoint{1, 2}));
  EXPECT_EQ(r.CornerForAngle(90), (UUPoint{1, 10}));
  EXPECT_EQ(r.CornerForAngle(180), (UUPoint{5, 10}));
  EXPECT_EQ(r.CornerForAngle(270), (UUPoint{5, 2}));
  EXPECT_EQ(r.SizeForAngle(180), (UUPoint{4, 8}));
  EXPECT_EQ(r.SizeForAngle(90), (UUPoint{8, 4}));
  UURect turned = r;
  turned.RotateQuarter(450);  // 90
  EXPECT_EQ(turned, UURect(-1, 4, 7, 8));
  turned.RotateQuarter(-180);
  EXPECT_EQ(turned, UURect(-1, 4, 7, 8));
  UURect aboutOrigin(1, 2, 5, 10);
  aboutOrigin.RotateAboutPoint(270, (UUPoint{0, 0}));  // a turn by 90: (x, y) -> (y, -x)
  EXPECT_EQ(aboutOrigin, UURect(2, -5, 10, -1));
  EXPECT_EQ(UURectIntersectionOf(r, UURect(3, 0, 9, 4)), UURect(3, 2, 5, 4));
  EXPECT_EQ(UURectUnionOf(UURect(), r), r);
}
