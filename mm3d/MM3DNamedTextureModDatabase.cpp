#include "mm3d/MM3DNamedTextureModDatabase.h"

#include "foundation/uu/UUString.h"
#include "mm3d/MM3DTextureCollection.h"

#include <cstdint>
#include <limits>

bool MM3DNamedTextureModDatabase::ReadTextureTable(UUReader& reader) {
  int16_t header[2] = {};
  if (!reader.ReadInt16s(header, 2)) return false;
  const int16_t count = header[1];
  if (header[0] != kTextureTableVersion || count < 0) return RejectRecord(reader);
  mNames.EraseRange(0, mNames.Count());
  // One entry at a time, so that a damaged count claims no more memory
  // than the file holds names.
  for (int16_t i = 0; i < count; ++i) {
    Name name;
    if (!reader.Read(name.mText, kNameSize)) return false;
    name.mText[kNameSize - 1] = '\0';
    mNames.Append(name);
  }
  mNames.Compact();
  return true;
}

bool MM3DNamedTextureModDatabase::WriteTextureTable(UUWriter& writer) {
  if (mNames.Count() > std::numeric_limits<int16_t>::max()) {
    writer.SetError(kUUErrorShortWrite);
    return false;
  }
  const int16_t header[2] = {kTextureTableVersion, static_cast<int16_t>(mNames.Count())};
  if (!writer.WriteInt16s(header, 2)) return false;
  for (const Name& name : mNames) {
    if (!writer.Write(name.mText, kNameSize)) return false;
  }
  return true;
}

int32_t MM3DNamedTextureModDatabase::GetTextureId(int32_t reference) {
  if (reference < 0 || reference >= mNames.Count()) return kMMNoResource;
  return MM3DFindTextureByName(mNames[reference].mText);
}

int32_t MM3DNamedTextureModDatabase::GetTextureReference(int32_t textureId) {
  char full[kMM3DTextureNameCapacity];
  // Zero-filled, so that the bytes written after the terminator are the
  // same in every file.
  Name name{};
  UUCopyString(MM3DGetTextureName(full, textureId), name.mText, kNameSize);
  for (int32_t i = 0; i < mNames.Count(); ++i) {
    if (UUCompareText(mNames[i].mText, name.mText) == 0) return i;
  }
  mNames.Append(name);
  return mNames.Count() - 1;
}
