#include "mm/resources/MMPictureResourceFile.h"

#include "foundation/uu/UUPackedIO.h"
#include "mm/drawing/MMPaletteOperations.h"

namespace {

constexpr int32_t kPaletteBytes = 1024;
constexpr int32_t kSubFormatShift = 2;

template <typename T>
void EmptyTable(UUGrowableArray<T>& table) {
  table.EraseRange(0, table.Count());
  table.Compact();
}

}  // namespace

MMPictureResourceFile::~MMPictureResourceFile() = default;

UUPoint MMPictureResourceFile::GetSize(int32_t i) const {
  return i >= 0 && i < mSizes.Count() ? mSizes[i] : UUPoint{};
}

int32_t MMPictureResourceFile::GetUnpackedSize(int32_t i) const {
  return i >= 0 && i < mUnpackedSizes.Count() ? mUnpackedSizes[i] : 0;
}

const MMPalette* MMPictureResourceFile::GetSharedPalette(int32_t k) const {
  return k >= 0 && k < mPalettes.Count() ? &mPalettes[k] : nullptr;
}

void MMPictureResourceFile::EmptyTables() {
  EmptyTable(mOptions);
  EmptyTable(mFormats);
  EmptyTable(mSizes);
  EmptyTable(mUnpackedSizes);
  EmptyTable(mSelectors);
  EmptyTable(mPalettes);
}

void MMPictureResourceFile::PrepareTables() {
  MMResourceFileWithNamedSubfiles::PrepareTables();
  EmptyTables();
  const int32_t n = GetSubfileCount();
  if (n <= 0) return;
  if (KeepsNames()) mOptions.Insert(0, n, 0);
  mFormats.Insert(0, n, 0);
  mSizes.Insert(0, n, UUPoint{});
  mUnpackedSizes.Insert(0, n, 0);
  mSelectors.Insert(0, n, 0);
}

bool MMPictureResourceFile::Reset(bool deleteFile, bool markBad) {
  EmptyTables();
  return MMResourceFileWithNamedSubfiles::Reset(deleteFile, markBad);
}

bool MMPictureResourceFile::ReadSharedPalettes() {
  UURecoverableCDFile& file = GetFile();
  int16_t count = 0;
  if (!file.ReadInt16s(&count, 1)) return false;
  if (count <= 0) return true;
  // Each palette must exist in the file before room is made for it.
  if (!CanRead(count, kPaletteBytes)) {
    file.SetError(kUUErrorShortRead);
    return false;
  }
  mPalettes.Insert(0, count, MMPalette{});
  for (int32_t k = 0; k < count; ++k) MMReadPalette(file, mPalettes[k]);
  return file.GetError() == kUUNoError;
}

bool MMPictureResourceFile::ReadHeader() {
  if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kPictureVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  const uint32_t n = static_cast<uint32_t>(GetSubfileCount());
  if (KeepsNames()) {
    file.Read(mOptions.Begin(), n);
  } else {
    file.Skip(n);
  }
  file.Read(mFormats.Begin(), n);
  UUReadPackedPoints(file, mSizes.Begin(), n);
  file.ReadInt32s(mUnpackedSizes.Begin(), n);
  file.Read(mSelectors.Begin(), n);
  if (file.GetError() != kUUNoError || !ReadSharedPalettes()) return ReportError(AFO_BAD_READ);
  return true;
}

bool MMPictureResourceFile::WriteHeader() {
  if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kPictureVersion;
  const uint32_t n = static_cast<uint32_t>(mFormats.Count());
  const int16_t paletteCount = GetSharedPaletteCount();
  file.WriteInt16s(&version, 1);
  // A file made by the writer always keeps its option bytes.
  file.Write(mOptions.Begin(), static_cast<uint32_t>(mOptions.Count()));
  file.Write(mFormats.Begin(), n);
  UUWritePackedPoints(file, mSizes.Begin(), n);
  file.WriteInt32s(mUnpackedSizes.Begin(), n);
  file.Write(mSelectors.Begin(), n);
  file.WriteInt16s(&paletteCount, 1);
  for (int32_t k = 0; k < paletteCount; ++k) MMWritePalette(file, mPalettes[k]);
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

bool MMPictureResourceFile::SetBits(UUGrowableArray<uint8_t>& table, int32_t i, uint8_t mask,
                                    uint8_t bits) {
  if (i < 0 || i >= table.Count()) return AFSetFailureWithoutError();
  table[i] = static_cast<uint8_t>((table[i] & ~mask) | (bits & mask));
  return true;
}

bool MMPictureResourceFile::SetFormatBits(int32_t i, uint8_t mask, uint8_t bits) {
  return IsGood() && SetBits(mFormats, i, mask, bits);
}

bool MMPictureResourceFile::SetOptionFlag(int32_t i, int32_t bit, bool on) {
  const auto mask = static_cast<uint8_t>(1u << bit);
  return IsGood() && SetBits(mOptions, i, mask, on ? mask : 0);
}

bool MMPictureResourceFile::SetOptionField(int32_t i, int32_t value) {
  return IsGood() &&
         SetBits(mOptions, i, kOptionFieldMask, static_cast<uint8_t>(value << kOptionFieldShift));
}

bool MMPictureResourceFile::SetEightBit(int32_t i, bool eightBit) {
  return SetFormatBits(i, kEightBit, eightBit ? kEightBit : 0);
}

bool MMPictureResourceFile::SetSubFormat(int32_t i, int32_t subFormat) {
  return SetFormatBits(i, kSubFormatMask, static_cast<uint8_t>(subFormat << kSubFormatShift));
}

bool MMPictureResourceFile::SetEncoded(int32_t i, bool encoded) {
  return SetFormatBits(i, kEncoded, encoded ? kEncoded : 0);
}

bool MMPictureResourceFile::SetSize(int32_t i, int32_t width, int32_t height) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mSizes.Count()) return AFSetFailureWithoutError();
  mSizes[i] = UUPoint{width, height};
  return true;
}

bool MMPictureResourceFile::SetUnpackedSize(int32_t i, int32_t size) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mUnpackedSizes.Count()) return AFSetFailureWithoutError();
  mUnpackedSizes[i] = size;
  return true;
}

bool MMPictureResourceFile::SetPaletteSelector(int32_t i, int32_t kind, int32_t index) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mSelectors.Count()) return AFSetFailureWithoutError();
  mSelectors[i] = static_cast<uint8_t>(kind < 2 ? kind : index + 2);
  return true;
}

bool MMPictureResourceFile::SetOptions(int32_t i, uint8_t options) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mOptions.Count()) return AFSetFailureWithoutError();
  mOptions[i] = options;
  return true;
}

bool MMPictureResourceFile::SetSharedPaletteCount(int16_t count) {
  if (!IsGood()) return false;
  if (count > 0) mPalettes.Insert(mPalettes.Count(), count, MMPalette{});
  return true;
}

bool MMPictureResourceFile::SetSharedPalette(int32_t k, const MMPalette& palette) {
  if (!IsGood()) return false;
  if (k < 0 || k >= mPalettes.Count()) return AFSetFailureWithoutError();
  mPalettes[k] = palette;
  return true;
}
