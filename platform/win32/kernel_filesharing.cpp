// The share modes of open files, kept with open file description locks.

#include "platform/win32/FileSharing.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace vpl::platform {
namespace {

// The marks' bytes, far past the end of any file the program writes.
constexpr off_t kMarks = off_t{1} << 62;
constexpr off_t kReading = kMarks;
constexpr off_t kWriting = kMarks + 1;
constexpr off_t kRefusingReads = kMarks + 2;
constexpr off_t kRefusingWrites = kMarks + 3;

struct flock MarkAt(short type, off_t byte) {
  struct flock mark {};
  mark.l_type = type;
  mark.l_whence = SEEK_SET;
  mark.l_start = byte;
  mark.l_len = 1;
  return mark;
}

// True when another open of the file holds the mark.
bool Held(int descriptor, off_t byte) {
  struct flock mark = MarkAt(F_WRLCK, byte);
  return fcntl(descriptor, F_OFD_GETLK, &mark) == 0 && mark.l_type != F_UNLCK;
}

bool Mark(int descriptor, off_t byte) {
  struct flock mark = MarkAt(F_RDLCK, byte);
  return fcntl(descriptor, F_OFD_SETLK, &mark) == 0;
}

// Holds the file's lock that makes the test and the marking of one open a
// single step among all processes.
class MarkingGuard {
 public:
  explicit MarkingGuard(int descriptor) : mDescriptor(descriptor) {
    int result;
    do {
      result = flock(mDescriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    mLocked = result == 0;
  }
  ~MarkingGuard() {
    if (mLocked) flock(mDescriptor, LOCK_UN);
  }
  MarkingGuard(const MarkingGuard&) = delete;
  MarkingGuard& operator=(const MarkingGuard&) = delete;
  bool Locked() const { return mLocked; }

 private:
  int mDescriptor;
  bool mLocked = false;
};

}  // namespace

FileShare::~FileShare() {
  if (mDescriptor >= 0) close(mDescriptor);
}

DWORD FileShare::Take(int descriptor, DWORD access, DWORD shareMode) {
  const bool reads = (access & GENERIC_READ) != 0;
  const bool writes = (access & GENERIC_WRITE) != 0;
  // An open without data access neither meets nor sets share modes.
  if (!reads && !writes) return ERROR_SUCCESS;
  // The marks are shared locks, which need a descriptor open for reading:
  // one of its own, whatever the handle's access.
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  mDescriptor = open(self.c_str(), O_RDONLY | O_CLOEXEC);
  if (mDescriptor < 0) return ERROR_SUCCESS;
  const MarkingGuard guard(mDescriptor);
  if (!guard.Locked()) return ERROR_SUCCESS;
  const bool refusesReads = (shareMode & FILE_SHARE_READ) == 0;
  const bool refusesWrites = (shareMode & FILE_SHARE_WRITE) == 0;
  if ((reads && Held(mDescriptor, kRefusingReads)) ||
      (writes && Held(mDescriptor, kRefusingWrites)) ||
      (refusesReads && Held(mDescriptor, kReading)) ||
      (refusesWrites && Held(mDescriptor, kWriting))) {
    return ERROR_SHARING_VIOLATION;
  }
  const bool marked = (!reads || Mark(mDescriptor, kReading)) &&
                      (!writes || Mark(mDescriptor, kWriting)) &&
                      (!refusesReads || Mark(mDescriptor, kRefusingReads)) &&
                      (!refusesWrites || Mark(mDescriptor, kRefusingWrites));
  if (!marked) {
    close(mDescriptor);
    mDescriptor = -1;
  }
  return ERROR_SUCCESS;
}

}  // namespace vpl::platform
