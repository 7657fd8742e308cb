// Setting DIB sections from every kind of DIB, and run-length rows read no
// further than their image size.
#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"
#include "tests/support/BmpFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using bmp_fixtures::BmpFixture;

constexpr size_t kFileHeader = 14;
constexpr uint8_t kCoreHeader = 12;

const BITMAPINFO* Info(const BmpFixture& fixture) {
  return reinterpret_cast<const BITMAPINFO*>(fixture.mBytes.data() + kFileHeader);
}

const uint8_t* Bits(const BmpFixture& fixture) {
  uint32_t offset = 0;
  std::memcpy(&offset, fixture.mBytes.data() + 10, sizeof offset);
  return fixture.mBytes.data() + offset;
}

// A section made from the file's header with no compression, its pixels
// set to earlier as if it held another picture, then set from the file's
// rows; answers the section's bytes.
std::vector<uint8_t> SectionSetFrom(const BmpFixture& fixture, uint8_t earlier = 0) {
  std::vector<uint8_t> info(fixture.mBytes.begin() + kFileHeader, fixture.mBytes.end());
  if (info[0] != kCoreHeader) {
    BITMAPINFOHEADER header{};
    std::memcpy(&header, info.data(), sizeof header);
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;
    std::memcpy(info.data(), &header, sizeof header);
  }
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section == nullptr) return {};
  std::vector<uint8_t> bytes;
  DIBSECTION about{};
  const bool described = GetObjectA(section, sizeof about, &about) == sizeof about;
  if (described) {
    const auto pixelBytes = static_cast<size_t>(about.dsBm.bmWidth * about.dsBm.bmBitsPixel / 8);
    for (LONG y = 0; y < about.dsBm.bmHeight; ++y) {
      std::memset(static_cast<uint8_t*>(bits) + y * about.dsBm.bmWidthBytes, earlier, pixelBytes);
    }
  }
  if (described && SetDIBits(nullptr, section, 0, static_cast<UINT>(about.dsBm.bmHeight),
                             Bits(fixture), Info(fixture), DIB_RGB_COLORS) == about.dsBm.bmHeight) {
    const auto* start = static_cast<const uint8_t*>(bits);
    bytes.assign(start, start + about.dsBmih.biSizeImage);
  }
  DeleteObject(section);
  return bytes;
}

std::vector<uint8_t> RowsOf(const BmpFixture& fixture) {
  return {Bits(fixture), fixture.mBytes.data() + fixture.mBytes.size()};
}

// The pixels the rows skip (by line ends, deltas and the end mark) are 0
// whatever the section held before.
TEST(GdiDibTest, RunLengthRowsSetIntoASectionAsTheirUncompressedTwins) {
  for (int bits : {8, 4}) {
    for (const int earlier : {0x00, 0xEE}) {
      const BmpFixture encoded = bmp_fixtures::RleFile("rle.bmp", bits);
      const BmpFixture twin = bmp_fixtures::RleTwin("twin.bmp", bits);
      EXPECT_EQ(SectionSetFrom(encoded, static_cast<uint8_t>(earlier)), RowsOf(twin))
          << bits << " bits over " << earlier;
    }
  }
}

// An 8-bit run-length stream of a wide picture, written code by code with
// the picture each code shows, bottom row first.
class WideRle8 {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 8;

  void Run(int count, uint8_t value) {
    mStream.insert(mStream.end(), {static_cast<uint8_t>(count), value});
    for (int i = 0; i < count; ++i) Put(value);
  }
  void Literal(int count) {
    mStream.insert(mStream.end(), {0, static_cast<uint8_t>(count)});
    for (int i = 0; i < count; ++i) {
      mStream.push_back(static_cast<uint8_t>(i * 3 + 1));
      Put(mStream.back());
    }
    if (count % 2 == 1) mStream.push_back(0xFF);
  }
  void Delta(int dx, int dy) {
    mStream.insert(mStream.end(), {0, 2, static_cast<uint8_t>(dx), static_cast<uint8_t>(dy)});
    mX += dx;
    mY += dy;
  }
  void LineEnd() {
    mStream.insert(mStream.end(), {0, 0});
    mX = 0;
    ++mY;
  }
  // The end mark, and bytes after it that are never read.
  void EndMark(size_t trailing) {
    mStream.insert(mStream.end(), {0, 1});
    mStream.resize(mStream.size() + trailing, 0xFF);
  }

  BmpFixture File() const {
    bmp_fixtures::InfoFields f{.mWidth = kWidth,
                               .mHeight = kHeight,
                               .mCompression = BI_RLE8,
                               .mImageSize = static_cast<uint32_t>(mStream.size())};
    return {"wide.bmp", bmp_fixtures::BmpFile(bmp_fixtures::InfoHeader(f),
                                              bmp_fixtures::ColorTable(256, 4), mStream)};
  }
  // The rows of the twin without compression.
  std::vector<uint8_t> Rows() const {
    const bmp_fixtures::IndexGrid topFirst(mGrid.rbegin(), mGrid.rend());
    return bmp_fixtures::IndexRows(topFirst, 8);
  }

