#pragma once
// The object-reference tables through which the objects of a 3D database
// file refer to one another. Every object that other records may name is
// written with SaveReference in front of its data, which gives it the next
// position in the process-wide object table, and read back with
// LoadReference, which puts it at the position written. Files are written
// and read one at a time, on one thread.

#include "foundation/uu/UUGrowableArray.h"

#include <cstdint>

class UUReader;
class UUWriter;

class MM3DDatabase {
 public:
  // The largest object index a file may carry: a bad index must not grow
  // the table without bound.
  static constexpr int32_t kMaxReferenceIndex = 1 << 20;

  // Replaces the tables with new empty ones.
  static void ResetReferenceTables();
  static void FreeReferenceTables();

  // Appends the object to the object table and writes its position (int32).
  static bool SaveReference(UUWriter& writer, void* object);
  // Reads a position and stores the object there, growing the table with
  // null entries as needed. A position outside 0 to kMaxReferenceIndex
  // fails the read.
  static bool LoadReference(UUReader& reader, void* object);
  // The position of the first entry equal to the object, or the count.
  static int32_t FindSavedReference(const void* object);
  // The object at a position, or null outside the table.
  static void* GetReferencedObject(int32_t index);

 private:
  static UUGrowableArray<void*>* sObjects;
};
