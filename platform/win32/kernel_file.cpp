// File handles over POSIX file descriptors.

#include "platform/win32/ErrnoMapping.h"
#include "platform/win32/FileSharing.h"
#include "platform/win32/FileSteps.h"
#include "platform/win32/KernelObject.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/testhooks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

namespace vpl::platform {
namespace {

// The handle keeps its own position and reads and writes at it with pread
// and pwrite, so that moving or asking the position costs no system call.
class File final : public KernelObject {
 public:
  explicit File(int descriptor) : mDescriptor(descriptor) {}
  ~File() override { close(mDescriptor); }
  bool IsSignaled() const override { return false; }
  int Descriptor() const { return mDescriptor; }
  FileShare& Share() { return mShare; }
  // Held while the position is read, used and moved.
  std::mutex& PositionLock() { return mPositionLock; }
  off_t& Position() { return mPosition; }

 private:
  int mDescriptor;
  FileShare mShare;
  std::mutex mPositionLock;
  off_t mPosition = 0;
};

// Reads of one file (by device and inode) that a test makes fail.
struct FailingReads {
  std::mutex mutex;
  dev_t device = 0;
  ino_t inode = 0;
  DWORD error = 0;
  int count = 0;  // reads still to fail; negative: every read
};

FailingReads& TheFailingReads() {
  static FailingReads failing;
  return failing;
}

// The error this read must fail with, or 0.
DWORD InjectedReadError(int descriptor) {
  FailingReads& failing = TheFailingReads();
  std::lock_guard lock(failing.mutex);
  if (failing.count == 0) return 0;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || status.st_dev != failing.device ||
      status.st_ino != failing.inode) {
    return 0;
  }
  if (failing.count > 0) --failing.count;
  return failing.error;
}

// The flags of the open itself: a file is emptied only once its share
// modes allow the open.
int OpenFlags(DWORD access, DWORD disposition) {
  const bool reads = (access & GENERIC_READ) != 0;
  const bool writes = (access & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
  switch (disposition) {
    case CREATE_NEW:
      return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
      return flags | O_CREAT;
    case OPEN_EXISTING:
      return flags;
    case OPEN_ALWAYS:
      return flags | O_CREAT;
    case TRUNCATE_EXISTING:
      return flags;
    default:
      return -1;
  }
}

bool ParentExists(const std::string& hostPath) {
  const size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return true;
  struct stat status {};
  return stat(hostPath.substr(0, slash).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

std::shared_ptr<File> FileOf(HANDLE handle) {
  auto file = LookUpHandleAs<File>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

}  // namespace

void FailReadsOfFile(const std::string& hostPath, uint32_t error, int count) {
  FailingReads& failing = TheFailingReads();
  struct stat status {};
  const bool found = stat(hostPath.c_str(), &status) == 0;
  std::lock_guard lock(failing.mutex);
  failing.device = status.st_dev;
  failing.inode = status.st_ino;
  failing.error = error;
  failing.count = found ? count : 0;
}

}  // namespace vpl::platform

using namespace vpl::platform;

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void*, DWORD disposition, DWORD,
                   HANDLE) {
  FileSystemStep();
  const std::string hostPath = ToHostPath(path);
  if (hostPath.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  const int flags = OpenFlags(access, disposition);
  if (flags < 0) return Fail(ERROR_INVALID_PARAMETER);
  int descriptor;
  do {
    descriptor = open(hostPath.c_str(), flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    if (errno == ENOENT && !ParentExists(hostPath)) return Fail(ERROR_PATH_NOT_FOUND);
    return Fail(Win32ErrorFromErrno(errno));
  }
  auto file = std::make_shared<File>(descriptor);
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (const DWORD refused = file->Share().Take(descriptor, access, shareMode)) return Fail(refused);
  const bool empties = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  if (empties && ftruncate(descriptor, 0) != 0) return Fail(Win32ErrorFromErrno(errno));
  return RegisterHandle(std::move(file));
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD n, LPDWORD read, void*) {
  if (read) *read = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (DWORD injected = InjectedReadError(file->Descriptor())) {
    SetLastError(injected);
    return FALSE;
  }
  std::lock_guard lock(file->PositionLock());
  DWORD total = 0;
  BOOL answer = TRUE;
  while (total < n) {
    const ssize_t got = pread(file->Descriptor(), static_cast<char*>(buffer) + total, n - total,
                              file->Position() + total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      SetLastErrorFromErrno();
      answer = FALSE;
      break;
    }
    if (got == 0) break;
    total += static_cast<DWORD>(got);
  }
  file->Position() += total;
  if (read) *read = total;
  return answer;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD n, LPDWORD written, void*) {
  FileSystemStep();
  if (written) *written = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  std::lock_guard lock(file->PositionLock());
  DWORD total = 0;
  BOOL answer = TRUE;
  while (total < n) {
    const ssize_t put = pwrite(file->Descriptor(), static_cast<const char*>(buffer) + total,
                               n - total, file->Position() + total);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put < 0)
        SetLastErrorFromErrno();
      else
        SetLastError(ERROR_DISK_FULL);
      answer = FALSE;
      break;
    }
    total += static_cast<DWORD>(put);
  }
  file->Position() += total;
  if (written) *written = total;
  return answer;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* high, DWORD method) {
  auto file = FileOf(handle);
  if (!file) return INVALID_SET_FILE_POINTER;
  int64_t offset = distance;
  if (high) offset = (int64_t{*high} << 32) | static_cast<DWORD>(distance);
  if (method > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  std::lock_guard lock(file->PositionLock());
  off_t origin = method == FILE_BEGIN ? 0 : file->Position();
  struct stat status {};
  if (method == FILE_END) origin = fstat(file->Descriptor(), &status) == 0 ? status.st_size : -1;
  if (origin < 0 || origin + offset < 0) {
    SetLastError(origin < 0 ? Win32ErrorFromErrno(errno) : ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t position = origin + offset;
  file->Position() = position;
  if (high) *high = static_cast<LONG>(position >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

DWORD GetFileSize(HANDLE handle, LPDWORD high) {
  auto file = FileOf(handle);
  struct stat status {};
  if (!file) return INVALID_FILE_SIZE;
  if (fstat(file->Descriptor(), &status) != 0) {
    SetLastErrorFromErrno();
    return INVALID_FILE_SIZE;
  }
  if (high) *high = static_cast<DWORD>(static_cast<uint64_t>(status.st_size) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(status.st_size);
}

BOOL SetEndOfFile(HANDLE handle) {
  FileSystemStep();
  auto file = FileOf(handle);
  if (!file) return FALSE;
  std::lock_guard lock(file->PositionLock());
  if (ftruncate(file->Descriptor(), file->Position()) != 0) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
  FileSystemStep();
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (fsync(file->Descriptor()) != 0) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}
