#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUPackedIO.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A reader over fixed bytes that counts its Read calls and their sizes.
class CountingReader : public UUStandardReader {
 public:
  explicit CountingReader(Bytes bytes) : mBytes(std::move(bytes)) {}
  bool Skip(uint32_t n) override { return Read(nullptr, n); }
  bool Read(void* buffer, uint32_t n) override {
    if (GetError() != kUUNoError) return false;
    mReads.push_back(n);
    if (n > mBytes.size() - mPosition) {
      SetError(kUUErrorShortRead);
      return false;
    }
    if (buffer) std::memcpy(buffer, mBytes.data() + mPosition, n);
    mPosition += n;
    return true;
  }
  Bytes mBytes;
  size_t mPosition = 0;
  std::vector<uint32_t> mReads;
};

TEST(UUReaderTest, ByteOrderMarkSelectsHowValuesAreRead) {
  struct Case {
    Bytes bytes;
    UUByteOrder order;
    int16_t int16;
    int32_t int32;
    int64_t int64;
  } cases[] = {
      {{'I', 'I', 0x00, 0x01, 0x01, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0},
       kUUNativeByteOrder,
       256,
       1,
       2},
      {{'M', 'M', 0x00, 0x01, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2}, kUUSwappedByteOrder, 1, 1, 2},
  };
  for (Case& c : cases) {
    UUMemory stream(c.bytes.data(), static_cast<int32_t>(c.bytes.size()));
    int16_t int16 = 0;
    int32_t int32 = 0;
    int64_t int64 = 0;
    EXPECT_TRUE(stream.ReadByteOrderMark());
    EXPECT_EQ(stream.GetByteOrder(), c.order);
    EXPECT_TRUE(stream.ReadInt16s(&int16, 1));
    EXPECT_TRUE(stream.ReadInt32s(&int32, 1));
    EXPECT_TRUE(stream.ReadInt64s(&int64, 1));
    EXPECT_EQ(int16, c.int16);
    EXPECT_EQ(int32, c.int32);
    EXPECT_EQ(int64, c.int64);
  }
}

// A memory stream swaps on its copy, any other reader after its Read: both
// give the same values for every size, and an overrun copies nothing.
TEST(UUReaderTest, SwappedReadsFromMemoryMatchTheGenericReader) {
  constexpr uint32_t kValues = 37;
  Bytes bytes = {'M', 'M'};
  constexpr uint32_t kStored = kValues * 2 + kValues * 4 + kValues / 2 * 8;
  for (uint32_t i = 0; i < kStored; ++i) bytes.push_back(static_cast<uint8_t>(i * 29 + 3));
  UUMemory memory(bytes.data(), static_cast<int32_t>(bytes.size()));
  CountingReader generic(bytes);
  std::vector<int16_t> shorts[2];
  std::vector<int32_t> longs[2];
  std::vector<int64_t> wides[2];
  UUReader* readers[] = {&memory, &generic};
  for (int r = 0; r < 2; ++r) {
    shorts[r].resize(kValues);
    longs[r].resize(kValues);
    wides[r].resize(kValues / 2);
    ASSERT_TRUE(readers[r]->ReadByteOrderMark());
    EXPECT_TRUE(readers[r]->ReadInt16s(shorts[r].data(), kValues));
    EXPECT_TRUE(readers[r]->ReadInt32s(longs[r].data(), kValues));
    EXPECT_TRUE(readers[r]->ReadInt64s(wides[r].data(), kValues / 2));
  }
  EXPECT_EQ(shorts[0], shorts[1]);
  EXPECT_EQ(longs[0], longs[1]);
  EXPECT_EQ(wides[0], wides[1]);
  EXPECT_EQ(shorts[0][0], 0x0320);

  std::vector<int32_t> past(kValues, 0);
  EXPECT_FALSE(memory.ReadInt32s(past.data(), kValues));
  EXPECT_EQ(memory.GetError(), kUUErrorMemoryOverrun);
  EXPECT_EQ(past, std::vector<int32_t>(kValues, 0));
}

