// Well-known directories, the current directory, full and short path
// names, and the one drive the host offers.

#include "platform/win32/CodePage.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/UserConfig.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace vpl::platform;

namespace {

// The usual answer of the directory queries: the length without the
// terminator, or the size needed with it when the buffer is too small.
DWORD AnswerText(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

std::string WithTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

bool MakeDirectories(const std::string& hostPath) {
  for (size_t slash = hostPath.find('/', 1);; slash = hostPath.find('/', slash + 1)) {
    const std::string prefix = hostPath.substr(0, slash);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// The program file tests put in a folder of their own; empty: the running
// program's own.
std::string gModuleFileOverride;

std::string ModuleHostPath() {
  if (!gModuleFileOverride.empty()) return gModuleFileOverride;
  char host[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", host, sizeof host - 1);
  return length > 0 ? std::string(host, static_cast<size_t>(length)) : std::string();
}

bool IsDriveC(LPCSTR root) {
  return root == nullptr || ((root[0] == 'C' || root[0] == 'c') && root[1] == ':' &&
                             (root[2] == '\0' || (root[2] == '\\' && root[3] == '\0')));
}

}  // namespace

namespace vpl::platform {

std::string UserConfigDirectory() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else if (home != nullptr && home[0] == '/') {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  const std::string directory = base + "/vpl3d";
  return MakeDirectories(directory) ? directory : std::string();
}

void SetModuleFilePath(const std::string& hostPath) { gModuleFileOverride = hostPath; }

}  // namespace vpl::platform

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size) {
  const std::string host = ModuleHostPath();
  if (host.empty() || buffer == nullptr || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string path = ToWindowsPath(host);
  if (path.size() >= size) {
    std::memcpy(buffer, path.c_str(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart) {
  const std::string host = ToHostPath(path);
  if (host.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  const std::string full = ToWindowsPath(host);
  const DWORD answer = AnswerText(full, buffer, size);
  if (filePart != nullptr && answer == full.size()) {
    const size_t last = full.rfind('\\') + 1;
    *filePart = last < full.size() ? buffer + last : nullptr;
  }
  return answer;
}

DWORD GetHostPathNameA(LPCSTR path, DWORD size, LPSTR buffer) {
  const std::string host = ToHostPath(path);
  if (host.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  return AnswerText(Utf8ToCp1252(host), buffer, size);
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  const std::string host = ToHostPath(longPath);
  struct stat info;
  if (host.empty() || stat(host.c_str(), &info) != 0) {
    SetLastError(host.empty() ? ERROR_INVALID_NAME : ERROR_FILE_NOT_FOUND);
    return 0;
  }
  return AnswerText(longPath, shortPath, size);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string host = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
  return AnswerText(WithTrailingBackslash(ToWindowsPath(host)), buffer, size);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  const std::string host = UserConfigDirectory();
  if (host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return AnswerText(WithTrailingBackslash(ToWindowsPath(host)), buffer, size);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  char host[PATH_MAX];
  if (getcwd(host, sizeof host) == nullptr) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return AnswerText(ToWindowsPath(host), buffer, size);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  const std::string host = ToHostPath(path);
  if (host.empty() || chdir(host.c_str()) != 0) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

UINT GetDriveTypeA(LPCSTR root) { return IsDriveC(root) ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR; }

DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer) {
  static constexpr char kDrives[] = "C:\\\0";
  if (buffer == nullptr || size < sizeof kDrives) return sizeof kDrives;
  std::memcpy(buffer, kDrives, sizeof kDrives);
  return sizeof kDrives - 1;
}

BOOL GetVolumeInformationA(LPCSTR root, LPSTR label, DWORD labelSize, LPDWORD serial,
                           LPDWORD maxComponentLength, LPDWORD flags, LPSTR fileSystem,
                           DWORD fileSystemSize) {
  struct statvfs info;
  if (root == nullptr || !IsDriveC(root) || statvfs("/", &info) != 0) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  static constexpr char kFileSystem[] = "POSIX";
  if ((label != nullptr && labelSize < 1) ||
      (fileSystem != nullptr && fileSystemSize < sizeof kFileSystem)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (label != nullptr) label[0] = '\0';
  if (fileSystem != nullptr) std::memcpy(fileSystem, kFileSystem, sizeof kFileSystem);
  if (serial != nullptr) *serial = static_cast<DWORD>(info.f_fsid);
  if (maxComponentLength != nullptr) *maxComponentLength = static_cast<DWORD>(info.f_namemax);
  if (flags != nullptr) *flags = FS_CASE_IS_PRESERVED;
  return TRUE;
}
