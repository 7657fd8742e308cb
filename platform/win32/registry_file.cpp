// The registry's store file: reading it when another writer replaced it,
// the lock for changes across processes, and writing it so that an
// acknowledged change survives a crash, a power cut or a damaged byte.

#include "platform/win32/RegistryStore.h"
#include "platform/win32/testhooks.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr char kStoreName[] = "registry";
constexpr char kBackupName[] = "registry.backup";
constexpr char kDamagedName[] = "registry.damaged";
constexpr char kLockName[] = "registry.lock";
// Each writer's temporary files start with this and end in its process id.
constexpr char kTemporaryPrefix[] = "registry.tmp.";

void (*gSaveProbe)(int step) = nullptr;
int gSaveStep = 0;

// Lets a test end the writer at this point of a save.
void Probe() {
  if (gSaveProbe != nullptr) gSaveProbe(gSaveStep++);
}

enum class ReadResult { Read, Missing, Failed };

// The whole file, read with plain system calls so that a read error is an
// answer, not an exception.
ReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, struct stat& info) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  bool sound = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  bytes.clear();
  uint8_t buffer[65536];
  while (sound) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      sound = n == 0;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  close(fd);
  return sound ? ReadResult::Read : ReadResult::Failed;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The directory's entries reach the disk: a rename in it is then kept.
bool SyncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  close(fd);
  return synced;
}

// Replaces the file by a complete new one: written to a temporary name,
// synchronised, renamed into place and the rename synchronised.
bool ReplaceFile(const std::string& directory, const char* name,
                 const std::vector<uint8_t>& bytes) {
  const std::string path = directory + "/" + name;
  const std::string temporary = directory + "/" + kTemporaryPrefix + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  Probe();
  bool written = WriteAll(fd, bytes);
  Probe();
  written = written && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  Probe();
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  Probe();
  return SyncDirectory(directory);
}

// Temporary files left by writers that ended during a save; called under
// the lock for changes, when no other writer has one open.
void RemoveLeftTemporaries(const std::string& directory) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    if (std::strncmp(entry->d_name, kTemporaryPrefix, sizeof kTemporaryPrefix - 1) == 0)
      unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

}  // namespace

void SetRegistrySaveProbe(void (*probe)(int step)) {
  gSaveProbe = probe;
  gSaveStep = 0;
}

RegistryFile::RegistryFile(std::string directory) : mDirectory(std::move(directory)) {}

RegistryFile::~RegistryFile() = default;

std::string RegistryFile::PathOf(const char* name) const { return mDirectory + "/" + name; }

RegistryFile::Identity RegistryFile::IdentityOf(const struct stat& info) {
  return {.mDevice = info.st_dev,
          .mInode = info.st_ino,
          .mSize = info.st_size,
          .mModified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

RegistryTree& RegistryFile::Current() {
  struct stat info;
  const Identity now = stat(PathOf(kStoreName).c_str(), &info) == 0 ? IdentityOf(info) : Identity{};
  if (!mLoaded || !(now == mIdentity)) Load();
  return mTree;
}

void RegistryFile::Load() {
  mTree = {};
  mLoaded = true;
  mIdentity = {};
  mUnreadable = false;
  mDamagedBytes.clear();
  if (mDirectory.empty()) return;
  std::vector<uint8_t> bytes;
  struct stat info {};
  const ReadResult result = ReadWholeFile(PathOf(kStoreName), bytes, info);
  if (result == ReadResult::Missing) return;
  mIdentity = IdentityOf(info);
  if (result == ReadResult::Failed) {
    std::fprintf(stderr, "vpl3d: the registry store %s cannot be read; it is left as it is\n",
                 PathOf(kStoreName).c_str());
    mUnreadable = true;
    return;
  }
  bool damaged = false;
  mTree = DecodeRegistry(bytes, damaged);
  if (!damaged) return;
  std::vector<uint8_t> backupBytes;
  bool backupDamaged = true;
  RegistryTree backup;
  if (ReadWholeFile(PathOf(kBackupName), backupBytes, info) == ReadResult::Read)
    backup = DecodeRegistry(backupBytes, backupDamaged);
  if (!backupDamaged) mTree = std::move(backup);
  std::fprintf(stderr, "vpl3d: the registry store %s is damaged; %s is used\n",
               PathOf(kStoreName).c_str(), backupDamaged ? "its sound part" : "its backup");
  mDamagedBytes = std::move(bytes);
}

RegistryFile::ChangeLock::ChangeLock(RegistryFile& file) : mFd(-1) {
  // Another process may have changed the store since it was read.
  file.mLoaded = false;
  if (file.mDirectory.empty()) return;
  mFd = open(file.PathOf(kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  int locked = -1;
  while (mFd >= 0 && (locked = flock(mFd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (locked == 0) RemoveLeftTemporaries(file.mDirectory);
}

RegistryFile::ChangeLock::~ChangeLock() {
  if (mFd >= 0) close(mFd);
}

bool RegistryFile::Save() {
  const std::vector<uint8_t> bytes = EncodeRegistry(mTree);
  // The backup is written first: while the store is replaced, the backup
  // already holds the change, and the store is the sound copy before it.
  const bool saved =
      !mDirectory.empty() && !mUnreadable && !bytes.empty() &&
      (mDamagedBytes.empty() || ReplaceFile(mDirectory, kDamagedName, mDamagedBytes)) &&
      ReplaceFile(mDirectory, kBackupName, bytes) && ReplaceFile(mDirectory, kStoreName, bytes);
  // Read again at the next use: the tree is then the store's, whether or
  // not this change reached it.
  mLoaded = false;
  return saved;
}

}  // namespace vpl::platform
