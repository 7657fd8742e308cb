#pragma once
// Small BMP files of every kind the platform decodes, written byte by byte:
// indexed rows of 1, 4 and 8 bits, run-length encoded 8- and 4-bit rows
// (runs, literal strings, a delta, line ends and the end mark) with their
// uncompressed twins, 16-bit 5-5-5 and 5-6-5, 24 and 32 bits, the 12-byte
// core header, the 108- and 124-byte headers and top-down rows. Odd widths
// make every row padded.

#include <cstdint>
#include <string>
#include <vector>

namespace bmp_fixtures {

struct BmpFixture {
  std::string mName;
  std::vector<uint8_t> mBytes;
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

struct InfoFields {
  uint32_t mSize = 40;
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  uint16_t mBits = 8;
  uint32_t mCompression = 0;
  uint32_t mImageSize = 0;
  uint32_t mColorsUsed = 0;
  uint32_t mMasks[3] = {};
};

inline std::vector<uint8_t> InfoHeader(const InfoFields& f) {
  std::vector<uint8_t> out;
  PutLe(out, f.mSize, 4);
  if (f.mSize == 12) {
    PutLe(out, static_cast<uint32_t>(f.mWidth), 2);
    PutLe(out, static_cast<uint32_t>(f.mHeight), 2);
    PutLe(out, 1, 2);
    PutLe(out, f.mBits, 2);
    return out;
  }
  PutLe(out, static_cast<uint32_t>(f.mWidth), 4);
  PutLe(out, static_cast<uint32_t>(f.mHeight), 4);
  PutLe(out, 1, 2);
  PutLe(out, f.mBits, 2);
  PutLe(out, f.mCompression, 4);
  PutLe(out, f.mImageSize, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, f.mColorsUsed, 4);
  PutLe(out, 0, 4);
  // Longer headers hold the masks next, then fields left zero.
  if (f.mSize > 40) {
    for (uint32_t mask : f.mMasks) PutLe(out, mask, 4);
  }
  out.resize(f.mSize, 0);
  return out;
}

// "BM", the file size, the offset of the rows, then the parts.
inline std::vector<uint8_t> BmpFile(const std::vector<uint8_t>& header,
                                    const std::vector<uint8_t>& between,
                                    const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> file = {'B', 'M'};
  const auto offset = static_cast<uint32_t>(14 + header.size() + between.size());
  PutLe(file, offset + static_cast<uint32_t>(rows.size()), 4);
  PutLe(file, 0, 4);
  PutLe(file, offset, 4);
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), between.begin(), between.end());
  file.insert(file.end(), rows.begin(), rows.end());
  return file;
}

// A colour table of the count's entries, entryBytes (3 or 4) each.
inline std::vector<uint8_t> ColorTable(int count, int entryBytes) {
  std::vector<uint8_t> table;
  for (int i = 0; i < count; ++i) {
    table.push_back(static_cast<uint8_t>(i * 37 + 11));
    table.push_back(static_cast<uint8_t>(i * 91 + 5));
    table.push_back(static_cast<uint8_t>(255 - i * 13));
    if (entryBytes == 4) table.push_back(0);
  }
  return table;
}

// An index grid, row 0 at the top.
using IndexGrid = std::vector<std::vector<uint8_t>>;

inline IndexGrid PatternGrid(int width, int height, int colors) {
  IndexGrid grid(static_cast<size_t>(height), std::vector<uint8_t>(static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      grid[static_cast<size_t>(y)][static_cast<size_t>(x)] =
          static_cast<uint8_t>((x * 3 + y * 5) % colors);
    }
  }
  return grid;
}

// Rows bottom-up (top-down when asked), packed to the bits, padded to 4.
inline std::vector<uint8_t> IndexRows(const IndexGrid& grid, int bits, bool topDown = false) {
  std::vector<uint8_t> rows;
  const int height = static_cast<int>(grid.size());
  for (int k = 0; k < height; ++k) {
    const std::vector<uint8_t>& row = grid[static_cast<size_t>(topDown ? k : height - 1 - k)];
    std::vector<uint8_t> packed((row.size() * static_cast<size_t>(bits) + 31) / 32 * 4, 0);
    for (size_t x = 0; x < row.size(); ++x) {
      const size_t bit = x * static_cast<size_t>(bits);
      packed[bit / 8] = static_cast<uint8_t>(packed[bit / 8] |
                                             row[x] << (8 - static_cast<size_t>(bits) - bit % 8));
    }
    rows.insert(rows.end(), packed.begin(), packed.end());
  }
  return rows;
}

// Direct-colour rows: each pixel's bytes from its position, bottom-up or
// top-down, padded to 4.
inline std::vector<uint8_t> ColorRows(int width, int height, int bytesPerPixel, bool topDown) {
  std::vector<uint8_t> rows;
  for (int k = 0; k < height; ++k) {
    const int y = topDown ? k : height - 1 - k;
    size_t written = 0;
    for (int x = 0; x < width; ++x) {
      for (int b = 0; b < bytesPerPixel; ++b) {
        rows.push_back(static_cast<uint8_t>(x * 41 + y * 23 + b * 67));
        ++written;
      }
    }
    for (; written % 4 != 0; ++written) rows.push_back(0);
  }
  return rows;
}

