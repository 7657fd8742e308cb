#pragma once
// BMP files whose header fields lie: each one describes more than the file
// holds or a shape no picture has. The picture importer refuses every one
// before the platform decodes it.

#include "tests/support/BmpFixtures.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bmp_fixtures {

inline void PatchLe(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

inline BmpFixture Damaged(BmpFixture fixture, const std::string& name, size_t offset,
                          uint32_t value, int size = 4) {
  fixture.mName = name;
  PatchLe(fixture.mBytes, offset, value, size);
  return fixture;
}

inline BmpFixture Cut(BmpFixture fixture, const std::string& name, size_t size) {
  fixture.mName = name;
  fixture.mBytes.resize(size);
  return fixture;
}

inline std::vector<BmpFixture> DamagedBmpFixtures() {
  const BmpFixture rgb = DirectFile("rgb24.bmp", 24, 5, 3);
  const BmpFixture indexed = IndexedFile("indexed8.bmp", 8, 5, 4);
  const size_t size = rgb.mBytes.size();
  return {
      Cut(rgb, "damaged-shorter-than-headers.bmp", 30),
      Damaged(rgb, "damaged-no-signature.bmp", 0, 'X', 1),
      Damaged(rgb, "damaged-header-size.bmp", 14, 64),
      Damaged(rgb, "damaged-header-past-end.bmp", 14, 124),
      Damaged(rgb, "damaged-offset-past-end.bmp", 10, static_cast<uint32_t>(size + 10)),
      Cut(rgb, "damaged-rows-past-end.bmp", size - 4),
      Damaged(RleFile("rle8.bmp", 8), "damaged-rle-past-end.bmp", 34, 100000),
      Damaged(rgb, "damaged-width-zero.bmp", 18, 0),
      Damaged(rgb, "damaged-width-too-large.bmp", 18, 40000),
      Damaged(rgb, "damaged-height-zero.bmp", 22, 0),
      Damaged(rgb, "damaged-height-too-large.bmp", 22, static_cast<uint32_t>(-40000)),
      Damaged(Damaged(rgb, "", 18, 5000), "damaged-too-many-pixels.bmp", 22, 4000),
      Damaged(indexed, "damaged-table-past-end.bmp", 46, 256),
      Damaged(rgb, "damaged-bit-count.bmp", 28, 48, 2),
  };
}

}  // namespace bmp_fixtures
