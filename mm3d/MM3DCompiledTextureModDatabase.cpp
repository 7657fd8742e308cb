#include "mm3d/MM3DCompiledTextureModDatabase.h"

#include "mm/resources/MMCollectionRegistry.h"

#include <cstdint>
#include <limits>

bool MM3DCompiledTextureModDatabase::ReadTextureTable(UUReader& reader) {
  int16_t header[2] = {};
  if (!reader.ReadInt16s(header, 2)) return false;
  const int16_t count = header[1];
  if (header[0] != kTextureTableVersion || count < 0) return RejectRecord(reader);
  mTextureIds.EraseRange(0, mTextureIds.Count());
  mTextureIds.Insert(0, count, kMMNoResource);
  mTextureIds.Compact();
  return reader.ReadInt32s(mTextureIds.Begin(), static_cast<uint32_t>(count));
}

bool MM3DCompiledTextureModDatabase::WriteTextureTable(UUWriter& writer) {
  if (mTextureIds.Count() > std::numeric_limits<int16_t>::max()) {
    writer.SetError(kUUErrorShortWrite);
    return false;
  }
  const int16_t header[2] = {kTextureTableVersion, static_cast<int16_t>(mTextureIds.Count())};
  return writer.WriteInt16s(header, 2) &&
         writer.WriteInt32s(mTextureIds.Begin(), static_cast<uint32_t>(mTextureIds.Count()));
}

int32_t MM3DCompiledTextureModDatabase::GetTextureId(int32_t reference) {
  if (reference < 0 || reference >= mTextureIds.Count()) return kMMNoResource;
  return mTextureIds[reference];
}

int32_t MM3DCompiledTextureModDatabase::GetTextureReference(int32_t textureId) {
  for (int32_t i = 0; i < mTextureIds.Count(); ++i) {
    if (mTextureIds[i] == textureId) return i;
  }
  mTextureIds.Append(textureId);
  return mTextureIds.Count() - 1;
}

void MM3DCompiledTextureModDatabase::EmptySections() {
  MM3DModDatabase::EmptySections();
  mTextureIds.EraseRange(0, mTextureIds.Count());
}
