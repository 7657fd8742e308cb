#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

#include "foundation/uu/UUString.h"

#include <cstring>

MMResourceFileWithNamedSubfiles::~MMResourceFileWithNamedSubfiles() = default;

int32_t MMResourceFileWithNamedSubfiles::GetNamedHeaderEnd() const {
  const int32_t n = GetSubfileCount();
  return kOffsetTableStart + 4 * (n + 1) + 2 + (kNameSize + 4) * n;
}

bool MMResourceFileWithNamedSubfiles::ReadHeader() {
  if (!MMGenericResourceFile::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kNamedTableVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  const int32_t n = GetSubfileCount();
  if (KeepsNames()) {
    MMReadNameRecords(file, mNames.Begin(), n);
    file.ReadInt32s(mValues.Begin(), static_cast<uint32_t>(n));
    // A damaged file may leave a name unterminated; callers take them as
    // texts.
    for (int32_t i = 0; i < n; ++i) mNames[i].mText[kNameSize - 1] = '\0';
  } else {
    SeekTo(GetNamedHeaderEnd(), AFO_BAD_READ);
  }
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_READ);
}

bool MMResourceFileWithNamedSubfiles::WriteHeader() {
  if (!MMGenericResourceFile::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kNamedTableVersion;
  file.WriteInt16s(&version, 1);
  MMWriteNameRecords(file, mNames.Begin(), mNames.Count());
  file.WriteInt32s(mValues.Begin(), static_cast<uint32_t>(mValues.Count()));
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

void MMResourceFileWithNamedSubfiles::PrepareTables() {
  MMGenericResourceFile::PrepareTables();
  mValues.EraseRange(0, mValues.Count());
  mNames.EraseRange(0, mNames.Count());
  const int32_t n = GetSubfileCount();
  if (KeepsNames() && n > 0) {
    mValues.Insert(0, n, 0u);
    mNames.Insert(0, n, MMSubfileName{});
  }
}

bool MMResourceFileWithNamedSubfiles::Reset(bool deleteFile, bool markBad) {
  mNames.EraseRange(0, mNames.Count());
  mNames.Compact();
  mValues.EraseRange(0, mValues.Count());
  mValues.Compact();
  return MMGenericResourceFile::Reset(deleteFile, markBad);
}

const char* MMResourceFileWithNamedSubfiles::GetSubfileName(int32_t i) const {
  return i >= 0 && i < mNames.Count() ? mNames[i].mText : nullptr;
}

uint32_t MMResourceFileWithNamedSubfiles::GetSubfileValue(int32_t i) const {
  return i >= 0 && i < mValues.Count() ? mValues[i] : 0;
}

bool MMResourceFileWithNamedSubfiles::SetSubfileName(int32_t i, const char* text) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mNames.Count()) return AFSetFailureWithoutError();
  UUCopyString(text, mNames[i].mText, kNameSize);
  return true;
}

bool MMResourceFileWithNamedSubfiles::SetSubfileValue(int32_t i, uint32_t value) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mValues.Count()) return AFSetFailureWithoutError();
  mValues[i] = value;
  return true;
}

// A record is nothing but its 32 bytes, so n records are one run of bytes.
static_assert(sizeof(MMSubfileName) == MMResourceFileWithNamedSubfiles::kNameSize);

bool MMReadNameRecords(UUReader& reader, MMSubfileName* records, int32_t n) {
  if (n <= 0) return reader.GetError() == kUUNoError;
  return reader.Read(records, static_cast<uint32_t>(n) * sizeof(MMSubfileName));
}

bool MMWriteNameRecords(UUWriter& writer, const MMSubfileName* records, int32_t n) {
  if (n <= 0) return writer.GetError() == kUUNoError;
  return writer.Write(records, static_cast<uint32_t>(n) * sizeof(MMSubfileName));
}
