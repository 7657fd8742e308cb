#pragma once
// A container whose offset table is followed by a name and a value for each
// subfile:
//   40 + 4N   int16         named-table version 0
//   42 + 4N   32 x N bytes  zero-terminated names of at most 31 characters
//   42 + 36N  uint32 x N    one value per subfile, its meaning the kind's
// The names and values are kept only when the file is opened with keepNames.

#include "foundation/uu/UUGrowableArray.h"
#include "mm/resources/MMGenericResourceFile.h"

#include <cstdint>

struct MMSubfileName {
  char mText[32];
};

class MMResourceFileWithNamedSubfiles : public MMGenericResourceFile {
 public:
  static constexpr int32_t kNameSize = 32;

  explicit MMResourceFileWithNamedSubfiles(AFErrorCode kindNotFound)
      : MMGenericResourceFile(kindNotFound) {}
  ~MMResourceFileWithNamedSubfiles() override;

  // The name's 32-byte record, always terminated; null for an index outside
  // the table or when the names were not kept.
  const char* GetSubfileName(int32_t i) const;
  // 0 for an index outside the table.
  uint32_t GetSubfileValue(int32_t i) const;
  // The text is cut to 31 characters.
  bool SetSubfileName(int32_t i, const char* text);
  bool SetSubfileValue(int32_t i, uint32_t value);

 protected:
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;
  // Where the named header ends: 42 + 40N.
  int32_t GetNamedHeaderEnd() const;

 private:
  static constexpr int16_t kNamedTableVersion = 0;

  UUGrowableArray<uint32_t> mValues;
  UUGrowableArray<MMSubfileName> mNames;
};

// n raw 32-byte records.
bool MMReadNameRecords(UUReader& reader, MMSubfileName* records, int32_t n);
bool MMWriteNameRecords(UUWriter& writer, const MMSubfileName* records, int32_t n);
