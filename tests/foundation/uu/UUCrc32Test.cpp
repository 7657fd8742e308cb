#include "foundation/uu/UUCrc32.h"

#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the reads and their sizes.
class CountingMemory : public UUMemory {
 public:
  using UUMemory::UUMemory;
  bool Read(void* buffer, uint32_t n) override {
    sizes.push_back(n);
    return UUMemory::Read(buffer, n);
  }
  std::vector<uint32_t> sizes;
};

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

TEST(UUCrc32Test, TableFollowsItsOwnRuleNotTheUsualOne) {
  UUCrc32 crc;
  const struct {
    uint8_t index;
    uint32_t entry;
  } cases[] = {{0, 0},           {1, 0x04C11DB7},  {2, 0x09823B6E},   {63, 0xEC7DD02D},
               {64, 0x30476DC0}, {65, 0x34867077}, {128, 0x608EDB80}, {192, 0x50C9B640},
               {255, 0xBCB4666D}};
  for (const auto& c : cases) EXPECT_EQ(crc.GetTableEntry(c.index), c.entry) << int(c.index);
}

TEST(UUCrc32Test, ChecksumsHaveNoStartValueNorFinalInversion) {
  UUCrc32 crc;
  EXPECT_EQ(crc.GetValue(), 0u);
  EXPECT_EQ(crc.Update("abc", 3), 0x56A6F1B6u);
  crc.Reset();
  EXPECT_EQ(crc.GetValue(), 0u);
  crc.Update("a", 1);
  EXPECT_EQ(crc.Update("bc", 2), 0x56A6F1B6u);
  // Worked by hand: a zero byte leaves 0, then the byte 0x40 gives table[64].
  crc.Reset();
  const uint8_t bytes[] = {0x00, 0x40};
  EXPECT_EQ(crc.Update(bytes, 2), 0x30476DC0u);
}

TEST(UUCrc32Test, ReaderFeedsThroughStackOrHeapBuffer) {
  std::vector<uint8_t> bytes = Pattern(20000);
  const struct {
    uint32_t n;
    std::vector<uint32_t> reads;
  } cases[] = {{512, {512}}, {513, {513}}, {20000, {10240, 9760}}};
  for (const auto& c : cases) {
    CountingMemory reader(bytes.data(), static_cast<int32_t>(bytes.size()));
    UUCrc32 crc;
    UUCrc32 direct;
    EXPECT_EQ(crc.UpdateFromReader(reader, c.n), direct.Update(bytes.data(), c.n)) << c.n;
    EXPECT_EQ(reader.sizes, c.reads) << c.n;
  }
}

TEST(UUCrc32Test, FailedReadLeavesTheReaderErrorForTheCaller) {
  std::vector<uint8_t> bytes = Pattern(100);
  UUMemory reader(bytes.data(), 100);
  UUCrc32 crc;
  crc.UpdateFromReader(reader, 200);
  EXPECT_NE(reader.GetError(), kUUNoError);
}

}  // namespace
