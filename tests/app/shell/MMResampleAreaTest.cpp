#include "app/shell/MMResampleArea.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

// A 32-bit image over its own pixels, rows top-down.
struct Image {
  Image(int32_t width, int32_t height, uint8_t fourth = 0, uint32_t seed = 1)
      : mPixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
    std::mt19937 random(seed);
    for (size_t i = 0; i < mPixels.size(); ++i) {
      mPixels[i] = i % 4 == 3 ? fourth : static_cast<uint8_t>(random());
    }
    mBitmap.mBitsPerPixel = 32;
    mBitmap.mBytesPerPixel = 4;
    mBitmap.mFormat = kMMFormat32;
    mBitmap.mRect = UURect(0, 0, width, height);
    mBitmap.mPixels = mPixels.data();
    mBitmap.mPitch = width * 4;
  }
  const uint8_t* At(int32_t x, int32_t y) const { return mBitmap.GetPixelAddress(x, y); }

  std::vector<uint8_t> mPixels;
  MMBitmap mBitmap;
};

// The exact area average of the source box over [x0, x1) x [y0, y1).
double BoxReference(const Image& source, double x0, double x1, double y0, double y1, int c) {
  double sum = 0;
  for (int32_t y = static_cast<int32_t>(y0); y < std::ceil(y1); ++y) {
    const double h = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
    for (int32_t x = static_cast<int32_t>(x0); x < std::ceil(x1); ++x) {
      const double w = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
      sum += w * h * source.At(x, y)[c];
    }
  }
  return sum / ((x1 - x0) * (y1 - y0));
}

TEST(MMResampleAreaTest, HalvingAveragesExactTwoByTwoBlocks) {
  const Image source(512, 256);
  Image destination(256, 128);
  ASSERT_TRUE(MMResampleArea32(source.mBitmap, destination.mBitmap));
  for (int32_t y = 0; y < 128; ++y) {
    for (int32_t x = 0; x < 256; ++x) {
      for (int c = 0; c < 4; ++c) {
        const int sum = source.At(2 * x, 2 * y)[c] + source.At(2 * x + 1, 2 * y)[c] +
                        source.At(2 * x, 2 * y + 1)[c] + source.At(2 * x + 1, 2 * y + 1)[c];
        ASSERT_EQ(destination.At(x, y)[c], (sum + 2) / 4) << x << "," << y << " channel " << c;
      }
    }
  }
}

TEST(MMResampleAreaTest, FractionalBoxesWeighTheirEdgePixelsByCoverage) {
  const Image source(300, 600);
  Image destination(128, 256);
  ASSERT_TRUE(MMResampleArea32(source.mBitmap, destination.mBitmap));
  const double step = 300.0 / 128;  // 2.34375 both ways
  for (int32_t y = 0; y < 256; ++y) {
    for (int32_t x = 0; x < 128; ++x) {
      for (int c = 0; c < 3; ++c) {
        const double expected =
            BoxReference(source, x * step, (x + 1) * step, y * step, (y + 1) * step, c);
        ASSERT_NEAR(destination.At(x, y)[c], expected, 1.0) << x << "," << y << " channel " << c;
      }
    }
  }
}

TEST(MMResampleAreaTest, TheFourthByteComposesOverTheDestination) {
  struct Case {
    uint8_t fourth;
    uint8_t expectedBlue;  // source blue 200, destination blue 100
  };
  const Case cases[] = {{0, 200}, {255, 100}, {51, (200 * 204 + 100 * 51) / 255}};
  for (const Case& c : cases) {
    Image source(2, 2, c.fourth);
    for (size_t i = 0; i < source.mPixels.size(); i += 4) source.mPixels[i] = 200;
    Image destination(1, 1, 7);
    destination.mPixels[0] = 100;
    ASSERT_TRUE(MMResampleArea32(source.mBitmap, destination.mBitmap));
    EXPECT_EQ(destination.mPixels[0], c.expectedBlue) << int{c.fourth};
    EXPECT_EQ(destination.mPixels[3], c.fourth) << int{c.fourth};
  }
}

TEST(MMResampleAreaTest, EmptyImagesAndRowsBeyondSixteenBitsAreRefused) {
  Image source(4, 4);
  Image destination(2, 2);
  const std::vector<uint8_t> before = destination.mPixels;
  MMBitmap empty = source.mBitmap;
  empty.mRect = UURect(0, 0, 0, 4);
  MMBitmap tall = destination.mBitmap;
  tall.mRect = UURect(0, 32767, 2, 32769);
  EXPECT_FALSE(MMResampleArea32(empty, destination.mBitmap));
  EXPECT_FALSE(MMResampleArea32(source.mBitmap, empty));
  EXPECT_FALSE(MMResampleArea32(source.mBitmap, tall));
  EXPECT_EQ(destination.mPixels, before);
}

TEST(MMResampleAreaTest, CeilingForgivesLessThanOneSixtyFiveThousandth) {
  EXPECT_EQ(MMCeil16(3.0), 3);
  EXPECT_EQ(MMCeil16(3.0 + 1e-7), 3);
  EXPECT_EQ(MMCeil16(3.0001), 4);
  EXPECT_EQ(MMCeil16(2.34375), 3);
}

}  // namespace
