#include "mm3d/MM3DDatabase.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDelayedReference.h"

#include <cstring>

UUGrowableArray<MM3DReferencedObject>* MM3DDatabase::sObjects = nullptr;
UUGrowableArray<const void*>* MM3DDatabase::sDelayedTargets = nullptr;
UUGrowableArray<MM3DDatabase::PendingReference>* MM3DDatabase::sPending = nullptr;

namespace {

// A slot or position that names nothing.
constexpr int32_t kNoReference = -1;

// Tables that still exist when the process ends.
struct ReferenceTablesCleanUp {
  ~ReferenceTablesCleanUp() { MM3DDatabase::FreeReferenceTables(); }
} sCleanUp;

// Entries an emptied table keeps room for: writing model after model then
// takes no new blocks, and only a very large model's table is given back.
constexpr int32_t kKeptEntries = 4096;

template <typename T>
void Empty(UUGrowableArray<T>* table) {
  if (table == nullptr) return;
  table->EraseRange(0, table->Count());
  if (table->Capacity() > kKeptEntries) table->Compact();
}

}  // namespace

MM3DDatabase::MM3DDatabase(const char* signature, int16_t formatCode, int16_t version,
                           int32_t endTag)
    : mFormatCode(formatCode), mVersion(version), mEndTag(endTag) {
  UUCopyString(signature, mSignature, kSignatureSize);
}

bool MM3DDatabase::WriteHeader(UUWriter& writer) const {
  writer.Write(mSignature, static_cast<uint32_t>(std::strlen(mSignature)));
  writer.WriteByteOrderMark();
  writer.WriteInt16s(&mFormatCode, 1);
  return writer.WriteInt16s(&mVersion, 1);
}

bool MM3DDatabase::ReadHeader(UUReader& reader) const {
  char signature[kSignatureSize] = {};
  int16_t formatCode = 0;
  int16_t version = 0;
  if (!reader.Read(signature, static_cast<uint32_t>(std::strlen(mSignature))) ||
      UUCompareText(signature, mSignature) != 0 || !reader.ReadByteOrderMark() ||
      !reader.ReadInt16s(&formatCode, 1) || !reader.ReadInt16s(&version, 1)) {
    return false;
  }
  return formatCode == mFormatCode && version <= mVersion;
}

bool MM3DDatabase::WriteEndTag(UUWriter& writer) const { return writer.WriteInt32s(&mEndTag, 1); }

bool MM3DDatabase::ReadRecords(UUReader& reader) {
  for (;;) {
    int32_t tag = 0;
    if (!ReadInt32(reader, tag)) return false;
    if (tag == mEndTag) return true;
    if (!ReadRecord(reader, tag)) return false;
  }
}

bool MM3DDatabase::ReadInt32(UUReader& reader, int32_t& out) { return reader.ReadInt32s(&out, 1); }

void MM3DDatabase::ResetReferenceTables() {
  FreeReferenceTables();
  sObjects = new UUGrowableArray<MM3DReferencedObject>;
  sDelayedTargets = new UUGrowableArray<const void*>;
  sPending = new UUGrowableArray<PendingReference>;
}

void MM3DDatabase::FreeReferenceTables() {
  delete sObjects;
  sObjects = nullptr;
  delete sDelayedTargets;
  sDelayedTargets = nullptr;
  delete sPending;
  sPending = nullptr;
}

bool MM3DDatabase::SaveReference(UUWriter& writer, const void* object) {
  if (sObjects == nullptr) ResetReferenceTables();
  const int32_t index = sObjects->Count();
  sObjects->Append({const_cast<void*>(object), nullptr});
  return writer.WriteInt32s(&index, 1);
}

bool MM3DDatabase::LoadReferenceAs(UUReader& reader, void* object, const std::type_info& type,
                                   int32_t* index) {
  int32_t position = 0;
  if (!reader.ReadInt32s(&position, 1)) return false;
  if (position < 0 || position > kMaxReferenceIndex) return RejectRecord(reader);
  if (sObjects == nullptr) ResetReferenceTables();
  if (position >= sObjects->Count()) {
    sObjects->Insert(sObjects->Count(), position + 1 - sObjects->Count(), {nullptr, nullptr});
  }
  (*sObjects)[position] = {object, &type};
  if (index != nullptr) *index = position;
  return true;
}

int32_t MM3DDatabase::FindSavedReference(const void* object) {
  if (sObjects == nullptr) return 0;
  for (int32_t i = 0; i < sObjects->Count(); ++i) {
    if ((*sObjects)[i].mObject == object) return i;
  }
  return sObjects->Count();
}

