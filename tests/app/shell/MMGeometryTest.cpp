#include "app/shell/MMGeometry.h"
#include "app/shell/MMProductTable.h"

#include <gtest/gtest.h>

namespace {

TEST(MMGeometryTest, VectorLengthsStayExactBeyondSixteenBitSquares) {
  struct Case {
    int32_t x;
    int32_t y;
    int32_t expected;
  };
  const Case cases[] = {{0, 0, 0},           {3, 4, 5},         {-3, -4, 5}, {50000, 50000, 70710},
                        {100000, 0, 100000}, {0, -46341, 46341}};
  for (const Case& c : cases) EXPECT_EQ(MMVectorLength(c.x, c.y), c.expected) << c.x << "," << c.y;
  UUPoint v{3, -4};
  MMVectorSetLength(v, 10);
  EXPECT_EQ(v, (UUPoint{6, -8}));
  UUPoint zero{};
  MMVectorSetLength(zero, 10);
  EXPECT_EQ(zero, UUPoint{});
}

TEST(MMGeometryTest, PointsTurnByQuarters) {
  const UUPoint p{2, 5};
  EXPECT_EQ(MMPointRotateQuarter(p, 0), p);
  EXPECT_EQ(MMPointRotateQuarter(p, 90), (UUPoint{5, -2}));
  EXPECT_EQ(MMPointRotateQuarter(p, 180), (UUPoint{-2, -5}));
  EXPECT_EQ(MMPointRotateQuarter(p, 270), (UUPoint{-5, 2}));
}

TEST(MMGeometryTest, RectMappingScalesWithOrWithoutTheSourceAspect) {
  const UURect source(0, 0, 100, 50);
  const UURect target(10, 10, 110, 210);  // 100 x 200
  const MMRectMapping free(source, target, false);
  EXPECT_EQ(free.MapRect(UURect(0, 0, 50, 25)), UURect(10, 10, 60, 110));
  EXPECT_EQ(free.MapPoint(UUPoint{100, 50}), (UUPoint{110, 210}));
  const MMRectMapping kept(source, target, true);
  EXPECT_EQ(kept.GetTarget(), UURect(10, 85, 110, 135));
  EXPECT_EQ(kept.MapPoint(UUPoint{50, 25}), (UUPoint{60, 110}));
  const MMRectMapping identity(UURect(), target, true);
  EXPECT_EQ(identity.MapPoint(UUPoint{7, 9}), (UUPoint{7, 9}));
}

TEST(MMProductTableTest, ProductsAreRoundedAndTheBlendEndsAreExact) {
  uint8_t table[256 * 256];
  MMBuildProductTableInto(table);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(table[255 * 256 + b], b);
    EXPECT_EQ(table[b], 0);
    EXPECT_EQ(MMBlendChannel(static_cast<uint8_t>(b), 17, 0), b);
    EXPECT_EQ(MMBlendChannel(17, static_cast<uint8_t>(b), 255), b);
  }
  EXPECT_EQ(table[128 * 256 + 128], 64);
}

}  // namespace
