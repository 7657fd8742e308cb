#pragma once

#include <cstdint>

#include "foundation/uu/UUOrderedMap.h"

class MMCursor;

// Cursors by id, each id once; the table owns its cursors and destroys them
// (Detach, then delete) when they leave it.
class MMCursorTable {
 public:
  MMCursorTable();
  ~MMCursorTable();
  MMCursorTable(const MMCursorTable&) = delete;
  MMCursorTable& operator=(const MMCursorTable&) = delete;

  // An id already present keeps its cursor; the new one is destroyed.
  void Set(int32_t id, MMCursor* cursor);
  void Replace(int32_t id, MMCursor* cursor);
  MMCursor* Get(int32_t id) const;
  void Erase(int32_t id);
  void Clear();
  uint32_t Count() const { return mMap.Count(); }

 private:
  struct Entry {
    int32_t mId;
    MMCursor* mCursor;
  };
  static const void* KeyOf(const Entry* entry) { return &entry->mId; }
  static bool KeyLess(const void* a, const void* b) {
    return *static_cast<const int32_t*>(a) < *static_cast<const int32_t*>(b);
  }

  UUOrderedMap<Entry> mMap;
};
