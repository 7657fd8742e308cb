#include "media/sound/MMSoundResourceFile.h"

namespace {

// The flag bytes and both size tables of one sound.
constexpr int64_t kTableBytesPerSound = 10;

}  // namespace

MMSoundResourceFile::~MMSoundResourceFile() = default;

bool MMSoundResourceFile::ReadHeader() {
  if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kTableVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  const int32_t n = GetSubfileCount();
  if (!CanRead(n, kTableBytesPerSound)) {
    file.SetError(kUUErrorShortRead);
    return ReportError(AFO_BAD_READ);
  }
  if (!ReadSoundTables(file, n)) return ReportError(AFO_BAD_READ);
  if (!HasConsistentSizes()) return ReportError(AFO_BAD_HEADER);
  return true;
}

bool MMSoundResourceFile::WriteHeader() {
  if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kTableVersion;
  file.WriteInt16s(&version, 1);
  return WriteSoundTables(file, GetSubfileCount()) || ReportError(AFO_BAD_WRITE);
}

void MMSoundResourceFile::PrepareTables() {
  MMResourceFileWithNamedSubfiles::PrepareTables();
  PrepareSoundTables(GetSubfileCount());
}

bool MMSoundResourceFile::Reset(bool deleteFile, bool markBad) {
  EmptySoundTables();
  return MMResourceFileWithNamedSubfiles::Reset(deleteFile, markBad);
}
