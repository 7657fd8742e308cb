#include "media/films/MM2DFilmResourceFile.h"

#include "foundation/af/AFError.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace resource_fixtures;

constexpr int32_t kNameBytes = MMResourceFileWithNamedSubfiles::kNameSize;

// Where the film table of a file of n films starts.
constexpr int32_t FilmTableStart(int32_t n) {
  return MMGenericResourceFile::kOffsetTableStart + 4 * (n + 1) + 2 + (kNameBytes + 4) * n;
}

MMPalette NumberedPalette(uint8_t seed) {
  MMPalette palette;
  for (int i = 0; i < 256; ++i) {
    palette.mEntries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(seed),
                           static_cast<uint8_t>(i ^ seed), static_cast<uint8_t>(255 - i)};
  }
  return palette;
}

// Two films: a palettized one with one 16-bit stereo track and a shared
// palette, and a 32-bit one without sound; two shared palettes.
void DescribeFilms(MM2DFilmResourceFile& file) {
  ASSERT_TRUE(file.SetPalettized(0, 1));
  ASSERT_TRUE(file.SetSubFormat(0, 2));
  ASSERT_TRUE(file.SetFlagBit4(0, 1));
  ASSERT_TRUE(file.AddPalettes(2));
  ASSERT_TRUE(file.SetPalette(0, NumberedPalette(3)));
  ASSERT_TRUE(file.SetPalette(1, NumberedPalette(9)));
  ASSERT_TRUE(file.SetPaletteKind(0, 2, 1));
  ASSERT_TRUE(file.SetRectangle(0, UURect(-16, 16, 304, 256)));
  ASSERT_TRUE(file.SetWorkBufferSize(0, 76800));
  ASSERT_TRUE(file.SetSoundTrackCount(0, 1));
  ASSERT_TRUE(file.SetSoundRateCode(0, 0, 1));
  ASSERT_TRUE(file.SetSound16Bit(0, 0, 1));
  ASSERT_TRUE(file.SetSoundStereo(0, 0, 1));
  ASSERT_TRUE(file.SetSoundLeadTime(0, 250));
  ASSERT_TRUE(file.SetPreloadSize(0, 4096));
  ASSERT_TRUE(file.SetDataRate(0, -2));
  ASSERT_TRUE(file.SetFlagBit5(1, 1));
  ASSERT_TRUE(file.SetPaletteKind(1, 1, 7));
  ASSERT_TRUE(file.SetRectangle(1, UURect(0, 0, 64, 48)));
  ASSERT_TRUE(file.SetSubfileName(0, "intro"));
  ASSERT_TRUE(file.SetSubfileName(1, "outro"));
}

// Writes the films with the file's own writer, each subfile holding data.
void WriteFilms(const std::string& name, int16_t count,
                void (*describe)(MM2DFilmResourceFile&) = DescribeFilms) {
  MM2DFilmResourceFile file;
  ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), count, 5));
  describe(file);
  // The palettes grew the header: the data goes after its final size.
  ASSERT_TRUE(file.RewriteHeader());
  for (int16_t film = 0; film < count; ++film) {
    UURecoverableCDFile& stream = file.GetFile();
    int32_t position = 0;
    stream.Seek(0, kUUSeekFromEnd, &position);
    ASSERT_TRUE(file.SetSubfileOffset(film, position));
    const std::vector<uint8_t> data(static_cast<size_t>(10 + film), static_cast<uint8_t>(film));
    stream.Write(data.data(), static_cast<uint32_t>(data.size()));
  }
  ASSERT_TRUE(file.RecordEndOffset());
  ASSERT_TRUE(file.Close(true));
}

// Turns a little-endian file's header big-endian, field by field.
class ByteOrderFlipper {
 public:
  explicit ByteOrderFlipper(std::vector<uint8_t>& bytes) : mBytes(bytes) {}
  ByteOrderFlipper& Skip(int32_t n) {
    mAt += n;
    return *this;
  }
  ByteOrderFlipper& Swap(int32_t width, int32_t n) {
    for (int32_t i = 0; i < n; ++i, mAt += width) {
      for (int32_t k = 0; k < width / 2; ++k) {
        std::swap(mBytes[static_cast<size_t>(mAt + k)],
                  mBytes[static_cast<size_t>(mAt + width - 1 - k)]);
      }
    }
    return *this;
  }

 private:
  std::vector<uint8_t>& mBytes;
  int32_t mAt = 0;
};

