#include "foundation/uu/UUIntegerVector.h"
#include "foundation/uu/UULzss.h"
#include "foundation/uu/UURingQueue.h"
#include "foundation/uu/UUWintab.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Decode(const Bytes& source, uint32_t length, bool* ok = nullptr) {
  Bytes out(length, 0xEE);
  const bool decoded = UULzssDecode(out.data(), source.data(), length,
                                    static_cast<uint32_t>(source.size()));
  if (ok) *ok = decoded;
  return out;
}

TEST(UURingQueueTest, HoldsCapacityMinusOneElements) {
  int32_t slots[4];
  UURingQueue queue(sizeof(int32_t), 4, slots);
  EXPECT_EQ(queue.Front(), nullptr);
  EXPECT_EQ(queue.Back(), nullptr);
  for (int32_t value : {1, 2, 3}) EXPECT_TRUE(queue.Push(&value));
  const int32_t fourth = 4;
  EXPECT_FALSE(queue.Push(&fourth));
  EXPECT_EQ(*static_cast<int32_t*>(queue.Front()), 1);
  EXPECT_EQ(*static_cast<int32_t*>(queue.Back()), 3);
  queue.Pop();
  EXPECT_TRUE(queue.Push(&fourth));  // wraps around
  EXPECT_EQ(*static_cast<int32_t*>(queue.Back()), 4);
  EXPECT_EQ(*static_cast<int32_t*>(queue.Front()), 2);
}

TEST(UULzssTest, LiteralsReferencesAndTheZeroWindow) {
  EXPECT_EQ(Decode({0xFF, 1, 2, 3, 4, 5, 6, 7, 8}, 8), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
  // A first-token reference yields count zero bytes whatever its position.
  EXPECT_EQ(Decode({0x00, 0x08, 0x37}, 5), Bytes(5, 0));
  // 'A', then a reference to output index 0 (window position 958) of 5 bytes.
  EXPECT_EQ(Decode({0x01, 'A', (2 << 2) | 3, 958 & 0xFF}, 6), Bytes(6, 'A'));
}

TEST(UULzssTest, DamagedInputStaysInsideBothBuffers) {
  bool ok = true;
  EXPECT_EQ(Decode({0xFF, 1, 2}, 6, &ok), (Bytes{1, 2, 0, 0, 0, 0}));
  EXPECT_FALSE(ok);
  // A reference running past the length is cut at the length.
  EXPECT_EQ(Decode({0x01, 'B', 0xFF, 958 & 0xFF}, 4, &ok), Bytes(4, 'B'));
  EXPECT_TRUE(ok);
}

TEST(UUIntegerVectorTest, HypotAndScaling) {
  EXPECT_EQ(UUIntegerHypot(3, 4), 5);
  EXPECT_EQ(UUIntegerHypot(-3, 4), 5);
  EXPECT_EQ(UUIntegerHypot(0, 0), 0);
  EXPECT_EQ(UUIntegerHypot(30000, 40000), 50000);
  int32_t x = 3;
  int32_t y = 4;
  UUScaleVector(x, y, 10);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 8);
  x = y = 0;
  UUScaleVector(x, y, 10);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(UUWintabTest, TabletLibraryIsMissing) {
  EXPECT_FALSE(UUWintabLoad());
  EXPECT_FALSE(UUWintabIsLoaded());
  UUWintabUnload();
  EXPECT_NE(UUWintabGetEntryPoints().mInfoA, nullptr);
}

}  // namespace
