#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr MM3DPaletteEntry kRed{255, 0, 0, 255};
constexpr MM3DPaletteEntry kHalfBlue{0, 0, 255, 128};

MM3DDriverTextureImage PalettedRedBlue() {
  auto pixels = std::make_unique<uint8_t[]>(4);
  const uint8_t indexes[4] = {0, 1, 1, 0};
  std::memcpy(pixels.get(), indexes, 4);
  const MM3DPaletteEntry palette[2] = {kRed, kHalfBlue};
  return MM3DDriverTextureImage(2, 2, std::move(pixels), 2, palette, 1);
}

// A 32-bit image whose red byte is the pixel's x, green its y, blue x + y
// and alpha 255.
MM3DDriverTextureImage Gradient(int32_t width, int32_t height) {
  auto pixels =
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  MM3DDriverTextureImage image(width, height, std::move(pixels), 1);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* pixel = image.PixelAddress(x, y);
      pixel[0] = static_cast<uint8_t>(x);
      pixel[1] = static_cast<uint8_t>(y);
      pixel[2] = static_cast<uint8_t>(x + y);
      pixel[3] = 255;
    }
  }
  return image;
}

MM3DDriverTextureImage Blank(int32_t width, int32_t height) {
  return MM3DDriverTextureImage(
      width, height,
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4), 1);
}

void ExpectPixel(const MM3DDriverTextureImage& image, int32_t x, int32_t y,
                 const MM3DPaletteEntry& expected) {
  const uint8_t* pixel = image.PixelAddress(x, y);
  EXPECT_EQ(pixel[0], expected.mRed) << x << "," << y;
  EXPECT_EQ(pixel[1], expected.mGreen) << x << "," << y;
  EXPECT_EQ(pixel[2], expected.mBlue) << x << "," << y;
  EXPECT_EQ(pixel[3], expected.mAlpha) << x << "," << y;
}

TEST(MM3DDriverTextureImageTest, ExpandPaletteGivesEntriesOfIndexes) {
  MM3DDriverTextureImage image = PalettedRedBlue();
  ASSERT_TRUE(image.ExpandPalette());
  EXPECT_EQ(image.GetPaletteCount(), 0);
  EXPECT_EQ(image.GetWidth(), 2);
  ExpectPixel(image, 0, 0, kRed);
  ExpectPixel(image, 1, 0, kHalfBlue);
  ExpectPixel(image, 0, 1, kHalfBlue);
  ExpectPixel(image, 1, 1, kRed);
}

TEST(MM3DDriverTextureImageTest, CopyIsDeepAndEmptyCopiesEmpty) {
  MM3DDriverTextureImage source = PalettedRedBlue();
  MM3DDriverTextureImage copy;
  ASSERT_TRUE(copy.CopyFrom(source));
  ASSERT_NE(copy.GetPixels(), source.GetPixels());
  EXPECT_EQ(std::memcmp(copy.GetPixels(), source.GetPixels(), 4), 0);
  EXPECT_EQ(copy.GetPaletteCount(), 2);

  MM3DDriverTextureImage empty;
  ASSERT_TRUE(copy.CopyFrom(empty));
  EXPECT_FALSE(copy.HasPixels());
  EXPECT_EQ(copy.GetWidth(), 0);
}

TEST(MM3DDriverTextureImageTest, BoxFilterHalvesByTwoByTwoAverages) {
  const MM3DDriverTextureImage source = Gradient(256, 256);
  MM3DDriverTextureImage half = Blank(128, 128);
  half.BoxFilterFrom(source);
  // Pixel (x, y) averages columns 2x, 2x + 1 and rows 2y, 2y + 1, truncating.
  ExpectPixel(half, 0, 0, {0, 0, 1, 255});
  ExpectPixel(half, 5, 9, {10, 18, 29, 255});
  ExpectPixel(half, 127, 127, {254, 254, 253, 255});
}

TEST(MM3DDriverTextureImageTest, BoxFilterQuartersByFourByFourAverages) {
  const MM3DDriverTextureImage source = Gradient(256, 256);
  MM3DDriverTextureImage quarter = Blank(64, 64);
  quarter.BoxFilterFrom(source);
  // Columns 4x to 4x + 3 sum to 16x + 6; over 16 samples that is 4x + 1.
  ExpectPixel(quarter, 3, 7, {13, 29, 43, 255});
}

TEST(MM3DDriverTextureImageTest, BoxFilterOfOddStepsDividesByBlockSize) {
  const MM3DDriverTextureImage source = Gradient(3, 1);
  MM3DDriverTextureImage one = Blank(1, 1);
  one.BoxFilterFrom(source);
  ExpectPixel(one, 0, 0, {1, 0, 1, 255});
}

TEST(MM3DDriverTextureImageTest, StreamRoundTripOfPalettedImage) {
  const MM3DDriverTextureImage source = PalettedRedBlue();
  ByteWriter writer;
  ASSERT_TRUE(source.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 4u + 2 + 2 + 4 + 2 * 4);
  EXPECT_EQ(writer.mBytes[0], 2);  // width in the low half of the size word
  EXPECT_EQ(writer.mBytes[2], 2);
  ByteReader reader(writer.mBytes);
  MM3DDriverTextureImage read;
  ASSERT_TRUE(read.Read(reader));
  EXPECT_EQ(read.GetPaletteCount(), 2);
  ASSERT_TRUE(read.ExpandPalette());
  ExpectPixel(read, 1, 0, kHalfBlue);
}

TEST(MM3DDriverTextureImageTest, ReadRefusesTruncatedAndImpossibleImages) {
  ByteWriter writer;
  ASSERT_TRUE(Gradient(4, 4).Write(writer));
  std::vector<uint8_t> truncated(writer.mBytes.begin(), writer.mBytes.end() - 1);
  std::vector<uint8_t> negative = writer.mBytes;
  negative[1] = 0xFF;  // width -252
  std::vector<uint8_t> bigPalette = writer.mBytes;
  bigPalette[6] = 0x01;
  bigPalette[7] = 0x01;  // 257 entries
  for (const auto& bytes : {truncated, negative, bigPalette}) {
    ByteReader reader(bytes);
    MM3DDriverTextureImage read = Gradient(2, 2);
    EXPECT_FALSE(read.Read(reader));
    EXPECT_FALSE(read.HasPixels());
    EXPECT_EQ(read.GetWidth(), 0);
  }
}

TEST(MM3DDriverTextureImageTest, ValidTextureSizes) {
  EXPECT_TRUE(MM3DIsValidTextureSize(8, 256));
  EXPECT_FALSE(MM3DIsValidTextureSize(4, 8));
  EXPECT_FALSE(MM3DIsValidTextureSize(512, 8));
  EXPECT_FALSE(MM3DIsValidTextureSize(24, 8));
}

}  // namespace