 private:
  void Put(uint8_t value) {
    if (mX < kWidth) mGrid[static_cast<size_t>(mY)][static_cast<size_t>(mX)] = value;
    ++mX;
  }

  std::vector<uint8_t> mStream;
  bmp_fixtures::IndexGrid mGrid = bmp_fixtures::IndexGrid(kHeight, std::vector<uint8_t>(kWidth));
  int mX = 0;
  int mY = 0;
};

// Long streams take a quicker way through the codes that lie inside their
// line: codes that fill a line exactly, codes past the right edge, codes
// ending near the edge of the first and the last line stored, skips right
// after long runs and the stream's tail give the same pixels.
TEST(GdiDibTest, WideRunLengthRowsSetIntoASectionAsTheirUncompressedTwins) {
  WideRle8 rle;
  rle.Run(70, 5);
  rle.Literal(37);
  rle.Run(53, 9);
  rle.LineEnd();
  rle.Run(100, 4);
  rle.Delta(20, 0);
  rle.Literal(3);
  rle.LineEnd();
  rle.Run(145, 6);
  rle.Run(10, 7);
  rle.Run(50, 8);
  rle.Literal(255);
  rle.LineEnd();
  rle.Literal(90);
  rle.Delta(5, 1);
  rle.Run(30, 2);
  rle.LineEnd();
  for (int filler = 0; filler < 2; ++filler) {
    rle.Literal(WideRle8::kWidth);
    rle.LineEnd();
  }
  rle.Run(145, 1);
  rle.Run(10, 3);
  rle.EndMark(300);
  EXPECT_EQ(SectionSetFrom(rle.File(), 0xEE), rle.Rows());
}

TEST(GdiDibTest, RunLengthRowsAreReadNoFurtherThanTheImageSize) {
  BmpFixture fixture = bmp_fixtures::RleFile("rle.bmp", 8);
  // Cut the stream after its first row (8 bytes): a run after it, and the
  // bytes of the real stream, lie outside the image size and are not read.
  const size_t imageSizeAt = kFileHeader + 20;
  fixture.mBytes[imageSizeAt] = 8;
  std::vector<uint8_t> expected(RowsOf(bmp_fixtures::RleTwin("twin.bmp", 8)).size(), 0);
  const uint8_t bottomRow[] = {7, 7, 7, 7, 2, 2, 9, 9, 9};
  std::memcpy(expected.data(), bottomRow, sizeof bottomRow);
  EXPECT_EQ(SectionSetFrom(fixture), expected);
}

TEST(GdiDibTest, UnsoundHeadersAreRefused) {
  struct Case {
    const char* what;
    size_t offset;  // within the info header
    uint32_t value;
    int bytes;
  };
  const Case cases[] = {
      {"header size 20", 0, 20, 4},
      {"run-length rows top-down", 8, 0xFFFFFFFA, 4},
      {"RLE4 compression at 8 bits", 16, 2, 4},
      {"no image size", 20, 0, 4},
      {"unknown compression", 16, 4, 4},
  };
  for (const Case& c : cases) {
    BmpFixture fixture = bmp_fixtures::RleFile("rle.bmp", 8);
    for (int i = 0; i < c.bytes; ++i) {
      fixture.mBytes[kFileHeader + c.offset + static_cast<size_t>(i)] =
          static_cast<uint8_t>(c.value >> (8 * i));
    }
    vpl::test::DibCanvas canvas(9, 6, 32);
    EXPECT_EQ(StretchDIBits(canvas.dc(), 0, 0, 9, 6, 0, 0, 9, 6, Bits(fixture), Info(fixture),
                            DIB_RGB_COLORS, SRCCOPY),
              0)
        << c.what;
  }
  BmpFixture tooManyColors = bmp_fixtures::IndexedFile("indexed4.bmp", 4, 7, 5);
  tooManyColors.mBytes[kFileHeader + 32] = 17;
  EXPECT_EQ(SectionSetFrom(tooManyColors), std::vector<uint8_t>());
}

TEST(GdiDibTest, PackedAndCoreRowsSetIntoSectionsOfTheirOwnDepth) {
  for (const BmpFixture& fixture : {bmp_fixtures::IndexedFile("indexed1.bmp", 1, 13, 5),
                                    bmp_fixtures::IndexedFile("indexed4.bmp", 4, 7, 5),
                                    bmp_fixtures::IndexedFile("core4.bmp", 4, 3, 2, 12)}) {
    EXPECT_EQ(SectionSetFrom(fixture), RowsOf(fixture)) << fixture.mName;
  }
}

}  // namespace