inline BmpFixture IndexedFile(const std::string& name, int bits, int width, int height,
                              uint32_t headerSize = 40) {
  const int colors = 1 << bits;
  const int entryBytes = headerSize == 12 ? 3 : 4;
  const int used = bits == 8 ? 40 : colors;
  InfoFields f{.mSize = headerSize,
               .mWidth = width,
               .mHeight = height,
               .mBits = static_cast<uint16_t>(bits)};
  f.mColorsUsed = headerSize == 12 || used == colors ? 0 : static_cast<uint32_t>(used);
  const int tableEntries = headerSize == 12 ? colors : used;
  return {name, BmpFile(InfoHeader(f), ColorTable(tableEntries, entryBytes),
                        IndexRows(PatternGrid(width, height, used), bits))};
}

inline BmpFixture DirectFile(const std::string& name, int bits, int width, int height,
                             uint32_t headerSize = 40, uint32_t compression = 0,
                             const std::vector<uint32_t>& masks = {}) {
  InfoFields f{.mSize = headerSize,
               .mWidth = width,
               .mHeight = height,
               .mBits = static_cast<uint16_t>(bits),
               .mCompression = compression};
  std::vector<uint8_t> between;
  for (size_t i = 0; i < masks.size(); ++i) {
    f.mMasks[i] = masks[i];
    if (headerSize == 40) PutLe(between, masks[i], 4);
  }
  const bool topDown = height < 0;
  return {name, BmpFile(InfoHeader(f), between,
                        ColorRows(width, topDown ? -height : height, bits / 8, topDown))};
}

// The run-length pictures: 9 x 6, drawn bottom row first by the stream. A
// delta skips pixels, which stay index 0 in the twin too.
constexpr int kRleWidth = 9;
constexpr int kRleHeight = 6;

inline IndexGrid RleGrid() {
  // Rows top to bottom.
  return {
      {0, 0, 0, 0, 0, 0, 0, 0, 0},  // left out by the end mark
      {0, 3, 3, 3, 3, 3, 3, 3, 3},  // a run after a delta to the next line
      {5, 0, 0, 0, 0, 0, 0, 0, 0},  // one pixel, then the delta
      {0, 0, 0, 0, 0, 6, 7, 8, 9},  // a delta along the line, then a literal
      {1, 2, 3, 4, 5, 6, 7, 0, 0},  // a literal string of 7, padded
      {7, 7, 7, 7, 2, 2, 9, 9, 9},  // runs
  };
}

inline std::vector<uint8_t> Rle8Stream() {
  return {4, 7, 2, 2, 3, 9, 0, 0,              // runs, line end
          0, 7, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0,  // literal (padded), line end
          0, 2, 5, 0, 0, 4, 6, 7, 8, 9, 0, 0,  // delta (5, 0), literal of 4, line end
          1, 5, 0, 2, 0, 1,                    // one pixel, delta (0, 1)
          8, 3, 0, 0,                          // a run to the right edge, line end
          0, 1};                               // end mark
}

inline std::vector<uint8_t> Rle4Stream() {
  return {4, 0x77, 2,    0x22, 3,    0x99, 0,    0,  // runs, line end
          0, 7,    0x12, 0x34, 0x56, 0x70, 0,    0,  // literal of 7 nibbles in 4 bytes, line end
          0, 2,    5,    0,    0,    4,    0x67, 0x89,
          0, 0,                          // delta (5, 0), literal of 4, line end
          1, 0x50, 0,    2,    0,    1,  // one pixel, delta (0, 1)
          8, 0x33, 0,    0,              // a run to the right edge, line end
          0, 1};                         // end mark
}

inline BmpFixture RleFile(const std::string& name, int bits) {
  const std::vector<uint8_t> stream = bits == 8 ? Rle8Stream() : Rle4Stream();
  InfoFields f{.mWidth = kRleWidth,
               .mHeight = kRleHeight,
               .mBits = static_cast<uint16_t>(bits),
               .mCompression = bits == 8 ? 1u : 2u,
               .mImageSize = static_cast<uint32_t>(stream.size())};
  return {name, BmpFile(InfoHeader(f), ColorTable(1 << bits, 4), stream)};
}

inline BmpFixture RleTwin(const std::string& name, int bits) {
  InfoFields f{.mWidth = kRleWidth, .mHeight = kRleHeight, .mBits = static_cast<uint16_t>(bits)};
  return {name, BmpFile(InfoHeader(f), ColorTable(1 << bits, 4), IndexRows(RleGrid(), bits))};
}

// One file of every kind.
inline std::vector<BmpFixture> AllBmpFixtures() {
  return {
      IndexedFile("indexed1.bmp", 1, 13, 5),
      IndexedFile("indexed4.bmp", 4, 7, 5),
      IndexedFile("indexed8.bmp", 8, 5, 4),
      RleFile("rle8.bmp", 8),
      RleFile("rle4.bmp", 4),
      DirectFile("rgb555.bmp", 16, 5, 3),
      DirectFile("rgb565.bmp", 16, 5, 3, 40, 3, {0xF800, 0x07E0, 0x001F}),
      DirectFile("rgb24.bmp", 24, 5, 3),
      DirectFile("rgb32.bmp", 32, 3, 4),
      IndexedFile("core8.bmp", 8, 5, 3, 12),
      IndexedFile("core4.bmp", 4, 3, 2, 12),
      DirectFile("v4rgb32.bmp", 32, 3, 2, 108, 3, {0xFF0000, 0xFF00, 0xFF}),
      IndexedFile("v5indexed8.bmp", 8, 5, 3, 124),
      DirectFile("topdown24.bmp", 24, 5, -3),
  };
}

}  // namespace bmp_fixtures
