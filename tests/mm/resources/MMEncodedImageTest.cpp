#include "mm/resources/MMEncodedImage.h"

#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMBlitRequest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A bitmap over a vector of pixels, rows top-down.
struct Image {
  Image(int32_t width, int32_t height, int32_t bytesPerPixel)
      : pixels(static_cast<size_t>(width * height * bytesPerPixel), 0) {
    bitmap.mBitsPerPixel = 8 * bytesPerPixel;
    bitmap.mBytesPerPixel = bytesPerPixel;
    bitmap.mFormat = bytesPerPixel == 1 ? kMMFormat8 : kMMFormat32;
    bitmap.mSubFormat = kMMSubFormatKeyed;
    bitmap.mRect = UURect(0, 0, width, height);
    bitmap.mPitch = width * bytesPerPixel;
    bitmap.mPixels = pixels.data();
  }
  // Makes pixels [from, to) of a row opaque with the given value.
  void Fill(int32_t row, int32_t from, int32_t to, uint32_t value) {
    for (int32_t x = from; x < to; ++x) {
      std::memcpy(bitmap.GetPixelAddress(x, row), &value,
                  static_cast<size_t>(bitmap.mBytesPerPixel));
    }
  }
  std::vector<uint8_t> pixels;
  MMBitmap bitmap;
};

// Transparent 32-bit pixels have a fourth byte of 255.
Image TransparentImage32(int32_t width, int32_t height) {
  Image image(width, height, 4);
  image.Fill(0, 0, 0, 0);
  for (int32_t row = 0; row < height; ++row) image.Fill(row, 0, width, 0xFF000000);
  return image;
}

struct Encoded {
  explicit Encoded(const MMBitmap& source) : block(65535) {
    size = image.Encode(source, block.data(), 65535);
  }
  std::vector<uint8_t> RunBytes(int32_t row, int32_t n) const {
    uint16_t offset = 0;
    std::memcpy(&offset, block.data() + 2 * row, 2);
    return std::vector<uint8_t>(block.begin() + offset, block.begin() + offset + n);
  }
  uint16_t Word(int32_t index) const {
    uint16_t value = 0;
    std::memcpy(&value, block.data() + 2 * index, 2);
    return value;
  }
  std::vector<uint8_t> block;
  MMEncodedImage image;
  int32_t size = 0;
};

class TestBlitRequest : public MMBlitRequest {
 public:
  bool Execute() override { return true; }
};

// What the span routine was called with.
struct SpanCall {
  ptrdiff_t target;
  int16_t width;
  std::vector<uint8_t> source;
};
std::vector<SpanCall> gCalls;
const uint8_t* gTargetBase = nullptr;
int32_t gFirstColumn = 0;

// Keeps what it was handed: the span's pixels, or the expanded row from the
// first column to its end.
void RecordSpan(const uint8_t* source, uint8_t* target, const MMBlitRequest& request) {
  const int32_t bytes = request.mSource->mBytesPerPixel;
  const int32_t n =
      request.mXStep == 0x10000 ? request.mWidth : request.mSource->GetWidth() - gFirstColumn;
  gCalls.push_back(
      {target - gTargetBase, request.mWidth, std::vector<uint8_t>(source, source + n * bytes)});
}

// The first byte of each pixel a scaled span reads, in destination order,
// stepping through the source as the drawing spans do.
std::vector<uint8_t> gSamples;
void SampleSpan(const uint8_t* source, uint8_t*, const MMBlitRequest& request) {
  int32_t f = request.mSourceX & 0xFFFF;
  for (int32_t i = 0; i < request.mWidth; ++i, f += request.mXStep) {
    gSamples.push_back(source[static_cast<ptrdiff_t>(f >> 16) * request.mSource->mBytesPerPixel]);
  }
}

// Frees a block of that size full of marker bytes, so that a row buffer the
// heap hands out next shows a pixel the walk forgot to expand.
void LeaveDirtyHeapBlock(size_t size) {
  void* block = ALAllocate(size, ALDefaultAllocator, kALMayFail);
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xEE, size);
  ALFree(block);
}

