#include "foundation/uu/UUVersionInfo.h"

#include "foundation/uu/UUArrayBlock.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "platform/win32/version.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

UUVersionInfo::UUVersionInfo(const UUDirectory& directory, const char* fileName,
                             ALAllocator* allocator) {
  char path[kUUPathCapacity];
  if (!UUMakeFilePath(path, directory, fileName)) return;
  const DWORD size = GetFileVersionInfoSizeA(path, &mHandle);
  if (size == 0) return;
  mData = UUAllocateArrayBlock(size, allocator, kALMayFail);
  if (mData == nullptr || !GetFileVersionInfoA(path, mHandle, size, mData)) return;
  ReadTranslation();
}

UUVersionInfo::~UUVersionInfo() { UUFreeArrayBlock(mData); }

void UUVersionInfo::ReadTranslation() {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(mData, "\\VarFileInfo\\Translation", &value, &length) || length != 4) return;
  // A little-endian language word, then a little-endian code-page word.
  const auto* bytes = static_cast<const uint8_t*>(value);
  std::snprintf(mTranslation, sizeof mTranslation, "%02X%02X%02X%02X", bytes[1], bytes[0], bytes[3],
                bytes[2]);
  mValid = true;
}

bool UUVersionInfo::Query(const char* key, char* text) const {
  char path[kUUStringCapacity];
  void* value = nullptr;
  UINT length = 0;
  text[0] = '\0';
  if (!mValid || !UUFormatString(path, "\\StringFileInfo\\%s\\%s", mTranslation, key) ||
      !VerQueryValueA(mData, path, &value, &length)) {
    return false;
  }
  // The value's own length bounds the text, terminated or not.
  char bounded[kUUStringCapacity];
  const size_t taken =
      strnlen(static_cast<const char*>(value), std::min<size_t>(length, kUUStringCapacity - 1));
  std::memcpy(bounded, value, taken);
  bounded[taken] = '\0';
  UUCopyString(bounded, text, kUUStringCapacity);
  return true;
}

namespace {

bool QueryProgramVersion(const char* key, char* text) {
  UUDirectory directory;
  char name[kUUPathCapacity];
  UUGetModulePath(directory, name);
  const UUVersionInfo info(directory, name, nullptr);
  return info.Query(key, text);
}

}  // namespace

bool UUGetFileVersionText(char* text) { return QueryProgramVersion("FileVersion", text); }

bool UUGetVersionDescription(char* text) { return QueryProgramVersion("VersionDescription", text); }

bool UUGetVersionComments(char* text) { return QueryProgramVersion("Comments", text); }
