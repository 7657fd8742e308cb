#include "mm/drawing/MMBlitRequest.h"

#include "mm/drawing/win/WinMMProcessor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bitmap = std::unique_ptr<MMBitmapWithPixels>;

Bitmap MakeBitmap(int32_t width, int32_t height, int32_t format, int32_t subFormat = 0) {
  Bitmap bitmap(MMBitmapWithPixels::Create(UURect(0, 0, width, height), format, nullptr));
  bitmap->mSubFormat = subFormat;
  std::memset(bitmap->mPixels, 0,
              static_cast<size_t>(bitmap->mPitch) * static_cast<size_t>(height));
  return bitmap;
}

std::vector<uint8_t> Row(const MMBitmap& bitmap, int32_t y) {
  const uint8_t* p = bitmap.GetPixelAddress(bitmap.mRect.mLeft, y);
  return std::vector<uint8_t>(p, p + bitmap.GetWidth() * bitmap.mBytesPerPixel);
}

void SetRow(MMBitmap& bitmap, int32_t y, const std::vector<uint8_t>& bytes) {
  std::memcpy(bitmap.GetPixelAddress(bitmap.mRect.mLeft, y), bytes.data(), bytes.size());
}

// Blits source into destination at rect; the result of Prepare.
bool Blit(MMBitmap& source, MMBitmap& destination, const UURect& rect,
          const MMPalette* palette = nullptr, const uint8_t* remap = nullptr) {
  MMBitmapBlitRequest request;
  request.mPalette = palette;
  request.mRemap = remap;
  if (!request.Prepare(&source, destination, rect)) return false;
  return request.Execute();
}

// Runs each test on one path of span routines, and puts the fastest back.
class MMBlitPathTest : public ::testing::TestWithParam<MMBlitPath> {
 protected:
  void TearDown() override { MMInitializeBlitRoutines(); }
};

class MMBlitRequestTest : public MMBlitPathTest {
 protected:
  void SetUp() override { MMSelectBlitRoutines(GetParam()); }
};

// Each vector path against the plain one, on the same cases.
class MMBlitVectorPathTest : public MMBlitPathTest {
 protected:
  const MMBlitPath mPaths[2] = {MMBlitPath::kPlain, GetParam()};
};

std::vector<MMBlitPath> VectorPaths() {
  std::vector<MMBlitPath> paths = MMAvailableBlitPaths();
  paths.erase(paths.begin());
  return paths;
}

std::string PathName(const ::testing::TestParamInfo<MMBlitPath>& info) {
  switch (info.param) {
    case MMBlitPath::kPlain:
      return "Plain";
    case MMBlitPath::kSSE2:
      return "SSE2";
    case MMBlitPath::kAVX2:
      return "AVX2";
  }
  return "Unknown";
}

TEST(MMBitmapTest, CreatedBitmapsHaveRowsAlignedToFourBytes) {
  EXPECT_EQ(MakeBitmap(3, 2, kMMFormat24)->mPitch, 12);
  EXPECT_EQ(MakeBitmap(5, 2, kMMFormat8)->mPitch, 8);
  Bitmap b = MakeBitmap(7, 3, kMMFormat32);
  EXPECT_EQ(b->mPitch, 28);
  EXPECT_EQ(b->mBitsPerPixel, 32);
  EXPECT_EQ(b->mBytesPerPixel, 4);
  EXPECT_TRUE(b->IsValid());
}

TEST(MMBitmapTest, ValidityFollowsFormatAndPitch) {
  struct Case {
    int32_t format, subFormat, bits, pitch;
    bool valid;
  };
  const Case cases[] = {
      {kMMFormat32, 3, 32, 40, true},
      {kMMFormat32, 0, 32, 0, true},
      {kMMFormat32, 0, 32, -40, true},
      {kMMFormat32, 0, 32, -39, false},
      {kMMFormat24, 1, 24, 40, false},
      {kMMFormat24, 0, 24, 30, true},
      {kMMFormat8, 4, 8, 40, false},
      {kMMFormat8, 0, 32, 40, false},
      {3, 0, 8, 40, false},
  };
  for (const Case& c : cases) {
    MMBitmapWithPixels bitmap(
        UURect(0, 0, 10, 2), c.bits, c.format,
        ALAllocate(MMBitmapWithPixels::kBlockHeader + 80, nullptr, kALMustSucceed));
    bitmap.mSubFormat = c.subFormat;
    bitmap.mBytesPerPixel = c.bits / 8;
    bitmap.mPitch = c.pitch;
    EXPECT_EQ(bitmap.IsValid(), c.valid) << c.format << "/" << c.subFormat << " pitch " << c.pitch;
  }
}

