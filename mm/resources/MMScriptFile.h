#pragma once
// The script file ("DAZE Scripts"): the system's data tables. Each subfile
// is one script: rowCount rows of a fixed size, then a text area of
// zero-terminated texts up to the subfile's end. After the container
// header, for N scripts and M row layouts:
//   int16 version 11, int16 language (texts in code page 10000 + language;
//   -1 texts used as stored), int16 ANSI code page the file is made for,
//   int16 header word, int16 M, int16 x M row sizes,
//   the layout-name table, int32 x N row counts, int16 x N layout indexes,
//   the entry-name table.
// The name tables are kept only when the file is opened with keepNames.

#include "foundation/uu/UUGrowableArray.h"
#include "mm/resources/MMGenericResourceFile.h"
#include "mm/resources/MMScriptStringTable.h"

#include <cstdint>
#include <memory>

class MMScriptFile : public MMGenericResourceFile {
 public:
  static constexpr int16_t kScriptVersion = 11;
  static constexpr int16_t kAnyLanguage = -1;
  static constexpr int32_t kFirstMacCodePage = 10000;

  MMScriptFile() : MMGenericResourceFile(MME_SCRIPT_FILE_NOT_FOUND) {}
  ~MMScriptFile() override;

  const char* GetKindCode() const override { return "MMS"; }
  const char* GetTag() const override { return "DAZE Scripts"; }

  int16_t GetLanguage() const { return mLanguage; }
  int16_t GetCodePage() const { return mCodePage; }
  int16_t GetHeaderWord() const { return mHeaderWord; }
  int16_t GetLayoutCount() const { return static_cast<int16_t>(mRowSizes.Count()); }
  // -1 for an index outside the tables.
  int32_t GetRowSize(int32_t layout) const;
  int32_t GetEntryRowCount(int32_t i) const;
  int32_t GetEntryLayout(int32_t i) const;
  // Null when the names were not kept or the index is outside the table.
  const char* GetLayoutName(int32_t layout) const { return mLayoutNames.GetText(layout); }
  const char* GetEntryName(int32_t i) const { return mEntryNames.GetText(i); }
  // The bytes of entry i, read with the header when the file was opened, so
  // that an entry costs no read of its own; false for an entry outside the
  // bytes read.
  bool GetEntryBytes(int32_t i, const uint8_t** bytes, int32_t* size) const;

  // The writer's operations; each answers the status rule (IsGood).
  bool SetLanguage(int16_t language);
  bool SetCodePage(int16_t codePage);
  bool SetHeaderWord(int16_t word);
  // M row sizes of -1; the header is written again at its new size.
  bool SetLayoutCount(int16_t count);
  bool SetLayoutRowSize(int32_t layout, int16_t size);
  // M (or N) names in a block of blockSize bytes; the header is written
  // again at its new size.
  bool InitLayoutNames(int32_t blockSize);
  bool SetLayoutName(int32_t layout, const char* text);
  bool InitEntryNames(int32_t blockSize);
  bool SetEntryName(int32_t i, const char* text);
  bool SetEntryRowCount(int32_t i, int16_t count);
  bool SetEntryLayout(int32_t i, int16_t layout);

 protected:
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;

 private:
  // The bytes of the file after the current position.
  int64_t Remaining();
  bool ReadTables();
  // The whole file in one read.
  bool ReadContents();
  bool Rewrite();
  bool SetName(MMScriptStringTable& table, int32_t i, const char* text);
  void EmptyTables();

  int16_t mLanguage = kAnyLanguage;
  int16_t mCodePage = 0;
  int16_t mHeaderWord = 0;
  UUGrowableArray<int16_t> mRowSizes;
  MMScriptStringTable mLayoutNames;
  UUGrowableArray<int32_t> mRowCounts;
  UUGrowableArray<int16_t> mLayouts;
  MMScriptStringTable mEntryNames;
  std::unique_ptr<uint8_t[]> mContents;
  int32_t mContentsLength = 0;
};