TEST(UUReaderTest, FloatsAreSwappedAfterMM) {
  Bytes bytes = {'M', 'M', 0x3F, 0x80, 0x00, 0x00};
  UUMemory stream(bytes.data(), 6);
  float value = 0;
  ASSERT_TRUE(stream.ReadByteOrderMark());
  ASSERT_TRUE(stream.ReadFloats(&value, 1));
  EXPECT_EQ(value, 1.0f);
}

TEST(UUReaderTest, UnknownMarkIsError11AndKeepsTheOrder) {
  for (Bytes bytes : {Bytes{'I', 'M'}, Bytes{'m', 'm'}, Bytes{0, 0}}) {
    UUMemory stream(bytes.data(), 2);
    stream.ApplyByteOrder(kUUSwappedByteOrder);
    EXPECT_FALSE(stream.ReadByteOrderMark());
    EXPECT_EQ(stream.GetError(), kUUErrorBadByteOrderMark);
    EXPECT_EQ(stream.GetByteOrder(), kUUSwappedByteOrder);
  }
}

TEST(UUReaderTest, ErrorSticksUntilClearedAndBlocksReads) {
  CountingReader reader({1, 0, 0, 0, 2, 0, 0, 0});
  reader.SetError(kUUErrorShortRead);
  int32_t value = 7;
  EXPECT_FALSE(reader.ReadInt32s(&value, 1));
  EXPECT_FALSE(reader.ReadByteOrderMark());
  bool flag = false;
  EXPECT_FALSE(reader.ReadBooleans(&flag, 1));
  EXPECT_TRUE(reader.mReads.empty());
  EXPECT_EQ(value, 7);

  reader.SetError(kUUNoError);
  EXPECT_TRUE(reader.ReadInt32s(&value, 1));
  EXPECT_EQ(value, 1);
}

TEST(UUReaderTest, BooleansAreReadInChunksOf100) {
  Bytes bytes(250, 0);
  bytes[0] = 7;
  bytes[249] = 1;
  CountingReader reader(bytes);
  bool flags[250];
  std::memset(flags, 1, sizeof flags);
  EXPECT_TRUE(reader.ReadBooleans(flags, 250));
  EXPECT_EQ(reader.mReads, (std::vector<uint32_t>{100, 100, 50}));
  EXPECT_TRUE(flags[0]);
  EXPECT_FALSE(flags[1]);
  EXPECT_TRUE(flags[249]);
}

TEST(UUReaderTest, PackedPointsAndRectsSignExtendBothHalves) {
  Bytes bytes = {0x01, 0x00, 0xFF, 0xFF};
  UUMemory stream(bytes.data(), 4);
  UUPoint point;
  EXPECT_TRUE(UUReadPackedPoints(stream, &point, 1));
  EXPECT_EQ(point, (UUPoint{1, -1}));

  Bytes out(4 + 16);
  UUMemory sink(out.data(), static_cast<int32_t>(out.size()));
  const UUPoint written{-1, 2};
  const UURect rectangle(-3, 4, 300, -32768);
  EXPECT_TRUE(UUWritePackedPoints(sink, &written, 1));
  EXPECT_TRUE(UUWritePackedRects(sink, &rectangle, 1));
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{0xFF, 0xFF, 0x02, 0x00}));

  sink.Seek(4, kUUSeekFromStart, nullptr);
  UURect back;
  EXPECT_TRUE(UUReadPackedRects(sink, &back, 1));
  EXPECT_EQ(back, rectangle);
}

TEST(UUReaderTest, PackedPointsCrossChunkBoundaries) {
  std::vector<UUPoint> points;
  for (int i = 0; i < 250; ++i) points.push_back(UUPoint{i - 125, 125 - i});
  Bytes bytes(250 * 4);
  UUMemory stream(bytes.data(), static_cast<int32_t>(bytes.size()));
  ASSERT_TRUE(UUWritePackedPoints(stream, points.data(), 250));
  stream.Seek(0, kUUSeekFromStart, nullptr);
  std::vector<UUPoint> back(250);
  ASSERT_TRUE(UUReadPackedPoints(stream, back.data(), 250));
  EXPECT_EQ(back, points);
  EXPECT_FALSE(UUReadPackedPoints(stream, back.data(), 1));
  EXPECT_EQ(stream.GetError(), kUUErrorMemoryOverrun);
}

}  // namespace
