#include "mm/stage/MMCursorTable.h"

#include "foundation/uu/UUOwned.h"
#include "mm/stage/MMCursor.h"

namespace {
void Destroy(MMCursor* cursor) { UUOwned<MMCursor>{cursor}.Reset(); }
}  // namespace

MMCursorTable::MMCursorTable() : mMap(KeyOf, KeyLess) {}

MMCursorTable::~MMCursorTable() { Clear(); }

void MMCursorTable::Set(int32_t id, MMCursor* cursor) {
  if (!mMap.InsertUnique(Entry{id, cursor}).second) Destroy(cursor);
}

void MMCursorTable::Replace(int32_t id, MMCursor* cursor) {
  auto [node, inserted] = mMap.InsertUnique(Entry{id, cursor});
  if (inserted) return;
  MMCursor* old = UUOrderedMap<Entry>::ValueOf(node).mCursor;
  UUOrderedMap<Entry>::ValueOf(node).mCursor = cursor;
  Destroy(old);
}

MMCursor* MMCursorTable::Get(int32_t id) const {
  UUOrderedMapNodeBase* node = mMap.Find(&id);
  return node == mMap.End() ? nullptr : UUOrderedMap<Entry>::ValueOf(node).mCursor;
}

void MMCursorTable::Erase(int32_t id) {
  UUOrderedMapNodeBase* node = mMap.Find(&id);
  if (node == mMap.End()) return;
  MMCursor* cursor = UUOrderedMap<Entry>::ValueOf(node).mCursor;
  mMap.Erase(node);
  Destroy(cursor);
}

// Each cursor leaves the table before it is destroyed, so that a cursor's
// Detach never finds itself still listed.
void MMCursorTable::Clear() {
  while (mMap.Count() != 0) Erase(UUOrderedMap<Entry>::ValueOf(mMap.Begin()).mId);
}
