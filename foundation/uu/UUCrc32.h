#pragma once
// The checksum of the resource files. Its table is built by its own rule
// (each entry is the exclusive-or of the polynomial shifted by every set bit
// of the index), which is not the usual CRC-32 table from index 64 upward;
// stored files carry checksums made with exactly this table, no initial
// value and no final inversion.

#include <cstdint>

class UUReader;

class UUCrc32 {
 public:
  UUCrc32();

  // Feeds n bytes and answers the new value.
  uint32_t Update(const void* bytes, uint32_t n);
  // Feeds n bytes read from the reader. A failed read is not checked here:
  // the reader keeps its error for the caller, and the value is then
  // meaningless.
  uint32_t UpdateFromReader(UUReader& reader, uint32_t n);
  void Reset() { mValue = 0; }
  uint32_t GetValue() const { return mValue; }
  uint32_t GetTableEntry(uint8_t index) const { return mTable[index]; }

 private:
  uint32_t mValue = 0;
  uint32_t mTable[256];
};
