#include "app/shell/CDib.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "tests/support/BmpFixtures.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using bmp_fixtures::BmpFixture;

// Writes files into a fresh host directory and reads them back through the
// system's Windows paths.
class CDibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vplcdibXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mHost = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(mHost); }

  std::unique_ptr<CDib> Read(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(mHost + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::string path = "C:" + mHost + "/" + name;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return std::unique_ptr<CDib>(CDibReadFile(path.c_str()));
  }

  std::unique_ptr<CDib> Read(const BmpFixture& fixture) {
    return Read(fixture.mName, fixture.mBytes);
  }

  std::string mHost;
};

std::vector<uint8_t> BlockOf(const CDib& dib) {
  HandleOrPtrLock<unsigned char> lock(dib);
  return {lock.Get(), lock.Get() + CDibBlockSize(lock.Get())};
}

std::vector<std::vector<uint8_t>> Rows(const CDib& dib) {
  std::vector<std::vector<uint8_t>> rows;
  for (int32_t y = 0; y < dib.GetHeight(); ++y) {
    std::vector<uint8_t> row(static_cast<size_t>(dib.GetUnpackedRowLength()));
    EXPECT_TRUE(dib.GetRow(y, row.data()));
    rows.push_back(row);
  }
  return rows;
}

TEST_F(CDibTest, RunLengthFilesReadAsTheirUncompressedTwins) {
  for (int bits : {8, 4}) {
    const auto encoded = Read(bmp_fixtures::RleFile("rle.bmp", bits));
    const auto twin = Read(bmp_fixtures::RleTwin("twin.bmp", bits));
    ASSERT_TRUE(encoded && twin) << bits << " bits";
    EXPECT_EQ(BlockOf(*encoded), BlockOf(*twin)) << bits << " bits";
    BITMAPINFOHEADER header{};
    std::memcpy(&header, BlockOf(*encoded).data(), sizeof header);
    EXPECT_EQ(header.biCompression, BI_RGB);
  }
}

TEST_F(CDibTest, JpegNamesGoToTheImporterWhichHasNoDecoder) {
  EXPECT_EQ(Read("picture.PST", bmp_fixtures::RleTwin("", 8).mBytes), nullptr);
  EXPECT_EQ(Read("picture.jpg", bmp_fixtures::RleTwin("", 8).mBytes), nullptr);
}

TEST_F(CDibTest, DamagedFilesGiveNull) {
  struct Damage {
    const char* what;
    size_t at;
    uint32_t value;
  };
  // Offsets in the file: 2 file size, 10 pixel offset, 14 header size,
  // 18 width, 22 height, 28 depth, 30 compression, 34 image size.
  const Damage damages[] = {
      {"core header size", 14, 12},
      {"header size 108", 14, 108},
      {"depth 2", 28, 2},
      {"width 0", 18, 0},
      {"width 32768", 18, 32768},
      {"height 0", 22, 0},
      {"height negative", 22, 0xFFFFFFFF},
      {"pixel offset past the end", 10, 100000},
      {"image size beyond the block", 34, 10000},
      {"image size past the file", 34, 60},
      {"RLE4 at 8 bits", 30, 2},
  };
  for (const Damage& d : damages) {
    BmpFixture fixture = bmp_fixtures::RleFile("damaged.bmp", 8);
    for (size_t i = 0; i < 4; ++i)
      fixture.mBytes[d.at + i] = static_cast<uint8_t>(d.value >> (8 * i));
    EXPECT_EQ(Read(fixture), nullptr) << d.what;
  }
  BmpFixture truncated = bmp_fixtures::IndexedFile("short.bmp", 8, 5, 4);
  truncated.mBytes.resize(truncated.mBytes.size() - 1);
  EXPECT_EQ(Read(truncated), nullptr) << "rows the file does not hold";
  EXPECT_EQ(Read("notbmp.bmp", {'X', 'Y', 0, 0}), nullptr);
}

TEST_F(CDibTest, PackedRowsUnpackAndMirror) {
  for (int bits : {1, 4}) {
    const int colors = 1 << bits;
    const auto dib = Read(bmp_fixtures::IndexedFile("packed.bmp", bits, 13, 5));
    ASSERT_TRUE(dib) << bits << " bits";
    const bmp_fixtures::IndexGrid grid = bmp_fixtures::PatternGrid(13, 5, colors);
    EXPECT_EQ(Rows(*dib), grid) << bits << " bits";
    ASSERT_TRUE(dib->MirrorHorizontal());
    bmp_fixtures::IndexGrid mirrored = grid;
    for (auto& row : mirrored) std::reverse(row.begin(), row.end());
    EXPECT_EQ(Rows(*dib), mirrored) << bits << " bits";
  }
}

TEST_F(CDibTest, QuarterTurnsExchangeTheSizeAndTwoHalfTurnsGiveTheStart) {
  for (int bits : {1, 4, 8, 24}) {
    const BmpFixture fixture = bits == 24 ? bmp_fixtures::DirectFile("d.bmp", 24, 3, 2)
                                          : bmp_fixtures::IndexedFile("i.bmp", bits, 3, 2);
    const auto dib = Read(fixture);
    ASSERT_TRUE(dib) << bits;
    const auto start = Rows(*dib);
    const int32_t px = bits == 24 ? 3 : 1;
    ASSERT_TRUE(dib->Rotate(90));
    ASSERT_EQ(dib->GetWidth(), 2);
    ASSERT_EQ(dib->GetHeight(), 3);
    // Anticlockwise: the top right pixel comes to the top left.
    const auto turned = Rows(*dib);
    for (int32_t b = 0; b < px; ++b) {
      EXPECT_EQ(turned[0][static_cast<size_t>(b)], start[0][static_cast<size_t>(2 * px + b)])
          << bits;
    }
    ASSERT_TRUE(dib->Rotate(270));
    EXPECT_EQ(Rows(*dib), start) << bits;
    ASSERT_TRUE(dib->Rotate(180));
    ASSERT_TRUE(dib->Rotate(180));
    EXPECT_EQ(Rows(*dib), start) << bits;
    EXPECT_FALSE(dib->Rotate(45));
    EXPECT_EQ(Rows(*dib), start) << bits;
  }
}

TEST_F(CDibTest, NeutralBrightnessAndContrastLeaveEveryColour) {
  const auto dib = Read(bmp_fixtures::DirectFile("colours.bmp", 24, 5, 3));
  ASSERT_TRUE(dib);
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, 5, 3), AFPalette()));
  ASSERT_TRUE(surface);
  ASSERT_TRUE(dib->DrawInto(*surface, UURect(0, 0, 5, 3)));
  MMBitmap bitmap;
  ASSERT_TRUE(surface->GetImageDescription(bitmap));
  const auto rows = Rows(*dib);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      const uint8_t* pixel = bitmap.GetPixelAddress(x, y);
      for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(pixel[c], rows[static_cast<size_t>(y)][static_cast<size_t>(3 * x + c)])
            << x << "," << y;
      }
    }
  }
  EXPECT_FALSE(dib->DrawInto(*surface, UURect(0, 0, 0, 3)));
}

}  // namespace
