#include "mm/resources/MMScriptFile.h"

#include <algorithm>
#include <new>

namespace {

template <typename T>
void EmptyTable(UUGrowableArray<T>& table) {
  table.EraseRange(0, table.Count());
  table.Compact();
}

template <typename T>
int32_t ValueAt(const UUGrowableArray<T>& table, int32_t i) {
  return i >= 0 && i < table.Count() ? table[i] : -1;
}

template <typename T>
bool Store(UUGrowableArray<T>& table, int32_t i, T value) {
  if (i < 0 || i >= table.Count()) return AFSetFailureWithoutError();
  table[i] = value;
  return true;
}

}  // namespace

MMScriptFile::~MMScriptFile() = default;

int32_t MMScriptFile::GetRowSize(int32_t layout) const { return ValueAt(mRowSizes, layout); }
int32_t MMScriptFile::GetEntryRowCount(int32_t i) const { return ValueAt(mRowCounts, i); }
int32_t MMScriptFile::GetEntryLayout(int32_t i) const { return ValueAt(mLayouts, i); }

void MMScriptFile::EmptyTables() {
  mContents.reset();
  mContentsLength = 0;
  EmptyTable(mRowSizes);
  EmptyTable(mRowCounts);
  EmptyTable(mLayouts);
  mLayoutNames.Reset();
  mEntryNames.Reset();
}

void MMScriptFile::PrepareTables() {
  MMGenericResourceFile::PrepareTables();
  EmptyTables();
  const int32_t n = GetSubfileCount();
  if (n <= 0) return;
  mRowCounts.Insert(0, n, int32_t{-1});
  mLayouts.Insert(0, n, int16_t{-1});
}

bool MMScriptFile::Reset(bool deleteFile, bool markBad) {
  EmptyTables();
  return MMGenericResourceFile::Reset(deleteFile, markBad);
}

int64_t MMScriptFile::Remaining() {
  int32_t position = 0;
  if (!GetFile().Tell(&position)) return 0;
  return int64_t{GetFileLength()} - position;
}

bool MMScriptFile::ReadTables() {
  UURecoverableCDFile& file = GetFile();
  int16_t layoutCount = 0;
  file.ReadInt16s(&mLanguage, 1);
  file.ReadInt16s(&mCodePage, 1);
  file.ReadInt16s(&mHeaderWord, 1);
  if (!file.ReadInt16s(&layoutCount, 1)) return false;
  // Every table a count sizes must exist in the file before room is made
  // for it.
  if (layoutCount < 0 || !CanRead(layoutCount, 2)) return false;
  mRowSizes.Insert(0, layoutCount, int16_t{-1});
  file.ReadInt16s(mRowSizes.Begin(), static_cast<uint32_t>(layoutCount));
  if (!mLayoutNames.Read(file, Remaining(), KeepsNames())) return false;
  const int32_t n = GetSubfileCount();
  if (!CanRead(n, 6)) return false;
  file.ReadInt32s(mRowCounts.Begin(), static_cast<uint32_t>(n));
  file.ReadInt16s(mLayouts.Begin(), static_cast<uint32_t>(n));
  return mEntryNames.Read(file, Remaining(), KeepsNames());
}

bool MMScriptFile::ReadHeader() {
  if (!MMGenericResourceFile::ReadHeader()) return false;
  int16_t version = 0;
  if (!GetFile().ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kScriptVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  if (!ReadTables() || GetFile().GetError() != kUUNoError || !ReadContents()) {
    return ReportError(AFO_BAD_READ);
  }
  return true;
}

bool MMScriptFile::ReadContents() {
  const int32_t length = GetFileLength();
  mContents.reset(new (std::nothrow) uint8_t[static_cast<size_t>(std::max(length, 1))]);
  if (!mContents || !GetFile().Seek(0, kUUSeekFromStart, nullptr) ||
      !GetFile().Read(mContents.get(), static_cast<uint32_t>(length))) {
    mContents.reset();
    return false;
  }
  mContentsLength = length;
  return true;
}

bool MMScriptFile::GetEntryBytes(int32_t i, const uint8_t** bytes, int32_t* size) const {
  int32_t offset = 0;
  if (!mContents || !GetSubfileRange(i, &offset, size) ||
      int64_t{offset} + *size > mContentsLength) {
    return false;
  }
  *bytes = mContents.get() + offset;
  return true;
}

bool MMScriptFile::WriteHeader() {
  if (!MMGenericResourceFile::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kScriptVersion;
  const int16_t layoutCount = GetLayoutCount();
  file.WriteInt16s(&version, 1);
  file.WriteInt16s(&mLanguage, 1);
  file.WriteInt16s(&mCodePage, 1);
  file.WriteInt16s(&mHeaderWord, 1);
  file.WriteInt16s(&layoutCount, 1);
  file.WriteInt16s(mRowSizes.Begin(), static_cast<uint32_t>(layoutCount));
  mLayoutNames.Write(file);
  file.WriteInt32s(mRowCounts.Begin(), static_cast<uint32_t>(mRowCounts.Count()));
  file.WriteInt16s(mLayouts.Begin(), static_cast<uint32_t>(mLayouts.Count()));
  mEntryNames.Write(file);
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

bool MMScriptFile::Rewrite() { return RewriteHeader() || AFSetFailureWithoutError(); }

bool MMScriptFile::SetLanguage(int16_t language) {
  if (!IsGood()) return false;
  mLanguage = language;
  return true;
}

bool MMScriptFile::SetCodePage(int16_t codePage) {
  if (!IsGood()) return false;
  mCodePage = codePage;
  return true;
}

bool MMScriptFile::SetHeaderWord(int16_t word) {
  if (!IsGood()) return false;
  mHeaderWord = word;
  return true;
}

bool MMScriptFile::SetLayoutCount(int16_t count) {
  if (!IsGood()) return false;
  EmptyTable(mRowSizes);
  if (count > 0) mRowSizes.Insert(0, count, int16_t{-1});
  return Rewrite();
}

bool MMScriptFile::SetLayoutRowSize(int32_t layout, int16_t size) {
  return IsGood() && Store(mRowSizes, layout, size);
}

bool MMScriptFile::InitLayoutNames(int32_t blockSize) {
  if (!IsGood()) return false;
  mLayoutNames.Init(GetLayoutCount(), blockSize);
  return Rewrite();
}

bool MMScriptFile::InitEntryNames(int32_t blockSize) {
  if (!IsGood()) return false;
  mEntryNames.Init(GetSubfileCount(), blockSize);
  return Rewrite();
}

bool MMScriptFile::SetName(MMScriptStringTable& table, int32_t i, const char* text) {
  if (!IsGood()) return false;
  return table.SetText(i, text) || AFSetFailureWithoutError();
}

bool MMScriptFile::SetLayoutName(int32_t layout, const char* text) {
  return SetName(mLayoutNames, layout, text);
}

bool MMScriptFile::SetEntryName(int32_t i, const char* text) {
  return SetName(mEntryNames, i, text);
}

bool MMScriptFile::SetEntryRowCount(int32_t i, int16_t count) {
  return IsGood() && Store(mRowCounts, i, int32_t{count});
}

bool MMScriptFile::SetEntryLayout(int32_t i, int16_t layout) {
  return IsGood() && Store(mLayouts, i, layout);
}
