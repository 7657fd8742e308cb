#include "app/shell/JPEGImporter.h"

#include "app/shell/CDib.h"

#include <cstring>

CDib* JPEGImporter::Import(const UUDirectory&, const char*) { return nullptr; }

JPEGtoCDibImporter::~JPEGtoCDibImporter() {
  if (mBlock != nullptr) {
    GlobalUnlock(mBlock);
    GlobalFree(mBlock);
  }
}

bool JPEGtoCDibImporter::BeginImage(int32_t width, int32_t height) {
  constexpr int32_t kMaxSide = 32767;
  if (mBlock != nullptr || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
    return false;
  }
  mRowBytes = CDibRowBytes(width, 24);
  const size_t bytes = kCDibHeaderBytes + mRowBytes * static_cast<size_t>(height);
  mBlock = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (mBlock == nullptr) return false;
  auto* block = static_cast<unsigned char*>(GlobalLock(mBlock));
  std::memset(block, 0, bytes);
  BITMAPINFOHEADER header{};
  header.biSize = kCDibHeaderBytes;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  std::memcpy(block, &header, sizeof header);
  mRows = block + kCDibHeaderBytes;
  mWidth = width;
  mHeight = height;
  return true;
}

bool JPEGtoCDibImporter::WriteRow(int32_t index, const unsigned char* row) {
  if (mRows == nullptr || row == nullptr || index < 0 || index >= mHeight) return false;
  std::memcpy(mRows + static_cast<size_t>(mHeight - 1 - index) * mRowBytes, row,
              static_cast<size_t>(mWidth) * 3);
  return true;
}