// An unscaled or scaled request over a destination of width x height.
void Prepare(TestBlitRequest& request, MMEncodedImage& source, Image& destination, int32_t sourceX,
             int32_t xStep) {
  request.mSource = &source;
  request.mDestination = destination.bitmap;
  request.mSourceX = sourceX << 16;
  request.mSourceY = 0;
  request.mXStep = xStep;
  request.mYStep = 0x10000;
  request.mWidth = static_cast<int16_t>(destination.bitmap.GetWidth());
  gCalls.clear();
  gTargetBase = destination.pixels.data();
  gFirstColumn = sourceX;
}

TEST(MMEncodedImageTest, RunsAreWrittenInTheirByteForm) {
  Image wide(310, 1, 1);
  wide.Fill(0, 300, 310, 7);
  Encoded a(wide.bitmap);
  EXPECT_EQ(a.RunBytes(0, 4), (std::vector<uint8_t>{255, 0, 45, 10}));
  Image opaque(8, 1, 1);
  opaque.Fill(0, 0, 8, 9);
  Encoded b(opaque.bitmap);
  EXPECT_EQ(b.RunBytes(0, 2), (std::vector<uint8_t>{0, 8}));
  EXPECT_EQ(b.size, 6 + 2 + 8);
  EXPECT_TRUE(a.image.IsValid());
  EXPECT_TRUE(b.image.IsValid());
}

