#pragma once
// The key array of a keyed curve with the cursor where the last key search
// ended, and the body form shared by the keyed kinds: an int32 count, then
// the keys. Keys come in non-decreasing order of their time or interval.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <algorithm>
#include <cstdint>

// Where a time falls among the keys: between keys mFrom and mFrom + 1, or,
// when not mBetween, at a time where key mFrom holds.
struct MM3DKeySegment {
  int32_t mFrom;
  bool mBetween;
};

template <typename Key>
class MM3DCurveKeys {
 public:
  // Keys read ahead of the count that a file gives: the array grows as
  // keys arrive, so a bad count cannot make it allocate more than the
  // stream holds.
  static constexpr int32_t kReserveLimit = 4096;

  int32_t Count() const { return mKeys.Count(); }
  const Key& operator[](int32_t index) const { return mKeys[index]; }
  const UUGrowableArray<Key>& GetArray() const { return mKeys; }
  const Key& First() const { return mKeys[0]; }
  const Key& Last() const { return mKeys[mKeys.Count() - 1]; }
  int32_t& Cursor() { return mCursor; }

  // Takes the keys over, leaving the caller's array empty; the old keys
  // are deleted.
  void Set(UUGrowableArray<Key>& keys) {
    UUGrowableArray<Key> old;
    old.Swap(mKeys);
    mKeys.Swap(keys);
    mCursor = 0;
  }

  // The search of the timed kinds: moves the cursor forward past keys
  // before the time, then back over keys at or after it, so that it always
  // ends on the first key not before the time, wherever it started: keys
  // that share a time, and a time exactly on a key, give one value. Times
  // that move forward in small steps cost a comparison or two.
  template <typename Time>
  MM3DKeySegment FindSegment(Time time) {
    const int32_t n = mKeys.Count();
    int32_t c = std::clamp(mCursor, 0, n);
    while (c < n && mKeys[c].mTime < time) mCursor = ++c;
    if (c == 0) return {0, false};
    int32_t p = c - 1;
    while (p > 0 && mKeys[p].mTime >= time) --p;
    mCursor = p + 1;
    return {p, mCursor < n && mKeys[p].mTime < time};
  }

  // The count and the keys. The new keys replace the old ones; after a
  // failure they hold the keys read completely.
  bool Read(UUReader& reader) {
    int32_t count = 0;
    if (!reader.ReadInt32s(&count, 1) || !MM3DCheckCount(reader, count)) return false;
    UUGrowableArray<Key> keys;
    keys.Reserve(std::min(count, kReserveLimit));
    for (int32_t i = 0; i < count; ++i) {
      Key key;
      if (!key.Read(reader)) break;
      keys.Append(key);
    }
    Set(keys);
    return reader.GetError() == kUUNoError;
  }

  bool Write(UUWriter& writer) const {
    const int32_t count = mKeys.Count();
    if (!writer.WriteInt32s(&count, 1)) return false;
    for (const Key& key : mKeys) {
      if (!key.Write(writer)) return false;
    }
    return true;
  }

 private:
  UUGrowableArray<Key> mKeys;
  int32_t mCursor = 0;
};
