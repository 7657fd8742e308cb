#include "app/shell/MMResampleFile.h"

#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t kHeaderBytes = 8;
constexpr int32_t kSide = 4;

// Eight bytes of something else, then a 4 x 4 picture whose pixel (x, y)
// has every colour byte 10 (x + 4 y) and a fourth byte 0.
std::vector<uint8_t> FileBytes() {
  std::vector<uint8_t> bytes(kHeaderBytes, 0xEE);
  for (int32_t i = 0; i < kSide * kSide; ++i) {
    const auto v = static_cast<uint8_t>(10 * i);
    bytes.insert(bytes.end(), {v, v, v, 0});
  }
  return bytes;
}

struct Destination {
  Destination() : mPixels(2 * 2 * 4, 0) {
    mBitmap.mBitsPerPixel = 32;
    mBitmap.mBytesPerPixel = 4;
    mBitmap.mFormat = kMMFormat32;
    mBitmap.mRect = UURect(0, 0, 2, 2);
    mBitmap.mPixels = mPixels.data();
    mBitmap.mPitch = 8;
  }
  std::vector<uint8_t> mPixels;
  MMBitmap mBitmap;
};

TEST(MMResampleFileTest, AveragesBandsReadFromThePositionAtEntry) {
  std::vector<uint8_t> bytes = FileBytes();
  UUMemory stream(bytes.data(), static_cast<int32_t>(bytes.size()));
  ASSERT_TRUE(stream.Seek(kHeaderBytes, kUUSeekFromStart, nullptr));
  Destination destination;
  ASSERT_TRUE(MMResampleFile32(stream, kSide, kSide, 4, destination.mBitmap));
  // The top left 2 x 2 block holds 0, 10, 40, 50.
  const std::vector<uint8_t> expected = {25,  25,  25,  255, 45,  45,  45,  255,
                                         105, 105, 105, 255, 125, 125, 125, 255};
  EXPECT_EQ(destination.mPixels, expected);
}

TEST(MMResampleFileTest, AStreamShortOfTheRowsOrAnotherDepthFails) {
  std::vector<uint8_t> bytes = FileBytes();
  UUMemory shortStream(bytes.data(), static_cast<int32_t>(bytes.size()) - 1);
  ASSERT_TRUE(shortStream.Seek(kHeaderBytes, kUUSeekFromStart, nullptr));
  Destination destination;
  EXPECT_FALSE(MMResampleFile32(shortStream, kSide, kSide, 4, destination.mBitmap));
  UUMemory stream(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_FALSE(MMResampleFile32(stream, kSide, kSide, 3, destination.mBitmap));
  EXPECT_FALSE(MMResampleFile32(stream, 0, kSide, 4, destination.mBitmap));
}

}  // namespace
