#include "mm/drawing/MMRegion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<UURect> SortedRects(MMRegion region) {
  region.Sort();
  std::vector<UURect> rects;
  for (int32_t i = 0; i < region.GetCount(); ++i) rects.push_back(region.GetRect(i));
  return rects;
}

MMRegion RegionOf(std::initializer_list<UURect> rects) {
  MMRegion region;
  for (const UURect& r : rects) region.AddRect(r);
  return region;
}

TEST(MMRegionTest, AddingCutsOverlapsIntoDisjointPieces) {
  struct Case {
    std::vector<UURect> added;
    std::vector<UURect> expected;  // sorted by top, then left
  };
  const Case cases[] = {
      {{{0, 0, 10, 10}, {0, 0, 10, 10}}, {{0, 0, 10, 10}}},
      {{{0, 0, 10, 10}, {10, 0, 20, 10}}, {{0, 0, 20, 10}}},  // coalesced side by side
      {{{0, 0, 10, 10}, {0, 10, 10, 20}}, {{0, 0, 10, 20}}},  // coalesced stacked
      {{{0, 0, 10, 10}, {5, 5, 15, 15}}, {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
      {{{0, 0, 10, 10}, {2, 2, 4, 4}}, {{0, 0, 10, 10}}},  // swallowed
      {{{2, 2, 4, 4}, {0, 0, 10, 10}}, {{0, 0, 10, 10}}},  // swallows
      {{{0, 0, 10, 10}, {4, -5, 6, 15}},                   // crosses top to bottom: R split in two
       {{4, -5, 6, 15}, {0, 0, 4, 10}, {6, 0, 10, 10}}},
      {{{0, 0, 10, 10}, {5, 0, 15, 10}}, {{0, 0, 15, 10}}},  // R trimmed, then joined
      {{{0, 0, 10, 10}, {5, 3, 15, 7}}, {{0, 0, 10, 10}, {10, 3, 15, 7}}},  // C trimmed
      {{{0, 0, 10, 10}, {-5, 5, 5, 15}}, {{0, 0, 10, 5}, {-5, 5, 10, 10}, {-5, 10, 5, 15}}},
      {{{0, 0, 10, 10}, {3, 3, 3, 8}, {7, 9, 2, 20}}, {{0, 0, 10, 10}}},  // empty: ignored
  };
  for (const Case& c : cases) {
    MMRegion region;
    for (const UURect& r : c.added) region.AddRect(r);
    EXPECT_EQ(SortedRects(region), c.expected) << "case starting " << c.added[1].mLeft;
  }
}

// Twenty separated squares in a row, (10i, 0, 10i + 5, 5).
MMRegion FullRow() {
  MMRegion region;
  for (int32_t i = 0; i < MMRegion::kMaxRects; ++i) region.AddRect({10 * i, 0, 10 * i + 5, 5});
  return region;
}

TEST(MMRegionTest, A21stRectangleMergesWhereLeastIsWasted) {
  MMRegion region = FullRow();
  ASSERT_EQ(region.GetCount(), 20);
  region.AddRect({0, 6, 5, 8});
  EXPECT_EQ(region.GetCount(), 20);
  EXPECT_TRUE(region.ContainsRect({0, 6, 5, 8}));
  EXPECT_TRUE(region.ContainsRect({0, 0, 5, 8}));
  EXPECT_EQ(region.GetArea(), 19 * 25 + 40);
}

TEST(MMRegionTest, ASplitWithoutAFreeSlotMergesInstead) {
  MMRegion region = FullRow();
  region.AddRect({1, -2, 3, 7});  // would cut square 0 into three pieces
  EXPECT_EQ(region.GetCount(), 20);
  EXPECT_TRUE(region.ContainsRect({0, -2, 5, 7}));
  EXPECT_EQ(region.GetArea(), 19 * 25 + 45);
}

TEST(MMRegionTest, Queries) {
  const MMRegion region = RegionOf({{0, 0, 10, 10}, {10, 0, 20, 5}, {30, 30, 40, 40}});
  EXPECT_TRUE(region.ContainsRect({5, 0, 15, 5}));  // across two adjacent rectangles
  EXPECT_FALSE(region.ContainsRect({5, 0, 15, 6}));
  EXPECT_TRUE(region.ContainsRect({25, 25, 25, 25}));
  EXPECT_TRUE(region.ContainsPoint({0, 0}));
  EXPECT_TRUE(region.ContainsPoint({19, 4}));
  EXPECT_FALSE(region.ContainsPoint({20, 4}));
  EXPECT_FALSE(region.ContainsPoint({15, 5}));
  EXPECT_TRUE(region.IntersectsRect({39, 39, 50, 50}));
  EXPECT_FALSE(region.IntersectsRect({40, 0, 50, 50}));
  EXPECT_FALSE(region.IntersectsRect({25, 0, 15, 50}));  // inverted
  EXPECT_TRUE(region.IntersectsRegion(RegionOf({{50, 50, 60, 60}, {12, 2, 14, 3}})));
  EXPECT_FALSE(region.IntersectsRegion(RegionOf({{50, 50, 60, 60}})));
  EXPECT_TRUE(region.ContainsRegion(RegionOf({{1, 1, 2, 2}, {31, 31, 32, 32}})));
  EXPECT_FALSE(region.ContainsRegion(RegionOf({{1, 1, 2, 2}, {29, 31, 32, 32}})));
  EXPECT_TRUE(region.ContainsRegion(MMRegion()));
  EXPECT_EQ(region.GetBounds(), UURect(0, 0, 40, 40));
  EXPECT_EQ(region.GetArea(), 100 + 50 + 100);
  EXPECT_EQ(MMRegion().GetBounds(), UURect());
}

TEST(MMRegionTest, IntersectOffsetSetAndRemove) {
  MMRegion region = RegionOf({{0, 0, 10, 10}, {20, 0, 30, 10}});
  MMRegion clipped = region;
  clipped.IntersectRect({5, 5, 25, 25});
  EXPECT_EQ(SortedRects(clipped), (std::vector<UURect>{{5, 5, 10, 10}, {20, 5, 25, 10}}));

  MMRegion both = region;
  both.IntersectRegion(RegionOf({{8, 2, 22, 4}, {0, 8, 40, 40}}));
  EXPECT_EQ(SortedRects(both),
            (std::vector<UURect>{{8, 2, 10, 4}, {20, 2, 22, 4}, {0, 8, 10, 10}, {20, 8, 30, 10}}));

  region.AddRegion(region);
  EXPECT_EQ(region.GetCount(), 2);
  region.Offset({1, 2});
  EXPECT_EQ(SortedRects(region), (std::vector<UURect>{{1, 2, 11, 12}, {21, 2, 31, 12}}));
  region.RemoveAt(5);
  region.RemoveAt(-1);
  EXPECT_EQ(region.GetCount(), 2);
  region.RemoveAt(0);
  EXPECT_EQ(region.GetCount(), 1);
  region.Set({0, 0, 1, 1});
  EXPECT_EQ(SortedRects(region), (std::vector<UURect>{{0, 0, 1, 1}}));
  region.Set({0, 0, 0, 1});
  EXPECT_EQ(region.GetCount(), 0);
}

// Random rectangles on a small grid, checked against a pixel mask after
// every add: the region covers every pixel added, its rectangles are
// non-empty and pairwise disjoint, and there are never more than twenty.
TEST(MMRegionTest, RandomAddsCoverWhatWasAddedWithDisjointRectangles) {
  constexpr int kSide = 32;
  std::mt19937 random(20240611);
  const auto next = [&](int32_t limit) {
    return static_cast<int32_t>(random() % static_cast<uint32_t>(limit));
  };
  const auto at = [](int32_t x, int32_t y) { return static_cast<size_t>(y * kSide + x); };
  for (int trial = 0; trial < 5000; ++trial) {
    std::vector<uint8_t> added(kSide * kSide, 0);
    MMRegion region;
    const int adds = 1 + next(40);
    // Every other trial adds small rectangles, which fill all twenty slots.
    const int32_t maxSide = trial % 2 ? 6 : kSide;
    for (int n = 0; n < adds; ++n) {
      const int32_t left = next(kSide), top = next(kSide);
      const UURect rect(left, top, left + 1 + next(std::min(maxSide, kSide - left)),
                        top + 1 + next(std::min(maxSide, kSide - top)));
      region.AddRect(rect);
      for (int32_t y = rect.mTop; y < rect.mBottom; ++y)
        for (int32_t x = rect.mLeft; x < rect.mRight; ++x) added[at(x, y)] = 1;

      ASSERT_LE(region.GetCount(), MMRegion::kMaxRects);
      std::vector<uint8_t> covered(kSide * kSide, 0);
      for (int32_t i = 0; i < region.GetCount(); ++i) {
        const UURect& r = region.GetRect(i);
        ASSERT_FALSE(r.IsEmpty());
        ASSERT_TRUE(r.mLeft >= 0 && r.mTop >= 0 && r.mRight <= kSide && r.mBottom <= kSide);
        for (int32_t y = r.mTop; y < r.mBottom; ++y)
          for (int32_t x = r.mLeft; x < r.mRight; ++x)
            ASSERT_EQ(covered[at(x, y)]++, 0) << "trial " << trial << " overlap";
      }
      for (size_t p = 0; p < kSide * kSide; ++p) {
        ASSERT_TRUE(covered[p] || !added[p]) << "trial " << trial << " lost pixel " << p;
        if (adds <= 3) {
          ASSERT_EQ(covered[p], added[p]) << "trial " << trial << " grew";
        }
      }
    }
  }
}

}  // namespace
