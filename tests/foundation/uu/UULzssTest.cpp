#include "foundation/uu/UULzss.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Decode(const Bytes& source, uint32_t length, bool* ok = nullptr) {
  Bytes out(length, 0xEE);
  const bool decoded =
      UULzssDecode(out.data(), source.data(), length, static_cast<uint32_t>(source.size()));
  if (ok) *ok = decoded;
  return out;
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

}  // namespace