TEST(MMEncodedImageTest, MatchesAHandMadeBlock) {
  // 5 x 2, 8-bit: row 0 = . 1 2 . . ; row 1 = 3 . . . 4
  Image source(5, 2, 1);
  source.Fill(0, 1, 2, 1);
  source.Fill(0, 2, 3, 2);
  source.Fill(1, 0, 1, 3);
  source.Fill(1, 4, 5, 4);
  const std::vector<uint8_t> expected = {10, 0, 13, 0,   // run offsets
                                         17, 0, 19, 0,   // pixel offsets
                                         21, 0,          // end
                                         1,  2, 2,       // row 0 runs
                                         0,  1, 3,  1,   // row 1 runs
                                         1,  2, 3,  4};  // pixels
  Encoded encoded(source.bitmap);
  ASSERT_EQ(encoded.size, 21);
  EXPECT_EQ(std::vector<uint8_t>(encoded.block.begin(), encoded.block.begin() + 21), expected);

  std::vector<uint8_t> bytes = expected;
  MMEncodedImage image;
  image.MMImageDescription::operator=(source.bitmap);
  image.SetData(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_TRUE(image.IsValid());
  EXPECT_EQ(image.FindPixel(0, 0), nullptr);
  EXPECT_EQ(image.FindPixel(2, 0), bytes.data() + 18);
  EXPECT_EQ(image.FindPixel(4, 1), bytes.data() + 20);  // first pixel of the second opaque run
  EXPECT_EQ(image.FindPixel(5, 1), nullptr);            // outside
}

TEST(MMEncodedImageTest, ThirtyTwoBitPixelsStartOnAMultipleOfFour) {
  Image image = TransparentImage32(4, 1);
  image.Fill(0, 1, 2, 0x00112233);  // runs 1, 1, 2: 3 bytes after a 6-byte header
  Encoded encoded(image.bitmap);
  EXPECT_EQ(encoded.Word(1), 12);  // 9 padded to 12
  EXPECT_EQ(encoded.size, 16);
  EXPECT_TRUE(encoded.image.IsValid());
  Image eight(4, 1, 1);
  eight.Fill(0, 1, 2, 5);
  EXPECT_EQ(Encoded(eight.bitmap).Word(1), 9);
}

TEST(MMEncodedImageTest, MeasureRefusesLongRowsWhereEncodeDoesNot) {
  // 1028 bytes in one row: runs 0 and 256 (255, 0, 1), then 256 pixels of 4 bytes
  Image image(256, 1, 4);
  image.Fill(0, 0, 256, 0x00FFFFFF);
  EXPECT_EQ(MMEncodedImage::MeasureEncoded(image.bitmap), 0);
  Encoded encoded(image.bitmap);
  EXPECT_EQ(encoded.size, 6 + 4 + 2 + 1024);  // 2 bytes of padding
  Image smaller(255, 1, 4);
  smaller.Fill(0, 0, 255, 1);
  EXPECT_EQ(MMEncodedImage::MeasureEncoded(smaller.bitmap), Encoded(smaller.bitmap).size);
  MMEncodedImage tooSmall;
  std::vector<uint8_t> block(100);
  EXPECT_EQ(tooSmall.Encode(smaller.bitmap, block.data(), 100), 0);
}

TEST(MMEncodedImageTest, DamagedBlocksAreInvalid) {
  Image source(5, 2, 1);
  source.Fill(0, 1, 3, 1);
  source.Fill(1, 0, 1, 3);
  source.Fill(1, 4, 5, 4);
  Encoded good(source.bitmap);
  ASSERT_TRUE(good.image.IsValid());
  const struct {
    const char* what;
    int32_t index;
    uint8_t value;
    int32_t size;
  } cases[] = {
      {"run offsets not increasing", 2, 10, 21}, {"end past the block", 8, 60, 21},
      {"runs longer than the row", 11, 3, 21},   {"runs shorter than the row", 16, 0, 21},
      {"pixel count mismatch", 6, 20, 21},       {"block too small for its offsets", 0, 10, 8},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes(good.block.begin(), good.block.begin() + 21);
    bytes[static_cast<size_t>(c.index)] = c.value;
    MMEncodedImage image = good.image;
    image.SetData(bytes.data(), c.size);
    EXPECT_FALSE(image.IsValid()) << c.what;
  }
}

TEST(MMEncodedImageTest, FixByteOrderRestoresABigEndianBlock) {
  Image image = TransparentImage32(3, 2);
  image.Fill(0, 0, 2, 0x01020304);
  image.Fill(1, 2, 3, 0x0A0B0C0D);
  Encoded encoded(image.bitmap);
  ASSERT_EQ(encoded.Word(2), 16);  // runs 0, 2, 1 and 2, 1 end at 15
  ASSERT_EQ(encoded.size, 28);
  // The same block as a big-endian file stores it, byte by byte.
  std::vector<uint8_t> big(encoded.block.begin(), encoded.block.begin() + 28);
  for (size_t i = 0; i < 5; ++i) std::swap(big[2 * i], big[2 * i + 1]);
  for (size_t p = 16; p < 28; p += 4) {
    std::swap(big[p], big[p + 3]);
    std::swap(big[p + 1], big[p + 2]);
  }
  EXPECT_FALSE(MMEncodedImage::FixByteOrder(big.data(), 8, 2, 4));
  ASSERT_TRUE(MMEncodedImage::FixByteOrder(big.data(), 28, 2, 4));
  EXPECT_EQ(big, std::vector<uint8_t>(encoded.block.begin(), encoded.block.begin() + 28));
}

TEST(MMEncodedImageTest, UnscaledWalkDrawsOnlyVisibleOpaqueRuns) {
  // Row: . . A B C . D  (8-bit); clip from column 3, four columns wide.
  Image source(7, 1, 1);
  source.Fill(0, 2, 3, 'A');
  source.Fill(0, 3, 4, 'B');
  source.Fill(0, 4, 5, 'C');
  source.Fill(0, 6, 7, 'D');
  Encoded encoded(source.bitmap);
  Image destination(4, 1, 1);
  TestBlitRequest request;
  Prepare(request, encoded.image, destination, 3, 0x10000);
  encoded.image.WalkRows(request, RecordSpan);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_EQ(gCalls[0].target, 0);
  EXPECT_EQ(gCalls[0].width, 2);
  EXPECT_EQ(std::string(gCalls[0].source.begin(), gCalls[0].source.end()), "BC");
  EXPECT_EQ(gCalls[1].target, 3);  // past the transparent column
  EXPECT_EQ(gCalls[1].width, 1);
  EXPECT_EQ(request.mWidth, 4);  // restored after the walk
}

TEST(MMEncodedImageTest, ScaledWalkExpandsTransparencyPerFormat) {
  Image eight(4, 1, 1);
  eight.Fill(0, 1, 2, 9);
  Encoded a(eight.bitmap);
  Image destination(8, 1, 1);
  TestBlitRequest request;
  Prepare(request, a.image, destination, 0, 0x8000);
  a.image.WalkRows(request, RecordSpan);
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].source, (std::vector<uint8_t>{0, 9, 0, 0}));

  Image wide = TransparentImage32(3, 1);
  wide.Fill(0, 2, 3, 0x00445566);
  Encoded b(wide.bitmap);
  Image destination32(3, 1, 4);
  Prepare(request, b.image, destination32, 2, -0x10000);  // mirrored
  b.image.WalkRows(request, RecordSpan);
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].source, (std::vector<uint8_t>{0x66, 0x55, 0x44, 0x00}));  // column 2
}

