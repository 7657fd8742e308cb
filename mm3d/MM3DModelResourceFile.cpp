#include "mm3d/MM3DModelResourceFile.h"

#include "foundation/uu/UUString.h"
#include "mm3d/MM3DModel.h"

namespace {

constexpr int32_t kExtensionHeaderSize = 4;
constexpr int32_t kEntryTableBytes = 2 + 4 + MMResourceFileWithNamedSubfiles::kNameSize;

template <typename T>
void EmptyTable(UUGrowableArray<T>& table) {
  table.EraseRange(0, table.Count());
  table.Compact();
}

}  // namespace

MM3DModelResourceFile::~MM3DModelResourceFile() = default;

int32_t MM3DModelResourceFile::GetMembershipSize() const {
  return (mEntryCount * GetSubfileCount() + 7) / 8;
}

int16_t MM3DModelResourceFile::GetEntryValue16(int32_t e) const {
  return HasEntry(e) ? mValues16[e] : 0;
}

int32_t MM3DModelResourceFile::GetEntryValue32(int32_t e) const {
  return HasEntry(e) ? mValues32[e] : 0;
}

const char* MM3DModelResourceFile::GetEntryName(int32_t e) const {
  return HasEntry(e) ? mEntryNames[e].mText : nullptr;
}

bool MM3DModelResourceFile::IsSubfileInEntry(int32_t s, int32_t e) const {
  if (!HasEntry(e) || s < 0 || s >= GetSubfileCount()) return false;
  const int32_t bit = s * mEntryCount + e;
  return (mMembership[bit / 8] >> (bit % 8) & 1) != 0;
}

void MM3DModelResourceFile::MakeTables() {
  const int32_t m = mEntryCount;
  if (m <= 0) return;
  mValues16.Insert(0, m, 0);
  mValues32.Insert(0, m, 0);
  mEntryNames.Insert(0, m, MMSubfileName{});
  mMembership.Insert(0, GetMembershipSize(), 0);
}

void MM3DModelResourceFile::EmptyTables() {
  EmptyTable(mValues16);
  EmptyTable(mValues32);
  EmptyTable(mEntryNames);
  EmptyTable(mMembership);
}

void MM3DModelResourceFile::PrepareTables() {
  MMResourceFileWithNamedSubfiles::PrepareTables();
  EmptyTables();
  mEntryCount = 0;
}

bool MM3DModelResourceFile::Reset(bool deleteFile, bool markBad) {
  EmptyTables();
  return MMResourceFileWithNamedSubfiles::Reset(deleteFile, markBad);
}

bool MM3DModelResourceFile::ReadHeader() {
  if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kExtensionVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  if (!file.ReadInt16s(&mEntryCount, 1)) return ReportError(AFO_BAD_READ);
  const int64_t tableBytes = int64_t{mEntryCount} * kEntryTableBytes + GetMembershipSize();
  if (mEntryCount < 0 || !CanRead(tableBytes, 1)) return ReportError(AFO_BAD_HEADER);
  if (KeepsNames()) return ReadTables();
  const int64_t end = GetNamedHeaderEnd() + kExtensionHeaderSize + tableBytes;
  return SeekTo(static_cast<int32_t>(end), AFO_BAD_READ);
}

bool MM3DModelResourceFile::ReadTables() {
  MakeTables();
  UURecoverableCDFile& file = GetFile();
  file.ReadInt16s(mValues16.Begin(), static_cast<uint32_t>(mValues16.Count()));
  file.ReadInt32s(mValues32.Begin(), static_cast<uint32_t>(mValues32.Count()));
  MMReadNameRecords(file, mEntryNames.Begin(), mEntryNames.Count());
  file.Read(mMembership.Begin(), static_cast<uint32_t>(mMembership.Count()));
  // A damaged file may leave a name unterminated; callers take them as
  // texts.
  for (MMSubfileName& name : mEntryNames) name.mText[kNameSize - 1] = '\0';
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_READ);
}

bool MM3DModelResourceFile::WriteHeader() {
  if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t header[2] = {kExtensionVersion, mEntryCount};
  file.WriteInt16s(header, 2);
  file.WriteInt16s(mValues16.Begin(), static_cast<uint32_t>(mValues16.Count()));
  file.WriteInt32s(mValues32.Begin(), static_cast<uint32_t>(mValues32.Count()));
  MMWriteNameRecords(file, mEntryNames.Begin(), mEntryNames.Count());
  file.Write(mMembership.Begin(), static_cast<uint32_t>(mMembership.Count()));
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

bool MM3DModelResourceFile::SetEntryCount(int16_t count) {
  if (!IsGood()) return false;
  if (count < 0) return AFSetFailureWithoutError();
  EmptyTables();
  mEntryCount = count;
  MakeTables();
  if (!WriteHeader()) return false;
  return GetFile().Flush() || ReportError(AFO_BAD_WRITE);
}

bool MM3DModelResourceFile::SetEntryValue16(int32_t e, int16_t value) {
  if (!IsGood()) return false;
  if (!HasEntry(e)) return AFSetFailureWithoutError();
  mValues16[e] = value;
  return true;
}

bool MM3DModelResourceFile::SetEntryValue32(int32_t e, int32_t value) {
  if (!IsGood()) return false;
  if (!HasEntry(e)) return AFSetFailureWithoutError();
  mValues32[e] = value;
  return true;
}

bool MM3DModelResourceFile::SetEntryName(int32_t e, const char* name) {
  if (!IsGood()) return false;
  if (!HasEntry(e)) return AFSetFailureWithoutError();
  UUCopyString(name, mEntryNames[e].mText, kNameSize);
  return true;
}

bool MM3DModelResourceFile::SetSubfileInEntry(int32_t s, int32_t e, bool member) {
  if (!IsGood()) return false;
  if (!HasEntry(e) || s < 0 || s >= GetSubfileCount()) return AFSetFailureWithoutError();
  const int32_t bit = s * mEntryCount + e;
  const auto mask = static_cast<uint8_t>(1u << (bit % 8));
  uint8_t& byte = mMembership[bit / 8];
  byte = static_cast<uint8_t>(member ? byte | mask : byte & ~mask);
  return true;
}

bool MM3DModelResourceFile::WriteModel(int16_t i, const char* name,
                                       const UURefCount<MM3DModel>& model,
                                       MM3DModDatabase& database, UURandomAccessStream& memory) {
  if (!IsGood()) return false;
  if (i < 0 || i >= GetSubfileCount()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int32_t position = 0;
  if (!file.Seek(0, kUUSeekFromEnd, &position)) return ReportError(AFO_BAD_SEEK);
  if (!MM3DWriteModel(file, model, database, memory)) return ReportError(AFO_BAD_WRITE);
  return SetSubfileOffset(i, position) && SetSubfileName(i, name);
}
