#pragma once
// The handle on one script: a table of fixed-size rows followed by a text
// area, read field by field by row and byte offset. Copies share the data;
// it lives until the last copy goes. Every reader checks the row, the field
// and any text offset against the loaded data: outside it, a number reads
// as 0 and a text as empty.

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm/resources/MMCollectionRegistry.h"

#include <cstdint>

// What a collection loads into a handle: the shared block and its shape.
// The block's holders are counted in a word in front of its bytes, so that
// a load makes one allocation.
struct MMScriptData {
  // Releases the block held and holds a new one of size bytes followed by
  // a 0, the shape left empty.
  uint8_t* NewBlock(int32_t size);
  // Frees the block when this was its last holder, and empties the data.
  void Release();
  void Share(const MMScriptData& other);

  uint8_t* mBlock = nullptr;
  int32_t mSize = 0;
  int32_t mRowCount = 0;
  int32_t mRowSize = 0;
  int16_t mEntryCount = 0;
  int16_t mHeaderWord = 0;
  bool mSwapped = false;
};

class MMScript {
 public:
  // Loads the script the id names; an id whose collection is not
  // registered, or whose entry cannot be read, gives an empty handle.
  explicit MMScript(MMResourceId id);
  MMScript(const MMScript& other);
  MMScript& operator=(const MMScript& other);
  ~MMScript();

  MMResourceId GetId() const { return mId; }
  int32_t GetRowCount() const { return mData.mRowCount; }
  int32_t GetRowSize() const { return mData.mRowSize; }
  int16_t GetHeaderWord() const { return mData.mHeaderWord; }

  uint8_t GetByte(int32_t row, int16_t offset) const;
  int16_t GetInt16(int32_t row, int16_t offset) const;
  bool GetBool(int32_t row, int16_t offset) const { return GetInt16(row, offset) != 0; }
  int32_t GetInt32(int32_t row, int16_t offset) const;
  uint32_t GetUInt32(int32_t row, int16_t offset) const;
  // The text whose offset in the text area the field holds.
  const char* GetString(int32_t row, int16_t offset) const;
  UUPoint GetPoint(int32_t row, int16_t offset) const;
  UURect GetRect(int32_t row, int16_t offset) const;
  float GetFloat(int32_t row, int16_t offset) const;
  double GetDouble(int32_t row, int16_t offset) const;
  // A field naming another script of the same file: n > 0 is entry n - 1,
  // n < 0 counts back from the last entry, 0 is no script (-1).
  MMResourceId GetScriptId(int32_t row, int16_t offset) const;

  // The row of the n-th match (n = 0 the first) at or after start whose
  // int16 at offset equals key; -1 when none; n = -1 answers start.
  int32_t FindRow(int32_t start, int16_t offset, int32_t n, int16_t key) const;
  int32_t CountRows(int32_t start, int16_t offset, int16_t key) const;
  // The rectangle or point at byte 2 of the n-th row tagged tag (the int16
  // at byte 0) at or after start; n = -1 reads start itself. Zero when no
  // row matches.
  UURect GetTagRect(int16_t tag, int32_t start, int32_t n) const;
  UUPoint GetTagPoint(int16_t tag, int32_t start, int32_t n) const;

 private:
  // The field's bytes when the row and [offset, offset + size) lie inside
  // the row area, else null.
  const uint8_t* Field(int32_t row, int16_t offset, int32_t size) const;
  // Copies the field's bytes into value (zeros when outside).
  void ReadField(int32_t row, int16_t offset, void* value, int32_t size) const;
  // A float or double of a swapped file: undoes the word swap of the load
  // and then reverses the whole value.
  void ReadReal(int32_t row, int16_t offset, void* value, int32_t size) const;

  MMResourceId mId;
  MMScriptData mData;
};