void FlipToBigEndian(const std::string& name, int32_t n, int32_t m) {
  std::vector<uint8_t> bytes = ReadBytes(name);
  bytes[16] = 'M';
  bytes[17] = 'M';
  ByteOrderFlipper flip(bytes);
  flip.Skip(18).Swap(2, 1).Swap(4, 1).Swap(2, 1).Swap(4, 2).Swap(2, 1).Swap(4, n + 1);
  flip.Swap(2, 1).Skip(kNameBytes * n).Swap(4, n);
  flip.Swap(2, 1).Skip(2 * n).Swap(4, 2 * n).Swap(4, n).Skip(4 * n);
  flip.Swap(2, n).Swap(4, n).Swap(2, n).Swap(2, 1).Swap(4, 256 * m);
  WriteBytes(name, bytes);
}

class MM2DFilmResourceFileTest : public testing::TestWithParam<bool> {
 protected:
  void TearDown() override { Remove(mName); }
  bool Open(MM2DFilmResourceFile& file) {
    return file.Open(TempDirectory(), mName.c_str(), true, !GetParam());
  }
  void WriteInOrder() {
    WriteFilms(mName, 2);
    if (GetParam()) FlipToBigEndian(mName, 2, 2);
  }

  // Without the slashes of the parameterised test's name.
  std::string mName = [] {
    std::string name = UniqueName("films.mmf");
    for (char& c : name) c = c == '/' ? '-' : c;
    return name;
  }();
};

TEST_P(MM2DFilmResourceFileTest, TableReadsBackWhatTheWriterWrote) {
  WriteInOrder();
  MM2DFilmResourceFile file;
  ASSERT_TRUE(Open(file));
  EXPECT_EQ(file.IsSwapped(), GetParam());
  ASSERT_EQ(file.GetSubfileCount(), 2);
  EXPECT_STREQ(file.GetSubfileName(1), "outro");
  EXPECT_EQ(file.GetSubfileSize(1), 11);

  EXPECT_EQ(file.IsPalettized(0), 1);
  EXPECT_EQ(file.GetSubFormat(0), 2);
  EXPECT_EQ(file.GetFlagBit3(0), 0);
  EXPECT_EQ(file.GetFlagBit4(0), 1);
  EXPECT_EQ(file.GetFlagBit5(0), 0);
  EXPECT_EQ(file.GetPaletteKind(0), 2);
  EXPECT_EQ(file.GetPaletteIndex(0), 1);
  EXPECT_EQ(file.GetRectangle(0), UURect(-16, 16, 304, 256));
  EXPECT_EQ(file.GetWorkBufferSize(0), 76800);
  EXPECT_EQ(file.GetSoundTrackCount(0), 1);
  EXPECT_EQ(file.GetSoundRateCode(0, 0), 1);
  EXPECT_EQ(file.IsSound16Bit(0, 0), 1);
  EXPECT_EQ(file.IsSoundStereo(0, 0), 1);
  EXPECT_EQ(file.IsSoundCompressed(0, 0), 0);
  EXPECT_EQ(file.GetSoundLeadTime(0), 250);
  EXPECT_EQ(file.GetPreloadSize(0), 4096);
  EXPECT_EQ(file.GetDataRate(0), -2);  // sign-extended

  EXPECT_EQ(file.IsPalettized(1), 0);
  EXPECT_EQ(file.GetFlagBit5(1), 1);
  EXPECT_EQ(file.GetPaletteKind(1), 1);
  EXPECT_EQ(file.GetPaletteIndex(1), -1);
  EXPECT_EQ(file.GetSoundTrackCount(1), 0);

  ASSERT_EQ(file.GetPaletteCount(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const MMPalette expected = NumberedPalette(i == 0 ? 3 : 9);
    const MMPalette& palette = file.GetPalette(i);
    for (int k = 0; k < 256; k += 51) {
      EXPECT_EQ(palette.mEntries[k].mRed, expected.mEntries[k].mRed);
      EXPECT_EQ(palette.mEntries[k].mTransparency, expected.mEntries[k].mTransparency);
    }
  }
  EXPECT_TRUE(file.Close(false));
}

TEST_P(MM2DFilmResourceFileTest, TableIsLaidOutFieldByField) {
  WriteInOrder();
  const std::vector<uint8_t> bytes = ReadBytes(mName);
  Bytes table(GetParam());
  table.U16(7).U8(0x15).U8(0x20).U8(0x03).U8(0x01);
  table.U32(0x0010FFF0).U32(0x01000130).U32(0).U32(0x00300040);
  table.U32(76800).U32(0).U8(0x4D).U8(0).U8(0).U8(0).U32(0);
  table.U16(250).U16(0).U32(4096).U32(0).U16(0xFFFE).U16(0).U16(2);
  const size_t start = FilmTableStart(2);
  const auto from = bytes.begin() + static_cast<ptrdiff_t>(start);
  EXPECT_EQ(std::vector<uint8_t>(from, from + static_cast<ptrdiff_t>(table.Size())), table.Get());
  EXPECT_EQ(bytes.size(), start + table.Size() + 2 * 1024 + 10 + 11);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MM2DFilmResourceFileTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& test) {
                           return std::string(test.param ? "BigEndian" : "LittleEndian");
                         });

