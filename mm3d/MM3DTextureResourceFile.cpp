#include "mm3d/MM3DTextureResourceFile.h"

#include <cstring>

namespace {

constexpr int32_t kSmallestSideLog2 = 3;

void EmptyTable(UUGrowableArray<uint8_t>& table) {
  table.EraseRange(0, table.Count());
  table.Compact();
}

int32_t Side(uint8_t flags, int32_t shift) {
  return 1 << (((flags >> shift) & MM3DTextureResourceFile::kSideMask) + kSmallestSideLog2);
}

// The number of halvings while the value is above 1, stored less 3 in
// three bits.
uint8_t SideBits(int32_t side) {
  int32_t log2 = 0;
  while (side > 1) {
    side >>= 1;
    ++log2;
  }
  return static_cast<uint8_t>((log2 - kSmallestSideLog2) & MM3DTextureResourceFile::kSideMask);
}

}  // namespace

MM3DTextureResourceFile::~MM3DTextureResourceFile() = default;

UUPoint MM3DTextureResourceFile::GetSize(int16_t i) const {
  if (i < 0 || i >= mFlags.Count()) return UUPoint{};
  return UUPoint{Side(mFlags[i], kWidthShift), Side(mFlags[i], kHeightShift)};
}

int32_t MM3DTextureResourceFile::GetPaletteCount(int16_t i) const {
  if (i < 0 || i >= mPaletteBytes.Count()) return 0;
  if (IsTrueColor(i) && mPaletteBytes[i] == 0) return 0;
  return mPaletteBytes[i] + 1;
}

int32_t MM3DTextureResourceFile::GetTexelDataSize(int16_t i) const {
  const UUPoint size = GetSize(i);
  const int32_t texels = size.mX * size.mY;
  if (IsTrueColor(i)) return texels * kTexelBytes;
  return GetPaletteCount(i) * kTexelBytes + texels;
}

void MM3DTextureResourceFile::EmptyTables() {
  EmptyTable(mFlags);
  EmptyTable(mPaletteBytes);
}

void MM3DTextureResourceFile::PrepareTables() {
  MMResourceFileWithNamedSubfiles::PrepareTables();
  const int32_t n = GetSubfileCount();
  if (n <= 0) return;
  mFlags.Insert(0, n, 0);
  mPaletteBytes.Insert(0, n, 0);
}

bool MM3DTextureResourceFile::Reset(bool deleteFile, bool markBad) {
  EmptyTables();
  return MMResourceFileWithNamedSubfiles::Reset(deleteFile, markBad);
}

bool MM3DTextureResourceFile::ReadHeader() {
  if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int16_t version = 0;
  if (!file.ReadInt16s(&version, 1)) return ReportError(AFO_BAD_READ);
  if (version != kExtensionVersion) return ReportError(AFO_BAD_VERSION_NUMBER);
  const uint32_t n = static_cast<uint32_t>(mFlags.Count());
  file.Read(mFlags.Begin(), n);
  file.Read(mPaletteBytes.Begin(), n);
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_READ);
}

bool MM3DTextureResourceFile::WriteHeader() {
  if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
  UURecoverableCDFile& file = GetFile();
  const int16_t version = kExtensionVersion;
  file.WriteInt16s(&version, 1);
  file.Write(mFlags.Begin(), static_cast<uint32_t>(mFlags.Count()));
  file.Write(mPaletteBytes.Begin(), static_cast<uint32_t>(mPaletteBytes.Count()));
  return file.GetError() == kUUNoError || ReportError(AFO_BAD_WRITE);
}

bool MM3DTextureResourceFile::SetFlagBits(int16_t i, uint8_t mask, uint8_t bits) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mFlags.Count()) return AFSetFailureWithoutError();
  mFlags[i] = static_cast<uint8_t>((mFlags[i] & ~mask) | (bits & mask));
  return true;
}

bool MM3DTextureResourceFile::SetAlpha(int16_t i, bool alpha) {
  return SetFlagBits(i, kAlpha, alpha ? kAlpha : 0);
}

bool MM3DTextureResourceFile::SetSize(int16_t i, int32_t width, int32_t height) {
  const auto bits =
      static_cast<uint8_t>(SideBits(width) << kWidthShift | SideBits(height) << kHeightShift);
  const auto mask = static_cast<uint8_t>(kSideMask << kWidthShift | kSideMask << kHeightShift);
  return SetFlagBits(i, mask, bits);
}

bool MM3DTextureResourceFile::SetFormat(int16_t i, bool trueColor, int32_t paletteCount) {
  if (!SetFlagBits(i, kTrueColor, trueColor ? kTrueColor : 0)) return false;
  mPaletteBytes[i] = static_cast<uint8_t>(trueColor ? 0 : paletteCount - 1);
  return true;
}

bool MM3DTextureResourceFile::WriteTexels(int16_t i, const char* name, const uint8_t* palette,
                                          const uint8_t* texels) {
  if (!IsGood()) return false;
  if (i < 0 || i >= mFlags.Count()) return AFSetFailureWithoutError();
  UURecoverableCDFile& file = GetFile();
  int32_t position = 0;
  if (!file.Seek(0, kUUSeekFromEnd, &position)) return ReportError(AFO_BAD_SEEK);
  const UUPoint size = GetSize(i);
  const uint32_t paletteBytes = static_cast<uint32_t>(GetPaletteCount(i) * kTexelBytes);
  const uint32_t texelBytes =
      static_cast<uint32_t>(size.mX * size.mY * (IsTrueColor(i) ? kTexelBytes : 1));
  if (!IsTrueColor(i)) file.Write(palette, paletteBytes);
  file.Write(texels, texelBytes);
  if (file.GetError() != kUUNoError) return ReportError(AFO_BAD_WRITE);
  return SetSubfileOffset(i, position) && SetSubfileName(i, name);
}