TEST(MMBitmapTest, PixelAddressesWrapAtSixteenBitsAndSubBitmapsShare) {
  Bitmap b = MakeBitmap(8, 8, kMMFormat32);
  b->mRect = UURect(10, 20, 18, 28);
  EXPECT_EQ(b->GetPixelAddress(11, 22), b->mPixels + 4 + 2 * b->mPitch);
  EXPECT_EQ(b->GetPixelAddress(11 + 65536, 22), b->GetPixelAddress(11, 22));
  MMBitmap sub = b->GetSubBitmap(UURect(12, 21, 14, 23));
  EXPECT_EQ(sub.mPixels, b->GetPixelAddress(12, 21));
  EXPECT_EQ(sub.mPitch, b->mPitch);
  EXPECT_EQ(sub.GetPixelAddress(13, 22), b->GetPixelAddress(13, 22));
}

TEST(MMBlitRequestPrepareTest, ClipsAndSetsStepping) {
  Bitmap source = MakeBitmap(4, 4, kMMFormat32);
  Bitmap destination = MakeBitmap(10, 10, kMMFormat32);
  MMBitmapBlitRequest request;
  EXPECT_FALSE(request.Prepare(source.get(), *destination, UURect(20, 0, 24, 4)));
  EXPECT_FALSE(request.Execute());

  ASSERT_TRUE(request.Prepare(source.get(), *destination, UURect(-2, 8, 2, 12)));
  EXPECT_EQ(request.mXStep, 0x10000);
  EXPECT_EQ(request.mSourceX, 2 * 65536);  // the clipped-away columns are skipped
  EXPECT_EQ(request.mSourceY, 0);
  EXPECT_EQ(request.mWidth, 2);
  EXPECT_EQ(request.mDestination.mRect, UURect(0, 8, 2, 10));

  MMBitmapBlitRequest rect;
  ASSERT_TRUE(rect.PrepareRect(source.get(), *destination, UURect(0, 0, 4, 4), UURect(0, 0, 4, 4)));
  EXPECT_EQ(rect.mXStep, 0x10000);
  EXPECT_EQ(rect.mSourceX, 0x8000);  // half a pixel in, the same pixels

  ASSERT_TRUE(request.Prepare(source.get(), *destination, UURect(0, 0, 8, 8)));
  EXPECT_EQ(request.mXStep, 0x8000);
  EXPECT_EQ(request.mSourceX, 0x4000);  // under the first destination pixel's centre
}

TEST(MMBlitRequestPrepareTest, CombinationsWithoutARoutineAreNotReady) {
  MMPalette palette{};
  struct Case {
    int32_t sourceFormat, subFormat, destinationFormat;
    const MMPalette* palette;
  };
  const Case cases[] = {{kMMFormat32, 0, kMMFormat8, nullptr},
                        {kMMFormat24, 0, kMMFormat8, nullptr},
                        {kMMFormat8, 2, kMMFormat8, nullptr},
                        {kMMFormat8, 3, kMMFormat8, nullptr},
                        {kMMFormat8, 0, kMMFormat32, nullptr}};  // no palette to expand with
  for (const Case& c : cases) {
    Bitmap source = MakeBitmap(2, 2, c.sourceFormat, c.subFormat);
    Bitmap destination = MakeBitmap(2, 2, c.destinationFormat);
    MMBitmapBlitRequest request;
    request.mPalette = c.palette;
    EXPECT_FALSE(request.Prepare(source.get(), *destination, UURect(0, 0, 2, 2)));
  }
  Bitmap source = MakeBitmap(2, 2, kMMFormat8, 3);
  Bitmap destination = MakeBitmap(2, 2, kMMFormat24);
  EXPECT_TRUE(Blit(*source, *destination, UURect(0, 0, 2, 2), &palette));
}

