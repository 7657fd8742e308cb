#pragma once
// The application's tables: a script opened with the kind of table its
// reader expects, read as tagged rows. A row's int16 tag is at byte 0 and
// its value at byte 2 (unaligned); the n-th row with a tag is the n-th item
// of that kind, and a missing tag leaves a property at its default.

#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMScript.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

// The kinds of table the application opens; the kind names the row format
// its readers expect and is never checked against the table.
enum VPLTableKind : int16_t {
  kVPLUntaggedTable = 0,
  kVPLScriptList = 1,
  kVPLLayoutTable = 10,
  kVPLMaterialPreset = 26,
  kVPLButtonDefinition = 27,
  kVPLStringList = 61
};

class VPLScript {
 public:
  // An empty handle: no rows, every tag missing.
  VPLScript();
  VPLScript(MMResourceId id, int16_t kind);

  // Re-opens the handle on the script; -1 leaves it empty.
  void Open(MMResourceId id, int16_t kind);
  // A referenced table whose rows carry no tags (a vector table).
  void Open(MMResourceId id) { Open(id, kVPLUntaggedTable); }

  int16_t GetKind() const { return mKind; }
  const MMScript& GetScript() const { return mScript; }

  // The n-th row (n = 0 the first) at or after start with the tag, -1 when
  // there are fewer; n = -1 answers start without looking.
  int32_t FindTag(int16_t tag, int32_t start = 0, int32_t n = 0) const;
  int32_t CountTag(int16_t tag) const;
  // The value at byte 2 of the row FindTag finds; -1 (every bit set for the
  // unsigned form, no script for a reference, an empty text) when there is
  // no such row.
  int16_t GetTagInt16(int16_t tag, int32_t start = 0, int32_t n = 0) const;
  int32_t GetTagInt32(int16_t tag, int32_t start = 0, int32_t n = 0) const;
  uint32_t GetTagUInt32(int16_t tag, int32_t start = 0, int32_t n = 0) const;
  // A reference to another entry of this table's collection: n > 0 entry
  // n - 1, n < 0 counted back from the last entry, 0 none.
  MMResourceId GetTagScriptId(int16_t tag, int32_t start = 0, int32_t n = 0) const;
  const char* GetTagString(int16_t tag, int32_t start = 0, int32_t n = 0) const;

 private:
  static constexpr int16_t kTagOffset = 0;
  static constexpr int16_t kValueOffset = 2;

  MMScript mScript;
  int16_t mKind = kVPLUntaggedTable;
};

// The vector of a vector table: the row holds the int32s x, y, z, w, d and
// the vector is (x/d, y/d, z/d, w/d). False, leaving out as it was, when the
// table or the row is missing or d is 0.
bool VPLReadVectorTable(MMResourceId id, MM3DVector& out, int32_t row = 0);
