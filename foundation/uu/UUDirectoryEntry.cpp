#include "foundation/uu/UUDirectoryEntry.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/VPLFormatName.h"
#include "platform/win32/kernel.h"

#include <cstring>

namespace {

void FillEntry(const WIN32_FIND_DATAA& data, UUDirectoryEntry& entry) {
  UUCopyString(data.cFileName, entry.mName, kUUPathCapacity);
  entry.mIsFile = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  entry.mSize = -1;
  entry.mModified = 0;
  if (!entry.mIsFile) return;
  entry.mSize = static_cast<int32_t>(data.nFileSizeLow);
  WORD date = 0;
  WORD time = 0;
  if (FileTimeToDosDateTime(&data.ftLastWriteTime, &date, &time)) {
    entry.mModified = static_cast<uint32_t>(date) << 16 | time;
  }
}

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

bool UUForEachDirectoryEntry(const UUDirectory& directory, UUDirectoryEntryProcessor& processor) {
  char pattern[kUUPathCapacity];
  if (!UUDirectoryExists(directory) || !VPLFormatName(pattern, "%s*.*", directory.Text()))
    return false;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool going = true;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    UUDirectoryEntry entry;
    FillEntry(data, entry);
    going = processor.ProcessEntry(entry);
  } while (going && FindNextFileA(search, &data));
  FindClose(search);
  return going;
}
