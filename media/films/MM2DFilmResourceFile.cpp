#include "media/films/MM2DFilmResourceFile.h"

MM2DFilmResourceFile::~MM2DFilmResourceFile() = default;

bool MM2DFilmResourceFile::ReadHeader() {
  if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kTableVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  const int32_t n = GetSubfileCount();
  if (!CanRead(n, kTableBytesPerFilm) || !ReadFilmArrays(file, n)) {
    return ReportError(AFO_BAD_READ);
  }
  int16_t paletteCount = 0;
  file.ReadInt16s(&paletteCount, 1);
  if (paletteCount < 0 || !CanRead(paletteCount, kPaletteBytes)) {
    file.SetError(kUUErrorShortRead);
    return ReportError(AFO_BAD_READ);
  }
  if (!ReadPalettes(file, paletteCount)) return ReportError(AFO_BAD_READ);
  return true;
}

bool MM2DFilmResourceFile::WriteHeader() {
  if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kTableVersion;
  file.WriteInt16s(&version, 1);
  return WriteFilmTables(file, GetSubfileCount()) || ReportError(AFO_BAD_WRITE);
}

void MM2DFilmResourceFile::PrepareTables() {
  MMResourceFileWithNamedSubfiles::PrepareTables();
  PrepareFilmTables(GetSubfileCount());
}

bool MM2DFilmResourceFile::Reset(bool deleteFile, bool markBad) {
  EmptyFilmTables();
  return MMResourceFileWithNamedSubfiles::Reset(deleteFile, markBad);
}
