#include "app/shell/VPLSafeFile.h"

#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/kernel.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// Each writer of the process takes its own temporary name; the process id
// keeps two running programs apart.
constexpr char kTemporaryPrefix[] = ".saving ";

void MakeTemporaryName(char* name) {
  static std::atomic<uint32_t> next{0};
  std::snprintf(name, kUUPathCapacity, "%s%d %u", kTemporaryPrefix, static_cast<int>(getpid()),
                next++);
}

// Moves past one or more decimal digits; null when there are none.
const char* SkipNumber(const char* text) {
  const char* end = text;
  while (*end >= '0' && *end <= '9') ++end;
  return end == text ? nullptr : end;
}

bool Exists(const UUDirectory& directory, const char* name) {
  char path[kUUPathCapacity];
  return UUMakeFilePath(path, directory, name) &&
         GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool VPLSafeFile::IsTemporaryName(const char* name) {
  if (std::strncmp(name, kTemporaryPrefix, sizeof kTemporaryPrefix - 1) != 0) return false;
  const char* process = SkipNumber(name + sizeof kTemporaryPrefix - 1);
  if (process == nullptr || *process != ' ') return false;
  const char* number = SkipNumber(process + 1);
  return number != nullptr && *number == '\0';
}

bool VPLNumberedName(const char* word, int32_t n, char* name) {
  const int length = std::snprintf(name, kUUPathCapacity, "%s %d", word, n);
  return length > 0 && length < kUUPathCapacity;
}

int32_t VPLFirstFreeNumber(const UUDirectory& directory, const char* word, int32_t first,
                           char* name) {
  for (int32_t n = first; n > 0 && n < INT32_MAX; ++n) {
    if (!VPLNumberedName(word, n, name)) return 0;
    if (!Exists(directory, name)) return n;
  }
  return 0;
}

VPLSafeFile::VPLSafeFile(const UUDirectory& directory) {
  mDirectory.Assign(directory);
  MakeTemporaryName(mName);
  mFile.Open(mDirectory, mName, kUUFileCreate, UUFileOptions{});
}

VPLSafeFile::~VPLSafeFile() {
  if (mFile.IsOpen()) mFile.Close();
  if (!mNamed) UUDeleteFile(mDirectory, mName);
}

bool VPLSafeFile::Finish() {
  const bool flushed = mFile.IsOpen() && mFile.FlushToDisk();
  return mFile.IsOpen() && mFile.Close() && flushed;
}

bool VPLSafeFile::MoveTo(const char* name, DWORD flags) {
  char from[kUUPathCapacity];
  char to[kUUPathCapacity];
  if (!UUMakeFilePath(from, mDirectory, mName) || !UUMakeFilePath(to, mDirectory, name)) {
    return false;
  }
  mNamed = MoveFileExA(from, to, flags | MOVEFILE_WRITE_THROUGH) != FALSE;
  return mNamed;
}

bool VPLSafeFile::Replace(const char* name) {
  return Finish() && MoveTo(name, MOVEFILE_REPLACE_EXISTING);
}

bool VPLSafeFile::TakeFreeName(const char* word, char* name) {
  if (!Finish()) return false;
  for (int32_t n = VPLFirstFreeNumber(mDirectory, word, 1, name); n > 0;
       n = VPLFirstFreeNumber(mDirectory, word, n + 1, name)) {
    if (MoveTo(name, 0)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}
