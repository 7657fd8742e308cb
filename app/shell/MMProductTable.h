#pragma once
// The rounded products of two 8-bit values, T[a][b] = (a x b + 128) / 255,
// so that blends look up instead of multiplying and dividing per channel.
// The program's table is a constant, built before start-up.

#include <array>
#include <cstddef>
#include <cstdint>

using MMProductTable = std::array<std::array<uint8_t, 256>, 256>;

// Fills a caller's 64 KiB buffer, a row of 256 per first factor.
void MMBuildProductTableInto(uint8_t* table);

constexpr MMProductTable MMBuildProductTable() {
  MMProductTable table{};
  for (size_t a = 0; a < 256; ++a) {
    for (size_t b = 0; b < 256; ++b) table[a][b] = static_cast<uint8_t>((a * b + 128) / 255);
  }
  return table;
}

inline constexpr MMProductTable kMMProductTable = MMBuildProductTable();

// A channel of colour c over d through a mask byte m: 0 shows c, 255 d.
inline uint8_t MMBlendChannel(uint8_t c, uint8_t d, uint8_t m) {
  return static_cast<uint8_t>(kMMProductTable[c][255u - m] + kMMProductTable[d][m]);
}
