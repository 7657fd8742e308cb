#include "mm/resources/MMGenericResourceFile.h"

#include "foundation/uu/UUCrc32.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"

#include <cstring>

namespace {

template <typename T>
void Empty(UUGrowableArray<T>& array) {
  array.EraseRange(0, array.Count());
  array.Compact();
}

}  // namespace

MMGenericResourceFile::MMGenericResourceFile(AFErrorCode kindNotFound)
    : mKindNotFound(kindNotFound) {}

MMGenericResourceFile::~MMGenericResourceFile() {
  if (mFile.IsOpen()) mFile.Close();
}

bool MMGenericResourceFile::CloseIfOpen() { return mOpen ? Close(false) : true; }

bool MMGenericResourceFile::ReportError(AFFileErrorOffset offset) {
  return AFSetError(AFFileError(mKindNotFound, offset), mDirectory, mName,
                    static_cast<DWORD>(mFile.GetError()));
}

bool MMGenericResourceFile::FailAndReset(AFFileErrorOffset offset, bool deleteFile) {
  ReportError(offset);
  Reset(deleteFile, true);
  return false;
}

bool MMGenericResourceFile::IsGood() {
  if (mGood && mFile.GetError() == kUUNoError) return true;
  return AFSetFailureWithoutError();
}

bool MMGenericResourceFile::Open(const UUDirectory& directory, const char* name, bool keepNames,
                                 bool verifyChecksum) {
  mGood = true;
  mDirectory.Assign(directory);
  UUCopyString(name, mName, kUUPathCapacity);
  mFile.SetError(kUUNoError);
  mKeepNames = keepNames;
  mVerifyChecksum = verifyChecksum;
  if (!mFile.Open(directory, name, kUUFileRead, UUFileOptions())) {
    return FailAndReset(AFO_BAD_OPEN_FOR_READ, false);
  }
  mOpen = true;
  if (!ReadHeader()) {
    Reset(false, true);
    return false;
  }
  return true;
}

bool MMGenericResourceFile::ReadTag() {
  char tag[kTagSize] = {};
  if (!mFile.Read(tag, kTagSize)) return false;
  const char* expected = GetTag();
  if (expected == nullptr) return true;
  const size_t length = std::strlen(expected);
  return length < kTagSize && std::memcmp(tag, expected, length) == 0 && tag[length] == '\0';
}

bool MMGenericResourceFile::VerifyChecksum() {
  if (!SeekTo(kChecksummedStart, AFO_BAD_SEEK)) return false;
  UUCrc32 crc;
  crc.UpdateFromReader(mFile, static_cast<uint32_t>(mFileLength - kChecksummedStart));
  if (mFile.GetError() != kUUNoError) return ReportError(AFO_BAD_READ);
  if (crc.GetValue() != mChecksum) return ReportError(AFO_BAD_CHECKSUM);
  return SeekTo(kChecksummedStart, AFO_BAD_SEEK);
}

bool MMGenericResourceFile::ReadHeader() {
  int16_t version = 0;
  if (!ReadTag() || !mFile.ReadByteOrderMark() || !mFile.ReadInt16s(&version, 1) ||
      version != kContainerVersion) {
    return ReportError(AFO_BAD_HEADER);
  }
  if (!mFile.ReadInt32s(&mChecksum, 1)) return ReportError(AFO_BAD_READ);
  if (!mFile.GetLength(&mFileLength)) return ReportError(AFO_BAD_SEEK);
  if (mVerifyChecksum && !VerifyChecksum()) return false;
  mFile.ReadInt16s(&mCollectionNumber, 1);
  mFile.ReadInt32s(&mStamp1, 1);
  mFile.ReadInt32s(&mStamp2, 1);
  mFile.ReadInt16s(&mSubfileCount, 1);
  mSubfilesWritten = -1;
  if (mFile.GetError() != kUUNoError) return ReportError(AFO_BAD_READ);
  if (mSubfileCount < 0) return ReportError(AFO_BAD_HEADER);
  PrepareTables();
  if (!mFile.ReadInt32s(mOffsets.Begin(), static_cast<uint32_t>(mOffsets.Count()))) {
    return ReportError(AFO_BAD_READ);
  }
  return true;
}

