#pragma once
// A table of names in a script file: a count, the byte size of a block of
// zero-terminated texts and, per name, its offset within the block.
//   int16  count        int32  block size
//   int32 x count  offsets            block size bytes  the texts

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

class MMScriptStringTable {
 public:
  // count offsets of -1 and an empty block of blockSize bytes.
  void Init(int16_t count, int32_t blockSize);
  void Reset();

  // Reads a whole table. available is what the file still holds: a table
  // claiming more fails with a short read before anything is allocated.
  // Without keep, the offsets and texts are skipped.
  bool Read(UUReader& reader, int64_t available, bool keep);
  bool Write(UUWriter& writer) const;

  int16_t GetCount() const { return mCount; }
  int32_t GetBlockSize() const { return mBlockSize; }
  // Null for an index outside the table or an offset outside the block.
  const char* GetText(int32_t i) const;
  // Appends the text and its terminator; false when it does not fit the
  // block or the index is outside the table.
  bool SetText(int32_t i, const char* text);

 private:
  int16_t mCount = 0;
  int32_t mBlockSize = 0;
  int32_t mUsed = 0;
  UUGrowableArray<int32_t> mOffsets;
  // One byte longer than the block and ending with 0, so that every offset
  // inside the block names a terminated text.
  UUGrowableArray<char> mBlock;
};
