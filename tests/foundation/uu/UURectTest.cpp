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