void* MM3DDatabase::GetReferencedObject(int32_t index) {
  if (sObjects == nullptr || index < 0 || index >= sObjects->Count()) return nullptr;
  return (*sObjects)[index].mObject;
}

void MM3DDatabase::ForgetReference(const void* object, int32_t index) {
  if (sObjects == nullptr || index < 0 || index >= sObjects->Count()) return;
  if ((*sObjects)[index].mObject == object) (*sObjects)[index] = {nullptr, nullptr};
}

bool MM3DDatabase::WriteDelayedReference(UUWriter& writer, const void* target) {
  int32_t slot = kNoReference;
  if (target != nullptr) {
    if (sDelayedTargets == nullptr) ResetReferenceTables();
    slot = sDelayedTargets->Count();
    sDelayedTargets->Append(target);
  }
  return writer.WriteInt32s(&slot, 1);
}

bool MM3DDatabase::ReadDelayedReference(UUReader& reader, MM3DDelayedReferenceBase& reference) {
  int32_t slot = kNoReference;
  if (!reader.ReadInt32s(&slot, 1)) return false;
  if (slot < 0) return true;
  if (slot > kMaxReferenceIndex) return RejectRecord(reader);
  if (sPending == nullptr) ResetReferenceTables();
  ForgetDelayedReference(reference);
  reference.mPendingPosition = sPending->Count();
  sPending->Append({&reference, slot});
  return true;
}

void MM3DDatabase::ForgetDelayedReference(MM3DDelayedReferenceBase& reference) {
  const int32_t position = reference.mPendingPosition;
  reference.mPendingPosition = kNoReference;
  if (sPending == nullptr || position < 0 || position >= sPending->Count()) return;
  if ((*sPending)[position].mReference == &reference) (*sPending)[position].mReference = nullptr;
}

bool MM3DDatabase::WriteDelayedReferenceTable(UUWriter& writer) {
  if (sObjects == nullptr) ResetReferenceTables();
  const int32_t count = sDelayedTargets->Count();
  writer.WriteInt32s(&count, 1);
  for (const void* target : *sDelayedTargets) {
    const int32_t position = FindSavedReference(target);
    if (!writer.WriteInt32s(&position, 1)) break;
  }
  Empty(sDelayedTargets);
  Empty(sObjects);
  return writer.GetError() == kUUNoError;
}

bool MM3DDatabase::ResolveDelayedReferences(UUReader& reader) {
  UUGrowableArray<int32_t> positions;
  bool good = ReadSlotPositions(reader, positions);
  if (good && sPending != nullptr) {
    for (const PendingReference& pending : *sPending) {
      if (pending.mReference != nullptr && pending.mSlot >= positions.Count()) {
        good = RejectRecord(reader);
        break;
      }
    }
  }
  if (good) SetPendingReferences(positions);
  EmptyLoadTables();
  return good;
}

void MM3DDatabase::EmptyReferenceTables() {
  EmptyLoadTables();
  Empty(sDelayedTargets);
}

bool MM3DDatabase::RejectRecord(UUReader& reader) {
  reader.SetError(kUUErrorShortRead);
  return false;
}

bool MM3DDatabase::ReadSlotPositions(UUReader& reader, UUGrowableArray<int32_t>& positions) {
  int32_t count = 0;
  if (!ReadInt32(reader, count)) return false;
  if (count < 0 || count > kMaxReferenceIndex + 1) return RejectRecord(reader);
  // The table grows with what was read, never ahead of it from the count.
  for (int32_t i = 0; i < count; ++i) {
    int32_t position = kNoReference;
    if (!ReadInt32(reader, position)) return false;
    positions.Append(position);
  }
  return true;
}

void MM3DDatabase::SetPendingReferences(const UUGrowableArray<int32_t>& positions) {
  if (sPending == nullptr) return;
  for (const PendingReference& pending : *sPending) {
    if (pending.mReference == nullptr) continue;
    const int32_t position = positions[pending.mSlot];
    // A target that was never written has a position past the table.
    const bool known = sObjects != nullptr && position >= 0 && position < sObjects->Count();
    pending.mReference->Set(known ? (*sObjects)[position] : MM3DReferencedObject{nullptr, nullptr});
  }
}

void MM3DDatabase::EmptyLoadTables() {
  if (sPending != nullptr) {
    for (const PendingReference& pending : *sPending) {
      if (pending.mReference != nullptr) pending.mReference->mPendingPosition = kNoReference;
    }
  }
  Empty(sPending);
  Empty(sObjects);
}
