// Files and directories by name: attributes, creation, removal, renaming
// and directory searches with the Win32 wildcard rules.

#include "platform/win32/CodePage.h"
#include "platform/win32/ErrnoMapping.h"
#include "platform/win32/FileSteps.h"
#include "platform/win32/KernelObject.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

using namespace vpl::platform;

namespace {

// Seconds between 1601-01-01 and 1970-01-01, the two epochs.
constexpr int64_t kEpochDifference = 11644473600;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string ParentOf(const std::string& hostPath) {
  const size_t slash = hostPath.rfind('/');
  return slash == 0 || slash == std::string::npos ? std::string("/") : hostPath.substr(0, slash);
}

bool IsHostDirectory(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The Windows code for the errno of a failed call on hostPath: a missing
// name tells a missing file from a missing directory on the way.
DWORD ErrorOfErrno(int error, const std::string& hostPath) {
  switch (error) {
    case ENOENT:
      return IsHostDirectory(ParentOf(hostPath)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERROR_PATH_NOT_FOUND;
    case EISDIR:
    case EBUSY:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    default:
      return Win32ErrorFromErrno(error);
  }
}

BOOL FailWithErrno(const std::string& hostPath) {
  SetLastError(ErrorOfErrno(errno, hostPath));
  return FALSE;
}

// The host path, or empty with ERROR_PATH_NOT_FOUND.
std::string MapOrFail(LPCSTR path) {
  std::string host = ToHostPath(path);
  if (host.empty()) SetLastError(ERROR_PATH_NOT_FOUND);
  return host;
}

// Host times outside what a FILETIME counts (some file systems keep any
// 64-bit time) are pinned to its first or last tick.
FILETIME FileTimeOf(const timespec& time) {
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kLastSecond = INT64_MAX / kTicksPerSecond - 1;
  int64_t ticks = 0;
  if (time.tv_sec >= -kEpochDifference) {
    const int64_t seconds =
        time.tv_sec > kLastSecond - kEpochDifference ? kLastSecond : time.tv_sec + kEpochDifference;
    ticks = seconds * kTicksPerSecond + time.tv_nsec / 100;
  }
  return FILETIME{static_cast<DWORD>(ticks),
                  static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
}

DWORD AttributesOf(const std::string& hostPath, const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return access(hostPath.c_str(), W_OK) == 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

// ---- Wildcards ----

bool MatchesFrom(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    pattern.remove_prefix(pattern.find_first_not_of('*') == std::string_view::npos
                              ? pattern.size() - 1
                              : pattern.find_first_not_of('*') - 1);
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (MatchesFrom(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  const bool same = pattern[0] == '?' || Cp1252ToUpper(static_cast<unsigned char>(pattern[0])) ==
                                             Cp1252ToUpper(static_cast<unsigned char>(name[0]));
  return same && MatchesFrom(pattern.substr(1), name.substr(1));
}

// A pattern ending in ".*" also matches the names that have no dot.
bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (MatchesFrom(pattern, name)) return true;
  const bool endsInDotStar = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
  return endsInDotStar && name.find('.') == std::string_view::npos &&
         MatchesFrom(pattern.substr(0, pattern.size() - 2), name);
}

// ---- Searches ----

class FileSearch final : public KernelObject {
 public:
  bool IsSignaled() const override { return false; }
  std::vector<WIN32_FIND_DATAA> mEntries;
  size_t mNext = 0;
};

bool FillFindData(const std::string& hostPath, const std::string& ansiName,
                  WIN32_FIND_DATAA& data) {
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0 || ansiName.size() >= MAX_PATH) return false;
  data = WIN32_FIND_DATAA{};
  data.dwFileAttributes = AttributesOf(hostPath, info);
  data.ftCreationTime = FileTimeOf(info.st_ctim);
  data.ftLastAccessTime = FileTimeOf(info.st_atim);
  data.ftLastWriteTime = FileTimeOf(info.st_mtim);
  if (!S_ISDIR(info.st_mode)) {
    const auto size = static_cast<uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
  }
  std::memcpy(data.cFileName, ansiName.c_str(), ansiName.size() + 1);
  return true;
}

std::vector<std::string> HostNamesIn(const std::string& hostDirectory) {
  std::vector<std::string> names;
  DIR* dir = opendir(hostDirectory.c_str());
  if (dir == nullptr) return names;
  const bool isRoot = hostDirectory == "/";
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (isRoot && (name == "." || name == "..")) continue;
    names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The entries of a pattern with wildcards in its last component.
std::vector<WIN32_FIND_DATAA> SearchDirectory(std::string_view directory,
                                              std::string_view namePattern) {
  std::vector<WIN32_FIND_DATAA> entries;
  const std::string hostDirectory = ToHostPath(std::string(directory).c_str());
  if (hostDirectory.empty()) return entries;
  const std::string prefix = hostDirectory == "/" ? "/" : hostDirectory + "/";
  for (const std::string& hostName : HostNamesIn(hostDirectory)) {
    const std::string ansiName = Utf8ToCp1252(hostName);
    WIN32_FIND_DATAA data;
    if (MatchesWildcard(namePattern, ansiName) && FillFindData(prefix + hostName, ansiName, data)) {
      entries.push_back(data);
    }
  }
  return entries;
}

// The one entry a pattern without wildcards names.
std::vector<WIN32_FIND_DATAA> SearchName(LPCSTR path) {
  std::vector<WIN32_FIND_DATAA> entries;
  const std::string host = ToHostPath(path);
  WIN32_FIND_DATAA data;
  if (!host.empty() && host != "/") {
    const std::string hostName = host.substr(host.rfind('/') + 1);
    if (FillFindData(host, Utf8ToCp1252(hostName), data)) entries.push_back(data);
  }
  return entries;
}

BOOL NextEntry(FileSearch& search, LPWIN32_FIND_DATAA data) {
  if (search.mNext >= search.mEntries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *data = search.mEntries[search.mNext++];
  return TRUE;
}

// Without replacing, the kernel refuses a taken name in the same step as
// the rename, so two movers can never both take one name.
bool RenameHost(const std::string& from, const std::string& to, bool replace) {
  if (replace) return rename(from.c_str(), to.c_str()) == 0;
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

std::string FolderOf(const std::string& hostPath) {
  const size_t slash = hostPath.find_last_of('/');
  return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

bool FlushFolder(const std::string& folder) {
  const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return false;
  const bool flushed = fsync(descriptor) == 0;
  close(descriptor);
  return flushed;
}

// A rename is on the disk once the folders that name the file are.
bool FlushFoldersOf(const std::string& from, const std::string& to) {
  const std::string fromFolder = FolderOf(from);
  const std::string toFolder = FolderOf(to);
  return FlushFolder(toFolder) && (fromFolder == toFolder || FlushFolder(fromFolder));
}

}  // namespace

DWORD GetFileAttributesA(LPCSTR path) {
  const std::string host = MapOrFail(path);
  if (host.empty()) return INVALID_FILE_ATTRIBUTES;
  struct stat info;
  if (stat(host.c_str(), &info) != 0) {
    FailWithErrno(host);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(host, info);
}

BOOL CreateDirectoryA(LPCSTR path, void*) {
  FileSystemStep();
  const std::string host = MapOrFail(path);
  if (host.empty()) return FALSE;
  if (mkdir(host.c_str(), 0777) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorOfErrno(errno, host));
    return FALSE;
  }
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR path) {
  FileSystemStep();
  const std::string host = MapOrFail(path);
  if (host.empty()) return FALSE;
  return rmdir(host.c_str()) == 0 ? TRUE : FailWithErrno(host);
}

BOOL DeleteFileA(LPCSTR path) {
  FileSystemStep();
  const std::string host = MapOrFail(path);
  if (host.empty()) return FALSE;
  return unlink(host.c_str()) == 0 ? TRUE : FailWithErrno(host);
}

BOOL MoveFileA(LPCSTR from, LPCSTR to) { return MoveFileExA(from, to, 0); }

std::FILE* _fsopen(const char* path, const char* mode, int) {
  const std::string host = MapOrFail(path);
  if (host.empty() || mode == nullptr) return nullptr;
  return std::fopen(host.c_str(), mode);
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if ((flags & ~(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FileSystemStep();
  const std::string hostFrom = MapOrFail(from);
  const std::string hostTo = hostFrom.empty() ? std::string() : MapOrFail(to);
  if (hostTo.empty()) return FALSE;
  const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  if (!RenameHost(hostFrom, hostTo, replace)) {
    if (errno == EEXIST || errno == ENOTEMPTY) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    return FailWithErrno(hostFrom);
  }
  if ((flags & MOVEFILE_WRITE_THROUGH) == 0) return TRUE;
  return FlushFoldersOf(hostFrom, hostTo) ? TRUE : FailWithErrno(hostTo);
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (pattern == nullptr || data == nullptr || *pattern == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string_view text(pattern);
  size_t cut = text.size();
  while (cut > 0 && !IsSeparator(text[cut - 1])) --cut;
  const std::string_view name = text.substr(cut);
  auto search = std::make_shared<FileSearch>();
  if (name.find_first_of("*?") == std::string_view::npos) {
    search->mEntries = SearchName(pattern);
  } else {
    const std::string_view directory = cut > 0 ? text.substr(0, cut) : std::string_view(".");
    search->mEntries = SearchDirectory(directory, name);
  }
  if (search->mEntries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  NextEntry(*search, data);
  return RegisterHandle(std::move(search));
}

BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data) {
  auto object = LookUpHandleAs<FileSearch>(search);
  if (object == nullptr || data == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return NextEntry(*object, data);
}

BOOL FindClose(HANDLE search) {
  if (LookUpHandleAs<FileSearch>(search) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(search);
}

BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* dosDate, WORD* dosTime) {
  if (time == nullptr || dosDate == nullptr || dosTime == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint64_t ticks = (uint64_t{time->dwHighDateTime} << 32) | time->dwLowDateTime;
  const auto seconds =
      static_cast<time_t>(static_cast<int64_t>(ticks / 10000000) - kEpochDifference);
  tm parts;
  if (gmtime_r(&seconds, &parts) == nullptr || parts.tm_year < 80 || parts.tm_year > 207) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *dosDate =
      static_cast<WORD>(((parts.tm_year - 80) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
  *dosTime = static_cast<WORD>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
  return TRUE;
}