TEST_P(MMBlitRequestTest, BlendsByTheFourthByte) {
  struct Case {
    int32_t subFormat;
    uint8_t source[4];
    uint8_t destination[4];
    uint8_t expected[4];
  };
  const Case cases[] = {
      {2, {10, 10, 10, 128}, {200, 200, 200, 7}, {110, 110, 110, 0}},
      {3, {10, 10, 10, 128}, {200, 200, 200, 7}, {105, 105, 105, 0}},
      {2, {200, 0, 0, 200}, {100, 0, 0, 9}, {22, 0, 0, 0}},  // 78 + 200 wraps to 22
      {2, {1, 2, 3, 0}, {9, 9, 9, 9}, {1, 2, 3, 0}},
      {3, {1, 2, 3, 255}, {9, 9, 9, 9}, {9, 9, 9, 9}},
      {1, {1, 2, 3, 255}, {9, 9, 9, 9}, {9, 9, 9, 9}},
      {1, {1, 2, 3, 0}, {9, 9, 9, 9}, {1, 2, 3, 0}},
  };
  for (const Case& c : cases) {
    Bitmap source = MakeBitmap(1, 1, kMMFormat32, c.subFormat);
    Bitmap destination = MakeBitmap(1, 1, kMMFormat32);
    SetRow(*source, 0, {c.source, c.source + 4});
    SetRow(*destination, 0, {c.destination, c.destination + 4});
    ASSERT_TRUE(Blit(*source, *destination, UURect(0, 0, 1, 1)));
    EXPECT_EQ(Row(*destination, 0), std::vector<uint8_t>(c.expected, c.expected + 4))
        << "sub-format " << c.subFormat;
  }
}

TEST_P(MMBlitRequestTest, KeyedPaletteImagesTestTheIndexBeforeRemapping) {
  MMPalette palette{};
  palette.mEntries[0] = {1, 1, 1, 0};
  palette.mEntries[5] = {5, 5, 5, 0};
  uint8_t remap[256];
  for (int i = 0; i < 256; ++i) remap[i] = static_cast<uint8_t>(i);
  remap[0] = 5;
  remap[7] = 0;
  Bitmap source = MakeBitmap(2, 1, kMMFormat8, kMMSubFormatKeyed);
  SetRow(*source, 0, {0, 7});
  Bitmap destination = MakeBitmap(2, 1, kMMFormat24);
  SetRow(*destination, 0, {9, 9, 9, 9, 9, 9});
  ASSERT_TRUE(Blit(*source, *destination, UURect(0, 0, 2, 1), &palette, remap));
  EXPECT_EQ(Row(*destination, 0), (std::vector<uint8_t>{9, 9, 9, 1, 1, 1}));
}

TEST_P(MMBlitRequestTest, MirrorsAndScalesRows) {
  Bitmap source = MakeBitmap(3, 1, kMMFormat8);
  SetRow(*source, 0, {10, 11, 12});
  Bitmap mirrored = MakeBitmap(3, 1, kMMFormat8);
  MMBitmapBlitRequest request;
  ASSERT_TRUE(request.PrepareRect(source.get(), *mirrored, UURect(3, 0, 0, 1), UURect(0, 0, 3, 1)));
  EXPECT_EQ(request.mXStep, -0x10000);
  ASSERT_TRUE(request.Execute());
  EXPECT_EQ(Row(*mirrored, 0), (std::vector<uint8_t>{12, 11, 10}));

  Bitmap doubled = MakeBitmap(6, 2, kMMFormat8);
  ASSERT_TRUE(Blit(*source, *doubled, UURect(0, 0, 6, 2)));
  EXPECT_EQ(Row(*doubled, 0), (std::vector<uint8_t>{10, 10, 11, 11, 12, 12}));
  EXPECT_EQ(Row(*doubled, 1), Row(*doubled, 0));
}