TEST(MMEncodedImageTest, ScaledWalkOfAnImageWiderThanTheOldRowBuffer) {
  Image wide = TransparentImage32(1000, 2);
  wide.Fill(1, 990, 1000, 0x00010203);
  std::vector<uint8_t> block(65535);
  MMEncodedImage image;
  ASSERT_GT(image.Encode(wide.bitmap, block.data(), 65535), 0);
  Image destination(500, 2, 4);
  TestBlitRequest request;
  Prepare(request, image, destination, 0, 0x20000);
  image.WalkRows(request, RecordSpan);
  ASSERT_EQ(gCalls.size(), 2u);
  EXPECT_EQ(gCalls[1].source[4 * 995], 0x03);
  EXPECT_EQ(gCalls[1].source[4 * 5 + 3], 0xFF);
  EXPECT_EQ(gCalls[0].source[4 * 999 + 3], 0xFF);
}

TEST(MMEncodedImageTest, ScaledWalkExpandsEveryColumnTheSpanReads) {
  // 8-bit rows of 40: one opaque pixel at column 1, the rest transparent.
  constexpr int32_t kWidth = 40;
  constexpr uint8_t kOpaque = 9;
  struct Case {
    const char* what;
    int32_t left;     // of the image's rectangle
    int32_t sourceX;  // 16.16
    int32_t xStep;    // 16.16
    int32_t width;    // destination pixels
    std::vector<uint8_t> samples;
  };
  const Case cases[] = {
      {"enlarged three times, clipped to four", 0, 10922, 21845, 4, {0, 0, 0, kOpaque}},
      {"enlarged twice", 0, 0x4000, 0x8000, 3, {0, 0, kOpaque}},
      {"a rectangle left of the origin", -2, -2 << 16, 0x20000, 2, {0, 0}},
      {"a rectangle left of the origin, enlarged",
       -2,
       (-2 << 16) + 0x8000,
       0x8000,
       4,
       {0, kOpaque, kOpaque, 0}},
  };
  for (const Case& c : cases) {
    Image source(kWidth, 1, 1);
    source.Fill(0, 1, 2, kOpaque);
    Encoded encoded(source.bitmap);
    encoded.image.mRect = UURect(c.left, 0, c.left + kWidth, 1);
    Image destination(c.width, 1, 1);
    TestBlitRequest request;
    Prepare(request, encoded.image, destination, 0, c.xStep);
    request.mSourceX = c.sourceX;
    gSamples.clear();
    LeaveDirtyHeapBlock(kWidth);
    encoded.image.WalkRows(request, SampleSpan);
    EXPECT_EQ(gSamples, c.samples) << c.what;
  }
}

}  // namespace