class MM2DFilmResourceFileEdgeTest : public testing::Test {
 protected:
  void TearDown() override { Remove(mName); }
  std::string mName = UniqueName("films.mmf");
};

TEST_F(MM2DFilmResourceFileEdgeTest, EmptyFileHasAFourByteTable) {
  WriteFilms(mName, 0, [](MM2DFilmResourceFile&) {});
  const std::vector<uint8_t> bytes = ReadBytes(mName);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(FilmTableStart(0) + 4));
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t>{7, 0, 0, 0}));
  MM2DFilmResourceFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), mName.c_str(), true, true));
  EXPECT_EQ(file.GetPaletteCount(), 0);
  file.Close(false);
}

TEST_F(MM2DFilmResourceFileEdgeTest, TrackCountStopsAtFirstAbsentDescriptor) {
  WriteFilms(mName, 1, [](MM2DFilmResourceFile& file) {
    ASSERT_TRUE(file.SetSound16Bit(0, 0, 1));
    ASSERT_TRUE(file.SetSoundTrackCount(0, 2));  // clears the bit again
  });
  std::vector<uint8_t> bytes = ReadBytes(mName);
  const size_t descriptors = FilmTableStart(1) + 2 + 14;
  EXPECT_EQ(bytes[descriptors], 0x40);
  bytes[descriptors + 1] = 0x00;
  bytes[descriptors + 2] = 0x40;
  bytes[descriptors + 3] = 0x40;
  WriteBytes(mName, bytes);
  MM2DFilmResourceFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), mName.c_str(), true, false));
  EXPECT_EQ(file.GetSoundTrackCount(0), 1);
  EXPECT_EQ(file.IsSound16Bit(0, 0), 0);
  file.Close(false);
}

TEST_F(MM2DFilmResourceFileEdgeTest, SelectorNamesSharedPalette) {
  WriteFilms(mName, 1,
             [](MM2DFilmResourceFile& file) { ASSERT_TRUE(file.SetPaletteKind(0, 2, 3)); });
  MM2DFilmResourceFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), mName.c_str(), true, true));
  EXPECT_EQ(file.GetPaletteKind(0), 2);
  EXPECT_EQ(file.GetPaletteIndex(0), 3);
  file.Close(false);
  EXPECT_EQ(ReadBytes(mName)[FilmTableStart(1) + 3], 5);
}

// A damaged table fails with the film kind's error.
TEST_F(MM2DFilmResourceFileEdgeTest, DamagedTablesAreRefused) {
  struct Case {
    const char* what;
    int32_t offset;  // from the table start
    std::vector<uint8_t> bytes;
    bool truncate;
    AFErrorCode error;
  };
  const int32_t paletteCount = 2 + 26 * 2;
  const Case cases[] = {
      {"version 6", 0, {6, 0}, false, MME_FILM_RESOURCE_FILE_BAD_VERSION_NUMBER},
      {"version 8", 0, {8, 0}, false, MME_FILM_RESOURCE_FILE_BAD_VERSION_NUMBER},
      {"palette count past the end", paletteCount, {3, 0}, false, MME_FILM_RESOURCE_FILE_BAD_READ},
      {"negative palette count",
       paletteCount,
       {0xFF, 0xFF},
       false,
       MME_FILM_RESOURCE_FILE_BAD_READ},
      {"table cut short", 20, {}, true, MME_FILM_RESOURCE_FILE_BAD_READ},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFilms(mName, 2);
    std::vector<uint8_t> bytes = ReadBytes(mName);
    const size_t at = FilmTableStart(2) + static_cast<size_t>(c.offset);
    if (c.truncate) bytes.resize(at);
    for (size_t i = 0; i < c.bytes.size(); ++i) bytes[at + i] = c.bytes[i];
    WriteBytes(mName, bytes);
    AFClearError();
    MM2DFilmResourceFile file;
    EXPECT_FALSE(file.Open(TempDirectory(), mName.c_str(), true, false));
    EXPECT_EQ(AFGetErrorCode(), c.error);
  }
}

TEST_F(MM2DFilmResourceFileEdgeTest, ReopenedObjectHoldsOnlyTheFilesPalettes) {
  WriteFilms(mName, 2);
  MM2DFilmResourceFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), mName.c_str(), true, true));
  ASSERT_TRUE(file.Close(false));
  ASSERT_TRUE(file.Open(TempDirectory(), mName.c_str(), true, true));
  EXPECT_EQ(file.GetPaletteCount(), 2);
  file.Close(false);
}

}  // namespace