TEST_P(MMBlitRequestTest, ConvertsDepthsAndExpandsPalettes) {
  MMPalette palette{};
  palette.mEntries[3] = {30, 31, 32, 0};
  Bitmap indexed = MakeBitmap(1, 1, kMMFormat8);
  SetRow(*indexed, 0, {3});
  Bitmap wide = MakeBitmap(1, 1, kMMFormat32);
  ASSERT_TRUE(Blit(*indexed, *wide, UURect(0, 0, 1, 1), &palette));
  EXPECT_EQ(Row(*wide, 0), (std::vector<uint8_t>{30, 31, 32, 0}));
  Bitmap narrow = MakeBitmap(1, 1, kMMFormat24);
  SetRow(*wide, 0, {1, 2, 3, 0});
  ASSERT_TRUE(Blit(*wide, *narrow, UURect(0, 0, 1, 1)));
  EXPECT_EQ(Row(*narrow, 0), (std::vector<uint8_t>{1, 2, 3}));
  SetRow(*wide, 0, {9, 9, 9, 9});
  ASSERT_TRUE(Blit(*narrow, *wide, UURect(0, 0, 1, 1)));
  EXPECT_EQ(Row(*wide, 0), (std::vector<uint8_t>{1, 2, 3, 0}));
}

INSTANTIATE_TEST_SUITE_P(EveryPath, MMBlitRequestTest, ::testing::ValuesIn(MMAvailableBlitPaths()),
                         PathName);

// Every routine of the four tables, in every direction and at several
// widths and alignments, draws the same pixels through the vector forms as
// through the plain ones.
TEST_P(MMBlitVectorPathTest, EveryModeDrawsThePlainPathsPixels) {
  struct Mode {
    int32_t sourceFormat, subFormat, destinationFormat;
    bool remap;
  };
  std::vector<Mode> modes;
  for (int32_t sub = 0; sub < 4; ++sub) {
    for (int32_t d : {kMMFormat32, kMMFormat24}) {
      modes.push_back({kMMFormat32, sub, d, false});
      modes.push_back({kMMFormat8, sub, d, false});
      modes.push_back({kMMFormat8, sub, d, true});
    }
  }
  for (int32_t sub = 0; sub < 2; ++sub) {
    modes.push_back({kMMFormat8, sub, kMMFormat8, false});
    modes.push_back({kMMFormat8, sub, kMMFormat8, true});
  }
  modes.push_back({kMMFormat24, 0, kMMFormat32, false});
  modes.push_back({kMMFormat24, 0, kMMFormat24, false});

  std::mt19937 random(7);
  MMPalette palette;
  for (MMPaletteEntry& e : palette.mEntries) {
    e = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
         static_cast<uint8_t>(random()), static_cast<uint8_t>(random() % 3 == 0 ? 0 : random())};
  }
  uint8_t remap[256];
  for (uint8_t& r : remap) r = static_cast<uint8_t>(random());
  const UURect rects[] = {UURect(0, 0, 37, 5), UURect(1, 1, 38, 4), UURect(3, 0, 80, 9),
                          UURect(-5, -2, 20, 3), UURect(2, 0, 3, 1)};
  for (const Mode& m : modes) {
    Bitmap source = MakeBitmap(37, 5, m.sourceFormat, m.subFormat);
    for (int32_t i = 0; i < source->mPitch * 5; ++i)
      source->mPixels[i] = static_cast<uint8_t>(random());
    if (m.sourceFormat == kMMFormat32 && m.subFormat == kMMSubFormatKeyed) {
      // Keyed images hold only opaque (0) and transparent (255) pixels.
      for (int32_t i = 3; i < source->mPitch * 5; i += 4)
        source->mPixels[i] = random() % 2 ? 0 : 255;
    }
    for (const UURect& rect : rects) {
      for (int mirrored = 0; mirrored < 2; ++mirrored) {
        std::vector<uint8_t> results[2];
        Bitmap background = MakeBitmap(90, 10, m.destinationFormat);
        for (int32_t i = 0; i < background->mPitch * 10; ++i)
          background->mPixels[i] = static_cast<uint8_t>(random());
        for (int path = 0; path < 2; ++path) {
          MMSelectBlitRoutines(mPaths[path]);
          Bitmap destination = MakeBitmap(90, 10, m.destinationFormat);
          std::memcpy(destination->mPixels, background->mPixels,
                      static_cast<size_t>(background->mPitch) * 10);
          MMBitmapBlitRequest request;
          request.mPalette = &palette;
          request.mRemap = m.remap ? remap : nullptr;
          const UURect sourceRect = mirrored ? UURect(37, 0, 0, 5) : UURect(0, 0, 37, 5);
          ASSERT_TRUE(request.PrepareRect(source.get(), *destination, sourceRect, rect));
          ASSERT_TRUE(request.Execute());
          results[path].assign(destination->mPixels,
                               destination->mPixels + destination->mPitch * 10);
        }
        EXPECT_EQ(results[0], results[1])
            << "source " << m.sourceFormat << " sub " << m.subFormat << " into "
            << m.destinationFormat << " remap " << m.remap;
      }
    }
  }
}

