// Semaphores. A named one must be seen by every process of the user, so its
// name is a lock file that the creating process holds with flock: the lock
// goes with the last descriptor, so a process that is killed frees the name
// at once and no stale file can keep the program from starting.

#include "platform/win32/KernelObject.h"
#include "platform/win32/kernel.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using vpl::platform::KernelObject;

class Semaphore : public KernelObject {
 public:
  Semaphore(LONG count, int lockFile) : mCount(count), mLockFile(lockFile) {}
  ~Semaphore() override {
    if (mLockFile >= 0) close(mLockFile);
  }
  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;

  bool IsSignaled() const override { return mCount > 0; }
  void Consume() override { --mCount; }

 private:
  LONG mCount;
  int mLockFile;
};

std::string LockDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  std::error_code ignored;
  return std::filesystem::temp_directory_path(ignored).string();
}

// The name's letters and digits, anything else as '_', under the user's id.
std::string LockFilePath(const char* name) {
  std::string file = "vpl3d-" + std::to_string(getuid()) + "-";
  for (const char* c = name; *c != '\0'; ++c) {
    file += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return LockDirectory() + "/" + file + ".lock";
}

// The lock file's descriptor, held; -1 with the error set when it is held
// already or cannot be made.
int TakeName(const char* name) {
  const int file = open(LockFilePath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (file < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return -1;
  }
  if (flock(file, LOCK_EX | LOCK_NB) == 0) return file;
  const bool held = errno == EWOULDBLOCK;
  close(file);
  SetLastError(held ? ERROR_ALREADY_EXISTS : ERROR_ACCESS_DENIED);
  return -1;
}

}  // namespace

HANDLE CreateSemaphoreA(void*, LONG initialCount, LONG maximumCount, LPCSTR name) {
  if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  int lockFile = -1;
  if (name != nullptr) {
    lockFile = TakeName(name);
    if (lockFile < 0 && GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
  }
  const DWORD answer = lockFile < 0 && name != nullptr ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
  const HANDLE handle =
      vpl::platform::RegisterHandle(std::make_shared<Semaphore>(initialCount, lockFile));
  SetLastError(answer);
  return handle;
}