bool MMGenericResourceFile::WriteHeader() {
  char tag[kTagSize] = {};
  if (const char* text = GetTag()) std::strncpy(tag, text, kTagSize - 1);
  const int16_t version = kContainerVersion;
  if (!SeekTo(0, AFO_BAD_WRITE)) return false;
  mFile.Write(tag, kTagSize);
  mFile.WriteByteOrderMark();
  mFile.WriteInt16s(&version, 1);
  mFile.WriteInt32s(&mChecksum, 1);
  mFile.WriteInt16s(&mCollectionNumber, 1);
  mFile.WriteInt32s(&mStamp1, 1);
  mFile.WriteInt32s(&mStamp2, 1);
  mFile.WriteInt16s(&mSubfileCount, 1);
  mFile.WriteInt32s(mOffsets.Begin(), static_cast<uint32_t>(mOffsets.Count()));
  return mFile.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

void MMGenericResourceFile::PrepareTables() {
  Empty(mOffsets);
  if (mSubfileCount >= 0) mOffsets.Insert(0, mSubfileCount + 1, int32_t{-1});
}

bool MMGenericResourceFile::Reset(bool deleteFile, bool markBad) {
  Empty(mOffsets);
  if (mFile.IsOpen()) mFile.Close();
  if (deleteFile) UUDeleteFile(mDirectory, mName);
  mDirectory.Clear();
  mName[0] = '\0';
  if (markBad) mGood = false;
  mOpen = false;
  return mGood && mFile.GetError() == kUUNoError;
}

bool MMGenericResourceFile::WriteChecksum() {
  int32_t length = 0;
  mFile.Seek(0, kUUSeekFromEnd, &length);
  mFile.Seek(kChecksummedStart, kUUSeekFromStart, nullptr);
  if (mFile.GetError() != kUUNoError) return false;
  UUCrc32 crc;
  mChecksum = crc.UpdateFromReader(mFile, static_cast<uint32_t>(length - kChecksummedStart));
  mFile.Seek(kChecksumOffset, kUUSeekFromStart, nullptr);
  mFile.WriteInt32s(&mChecksum, 1);
  return mFile.GetError() == kUUNoError;
}

bool MMGenericResourceFile::Close(bool commit) {
  if (!mOpen) return true;
  if (mSubfilesWritten == -1 || !commit) return Reset(false, false);
  if (!WriteHeader()) {
    AFSetFailureWithoutError();
    Reset(true, true);
    return false;
  }
  if (!WriteChecksum()) return FailAndReset(AFO_BAD_WRITE, true);
  if (!mFile.Close()) return FailAndReset(AFO_BAD_CLOSE, true);
  return Reset(false, false);
}

bool MMGenericResourceFile::Create(const UUDirectory& directory, const char* name,
                                   const UUFileOptions& options, int16_t subfileCount,
                                   int16_t collectionNumber, UUByteOrder order) {
  mGood = true;
  mFile.SetError(kUUNoError);
  mDirectory.Assign(directory);
  UUCopyString(name, mName, kUUPathCapacity);
  mOptions = options;
  if (subfileCount < 0) return AFSetFailureWithoutError();
  if (!mFile.Open(directory, name, kUUFileCreate, options)) {
    return FailAndReset(AFO_BAD_OPEN_FOR_WRITE, true);
  }
  mFile.SetByteOrder(order);
  mChecksum = 0;
  mCollectionNumber = collectionNumber;
  mStamp1 = 0;
  mStamp2 = 0;
  mSubfilesWritten = 0;
  mOpen = true;
  mSubfileCount = subfileCount;
  mKeepNames = true;
  mFileLength = 0;
  PrepareTables();
  if (!WriteHeader()) {
    Reset(true, true);
    return false;
  }
  return true;
}

bool MMGenericResourceFile::ReopenForAppend() {
  if (!mFile.Open(mDirectory, mName, kUUFileOpenOrCreate, mOptions) ||
      !mFile.Seek(0, kUUSeekFromEnd, nullptr)) {
    return ReportError(AFO_BAD_OPEN_FOR_WRITE);
  }
  return true;
}

bool MMGenericResourceFile::RewriteHeader() {
  if (!WriteHeader()) return false;
  return mFile.Truncate() || ReportError(AFO_BAD_WRITE);
}

bool MMGenericResourceFile::CloseFile() { return mFile.Close() || ReportError(AFO_BAD_CLOSE); }

int32_t MMGenericResourceFile::GetSubfileOffset(int32_t i) const {
  return i >= 0 && i < mOffsets.Count() ? mOffsets[i] : 0;
}

// A damaged offset table gives no size at all rather than one that wraps.
int32_t MMGenericResourceFile::GetSubfileSize(int32_t i) const {
  int32_t offset = 0;
  int32_t size = 0;
  return GetSubfileRange(i, &offset, &size) ? size : 0;
}

bool MMGenericResourceFile::GetSubfileRange(int32_t i, int32_t* offset, int32_t* size) const {
  if (i < 0 || i + 1 >= mOffsets.Count()) return false;
  const int32_t first = mOffsets[i];
  const int32_t end = mOffsets[i + 1];
  if (first < 0 || end < first || end > mFileLength) return false;
  *offset = first;
  *size = end - first;
  return true;
}

bool MMGenericResourceFile::SetStamp1(uint32_t value) {
  if (!IsGood()) return false;
  mStamp1 = value;
  return true;
}

bool MMGenericResourceFile::SetStamp2(uint32_t value) {
  if (!IsGood()) return false;
  mStamp2 = value;
  return true;
}

bool MMGenericResourceFile::SetSubfileOffset(int32_t i, int32_t offset) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mOffsets.Count()) return AFSetFailureWithoutError();
  mOffsets[i] = offset;
  ++mSubfilesWritten;
  return true;
}

bool MMGenericResourceFile::RecordEndOffset() {
  if (!IsGood()) return false;
  int32_t position = 0;
  int32_t length = 0;
  mFile.Tell(&position);
  mFile.Seek(0, kUUSeekFromEnd, &length);
  mFile.Seek(position, kUUSeekFromStart, nullptr);
  if (mFile.GetError() != kUUNoError) return ReportError(AFO_BAD_SEEK);
  mOffsets[mSubfileCount] = length;
  return true;
}

bool MMGenericResourceFile::CanRead(int64_t n, int64_t recordSize) {
  int32_t position = 0;
  if (!mFile.Tell(&position)) return false;
  return n >= 0 && n * recordSize <= static_cast<int64_t>(mFileLength) - position;
}

bool MMGenericResourceFile::SeekTo(int32_t position, AFFileErrorOffset failure) {
  return mFile.Seek(position, kUUSeekFromStart, nullptr) || ReportError(failure);
}
