#pragma once
// The model resource file ("DAZE Models"): subfile i holds the model file
// of item i (the stream MM3DReadModel reads). After the named container
// header, at 42 + 40N, comes the extension, for M entries:
//   0         int16          extension version 2
//   2         int16          M
//   4         int16 x M      one 16-bit value per entry
//   4 + 2M    int32 x M      one 32-bit value per entry
//   4 + 6M    32 x M bytes   entry names, zero-terminated
//   4 + 38M   ceil(MN / 8)   membership bits: bit s x M + e (least
//                            significant first) says subfile s belongs to
//                            entry e
// Opened without names, the extension is skipped.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

#include <cstdint>

class MM3DModDatabase;
class MM3DModel;
class UURandomAccessStream;

class MM3DModelResourceFile : public MMResourceFileWithNamedSubfiles {
 public:
  static constexpr int16_t kExtensionVersion = 2;

  MM3DModelResourceFile() : MMResourceFileWithNamedSubfiles(MME_MODEL_RESOURCE_FILE_NOT_FOUND) {}
  ~MM3DModelResourceFile() override;

  const char* GetKindCode() const override { return "MMM"; }
  const char* GetTag() const override { return "DAZE Models"; }

  int16_t GetEntryCount() const { return mEntryCount; }
  // The readers answer 0, null or false for an entry or subfile outside
  // the tables (always so when the names were not kept).
  int16_t GetEntryValue16(int32_t e) const;
  int32_t GetEntryValue32(int32_t e) const;
  const char* GetEntryName(int32_t e) const;
  bool IsSubfileInEntry(int32_t s, int32_t e) const;

  // The writer's operations; each answers the status rule (IsGood). The
  // entry count makes M zeroed entries and writes the header again, so it
  // comes before the models are written.
  bool SetEntryCount(int16_t count);
  bool SetEntryValue16(int32_t e, int16_t value);
  bool SetEntryValue32(int32_t e, int32_t value);
  // The name is cut to 31 characters.
  bool SetEntryName(int32_t e, const char* name);
  bool SetSubfileInEntry(int32_t s, int32_t e, bool member);
  // Appends subfile i at the end of the file: the model file of the model,
  // written through the memory stream (MM3DWriteModel), under the name.
  bool WriteModel(int16_t i, const char* name, const UURefCount<MM3DModel>& model,
                  MM3DModDatabase& database, UURandomAccessStream& memory);

 protected:
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;

 private:
  // The bytes of the membership bits for the present M and N.
  int32_t GetMembershipSize() const;
  bool HasEntry(int32_t e) const { return e >= 0 && e < mValues16.Count(); }
  bool ReadTables();
  void MakeTables();
  void EmptyTables();

  int16_t mEntryCount = 0;
  UUGrowableArray<int16_t> mValues16;
  UUGrowableArray<int32_t> mValues32;
  UUGrowableArray<MMSubfileName> mEntryNames;
  UUGrowableArray<uint8_t> mMembership;
};
