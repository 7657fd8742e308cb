#include "mm3d/MM3DDatabase.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

UUGrowableArray<void*>* MM3DDatabase::sObjects = nullptr;

namespace {

// Tables that still exist when the process ends.
struct ReferenceTablesCleanUp {
  ~ReferenceTablesCleanUp() { MM3DDatabase::FreeReferenceTables(); }
} sCleanUp;

}  // namespace

void MM3DDatabase::ResetReferenceTables() {
  FreeReferenceTables();
  sObjects = new UUGrowableArray<void*>;
}

void MM3DDatabase::FreeReferenceTables() {
  delete sObjects;
  sObjects = nullptr;
}

bool MM3DDatabase::SaveReference(UUWriter& writer, void* object) {
  if (sObjects == nullptr) ResetReferenceTables();
  const int32_t index = sObjects->Count();
  sObjects->Append(object);
  return writer.WriteInt32s(&index, 1);
}

bool MM3DDatabase::LoadReference(UUReader& reader, void* object) {
  int32_t index = 0;
  if (!reader.ReadInt32s(&index, 1)) return false;
  if (index < 0 || index > kMaxReferenceIndex) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  if (sObjects == nullptr) ResetReferenceTables();
  if (index >= sObjects->Count())
    sObjects->Insert(sObjects->Count(), index + 1 - sObjects->Count(), nullptr);
  (*sObjects)[index] = object;
  return true;
}

int32_t MM3DDatabase::FindSavedReference(const void* object) {
  if (sObjects == nullptr) return 0;
  for (int32_t i = 0; i < sObjects->Count(); ++i) {
    if ((*sObjects)[i] == object) return i;
  }
  return sObjects->Count();
}

void* MM3DDatabase::GetReferencedObject(int32_t index) {
  if (sObjects == nullptr || index < 0 || index >= sObjects->Count()) return nullptr;
  return (*sObjects)[index];
}
