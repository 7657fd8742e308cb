#pragma once
// A mod database whose texture table names textures: an int16 version (0),
// an int16 count and count entries of 32 bytes, each a zero-terminated
// texture name. A reference is an index into the table; the id is found
// by name in the texture collections when the reference is resolved.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DModDatabase.h"

#include <cstdint>

class MM3DNamedTextureModDatabase : public MM3DModDatabase {
 public:
  static constexpr int16_t kTextureTableVersion = 0;
  // The bytes of one table entry, its terminator included.
  static constexpr int32_t kNameSize = 32;

  // Another version, a negative count or a short table fails; the entries
  // read before a short one stay. A name that fills its entry is cut to
  // end inside it.
  bool ReadTextureTable(UUReader& reader) override;
  // Fails when the table holds more names than its int16 count can say.
  bool WriteTextureTable(UUWriter& writer) override;
  // The first texture of the entry's name; -1 for a reference outside the
  // table or a name no collection holds.
  int32_t GetTextureId(int32_t reference) override;
  // The index of the texture's name, its first 31 characters, appended when
  // no entry holds it; names that differ in letter case differ.
  int32_t GetTextureReference(int32_t textureId) override;

  int32_t GetTextureCount() const { return mNames.Count(); }

 private:
  struct Name {
    char mText[kNameSize];
  };

  UUGrowableArray<Name> mNames;
};