// The vector blends against the plain ones over every transparency (the
// column) and every colour byte (the row), each over a spread of
// destination bytes; the width leaves a tail that the vector loop does not
// cover.
TEST_P(MMBlitVectorPathTest, BlendsDrawThePlainPathsPixelsForEveryTransparency) {
  constexpr int32_t kSide = 256;
  constexpr int32_t kWidth = kSide + 3;
  for (int32_t sub : {kMMSubFormatPremultiplied, kMMSubFormatStraight}) {
    Bitmap source = MakeBitmap(kWidth, kSide, kMMFormat32, sub);
    for (int32_t y = 0; y < kSide; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        uint8_t* p = source->GetPixelAddress(x, y);
        const std::array<int32_t, 4> bytes{y, y + 85, y + 170, x};
        for (size_t i = 0; i < bytes.size(); ++i) p[i] = static_cast<uint8_t>(bytes[i]);
      }
    }
    for (int32_t under = 0; under < 256; under += 5) {
      std::vector<uint8_t> results[2];
      for (int path = 0; path < 2; ++path) {
        MMSelectBlitRoutines(mPaths[path]);
        Bitmap destination = MakeBitmap(kWidth, kSide, kMMFormat32);
        for (int32_t i = 0; i < destination->mPitch * kSide; ++i)
          destination->mPixels[i] = static_cast<uint8_t>(under + i % 4 * 101);
        ASSERT_TRUE(Blit(*source, *destination, UURect(0, 0, kWidth, kSide)));
        results[path].assign(destination->mPixels,
                             destination->mPixels + destination->mPitch * kSide);
      }
      ASSERT_EQ(results[0], results[1]) << "sub " << sub << " under " << under;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryVectorPath, MMBlitVectorPathTest, ::testing::ValuesIn(VectorPaths()),
                         PathName);

TEST(MMBlitRequestMMXTest, PlainCopiesUseTheMMXBlockCopy) {
  std::vector<uint8_t> source(300), destination(310, 0xEE);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i + 1);
  WinMMCopyBytesMMX(destination.data() + 3, source.data(), 300);
  EXPECT_EQ(0, std::memcmp(destination.data() + 3, source.data(), 300));
  EXPECT_EQ(destination[2], 0xEE);
  EXPECT_EQ(destination[303], 0xEE);
  source[10] = 0;
  source[200] = 0;
  std::vector<uint8_t> keyed(300, 0x55);
  WinMMCopyBytesSkipZeroMMX(keyed.data(), source.data(), 300);
  EXPECT_EQ(keyed[10], 0x55);
  EXPECT_EQ(keyed[200], 0x55);
  EXPECT_EQ(keyed[11], source[11]);
}

TEST(MMBlitRequestMMXTest, OnlyTheOutermostSectionClearsTheState) {
  EXPECT_EQ(WinMMGetSectionLevel(), 0);
  WinMMBeginMMX();
  WinMMBeginMMX();
  EXPECT_EQ(WinMMGetSectionLevel(), 1);
  WinMMBeginFPU();
  EXPECT_EQ(WinMMGetSectionLevel(), 2);
  WinMMBeginFPU();
  WinMMEndFPU();
  WinMMEndFPU();
  EXPECT_EQ(WinMMGetSectionLevel(), 1);
  WinMMEndMMX();
  EXPECT_EQ(WinMMGetSectionLevel(), 1);
  WinMMEndMMX();
  EXPECT_EQ(WinMMGetSectionLevel(), 0);
}

}  // namespace
