#pragma once
// The frame of a 3D database file (a header naming the file's kind and
// version, tagged records up to an end tag) and the object-reference tables
// through which the objects of such a file refer to one another. Every
// object that other records may name is written with SaveReference in
// front of its data, which gives it the next position in the process-wide
// object table, and read back with LoadReference, which puts it at the
// position written. A reference written before its target exists is a
// delayed reference: its slot names an entry of the delayed-target table,
// and the table written at the end of the file maps slots to positions.
// Files are written and read one at a time, on one thread.

#include "foundation/uu/UUGrowableArray.h"

#include <cstdint>
#include <typeinfo>

class MM3DDelayedReferenceBase;
class UUReader;
class UUWriter;

// An entry of the object table: the object and the type it was loaded as,
// so that a reference read from a file resolves only to an object of the
// type it expects.
struct MM3DReferencedObject {
  void* mObject;
  const std::type_info* mType;

  // The object when it was loaded as exactly T, else null.
  template <typename T>
  T* As() const {
    return mType != nullptr && *mType == typeid(T) ? static_cast<T*>(mObject) : nullptr;
  }
};

class MM3DDatabase {
 public:
  // The largest object index or table length a file may carry: a bad
  // value must not grow a table without bound.
  static constexpr int32_t kMaxReferenceIndex = 1 << 20;
  static constexpr int32_t kSignatureSize = 256;

  // The signature is copied, at most kSignatureSize bytes with its
  // terminator.
  MM3DDatabase(const char* signature, int16_t formatCode, int16_t version, int32_t endTag);
  virtual ~MM3DDatabase() = default;
  MM3DDatabase(const MM3DDatabase&) = delete;
  MM3DDatabase& operator=(const MM3DDatabase&) = delete;

  // Reads the data of one tagged record; false on failure.
  virtual bool ReadRecord(UUReader& reader, int32_t tag) = 0;

  // The signature's characters, "II", the format code and the version.
  bool WriteHeader(UUWriter& writer) const;
  // True only for this signature and format code and a version not above
  // this database's.
  bool ReadHeader(UUReader& reader) const;
  bool WriteEndTag(UUWriter& writer) const;
  // Reads tagged records up to the end tag; stops at the first failure.
  bool ReadRecords(UUReader& reader);
  static bool ReadInt32(UUReader& reader, int32_t& out);

  // Replaces the three tables with new empty ones.
  static void ResetReferenceTables();
  static void FreeReferenceTables();

  // Appends the object to the object table and writes its position (int32).
  static bool SaveReference(UUWriter& writer, const void* object);
  // Reads a position and stores the object there as a T, growing the table
  // with null entries as needed. A position outside 0 to kMaxReferenceIndex
  // fails the read. The position goes to index, when given, so that the
  // object can take itself out again with ForgetReference.
  template <typename T>
  static bool LoadReference(UUReader& reader, T* object, int32_t* index = nullptr) {
    return LoadReferenceAs(reader, object, typeid(T), index);
  }
  // The position of the first entry equal to the object, or the count.
  static int32_t FindSavedReference(const void* object);
  // The object at a position, or null outside the table.
  static void* GetReferencedObject(int32_t index);
  // Clears the entry at index when it still holds the object: an object
  // that dies while its file is read leaves nothing behind to resolve to.
  static void ForgetReference(const void* object, int32_t index);

  // A delayed reference: -1 for none, else the target's slot in the
  // delayed-target table.
  static bool WriteDelayedReference(UUWriter& writer, const void* target);
  // Reads a slot; a slot of 0 or more puts the reference on the pending
  // table until ResolveDelayedReferences, a negative one leaves it alone.
  static bool ReadDelayedReference(UUReader& reader, MM3DDelayedReferenceBase& reference);
  // Takes a dying reference off the pending table.
  static void ForgetDelayedReference(MM3DDelayedReferenceBase& reference);
  // The positions of the delayed targets in the object table; empties both.
  static bool WriteDelayedReferenceTable(UUWriter& writer);
  // Reads the positions and sets every pending reference; empties the
  // pending and object tables whatever happens. A slot beyond the table
  // fails the read and sets nothing; a position that names no object of
  // the expected type leaves its reference null.
  static bool ResolveDelayedReferences(UUReader& reader);

  // Empties every table, so that a file that failed half-way leaves
  // nothing behind for the next one.
  static void EmptyReferenceTables();

  // Fails the reader with the error of data that cannot be right; false.
  static bool RejectRecord(UUReader& reader);

 private:
  struct PendingReference {
    MM3DDelayedReferenceBase* mReference;
    int32_t mSlot;
  };

  static bool LoadReferenceAs(UUReader& reader, void* object, const std::type_info& type,
                              int32_t* index);
  static bool ReadSlotPositions(UUReader& reader, UUGrowableArray<int32_t>& positions);
  static void SetPendingReferences(const UUGrowableArray<int32_t>& positions);
  static void EmptyLoadTables();

  char mSignature[kSignatureSize];
  int16_t mFormatCode;
  int16_t mVersion;
  int32_t mEndTag;

  static UUGrowableArray<MM3DReferencedObject>* sObjects;
  static UUGrowableArray<const void*>* sDelayedTargets;
  static UUGrowableArray<PendingReference>* sPending;
};
