#pragma once
// The mod database the program reads and writes: its texture table holds
// texture resource ids, and a texture reference is an index into it. The
// table is an int16 version (1), an int16 count and count int32 ids.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DModDatabase.h"

#include <cstdint>

class MM3DCompiledTextureModDatabase : public MM3DModDatabase {
 public:
  static constexpr int16_t kTextureTableVersion = 1;

  // Another version, a negative count or a short table fails; the ids not
  // read stay -1.
  bool ReadTextureTable(UUReader& reader) override;
  void EmptySections() override;
  // Fails when the table holds more ids than its int16 count can say.
  bool WriteTextureTable(UUWriter& writer) override;
  // -1 for a reference outside the table.
  int32_t GetTextureId(int32_t reference) override;
  // The index of the id, appended when absent.
  int32_t GetTextureReference(int32_t textureId) override;

  int32_t GetTextureCount() const { return mTextureIds.Count(); }

 private:
  UUGrowableArray<int32_t> mTextureIds;
};
