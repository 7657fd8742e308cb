#pragma once
// Internal to the platform layer: the registry's keys and values in memory
// and their store file.
//
// The file: "VPLREG" and a 16-bit format version 2, then records: a key
// record (byte 1, byte root 0 = current user or 1 = local machine, 16-bit
// path length, the path with backslashes between levels) and value records
// of the key before them (byte 2, 16-bit name length, name, 32-bit type,
// 32-bit data length, data); last the end record (byte 3) and the CRC-32 of
// every byte before it and of itself. Numbers are little-endian. Version 1
// stores, written before the end record existed, hold records to the end.
//
// A file whose end record or check is missing or wrong is damaged. The
// store keeps a second complete copy, "registry.backup", read in place of a
// damaged store; without a sound copy the store is read as far as its
// records are sound. A damaged store is copied to "registry.damaged" before
// it is next replaced.

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vpl::platform {

// Windows keeps key paths to 512 levels; a deeper key is refused, and a
// store holding one is damaged.
constexpr size_t kMaxRegistryKeyDepth = 512;

// Orders names without regard to ASCII case.
struct RegistryNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct RegistryValue {
  uint32_t mType = 0;
  std::vector<uint8_t> mData;
};

// Copying and destroying walk the tree with a list of their own, so a deep
// key costs no stack.
struct RegistryKey {
  RegistryKey() = default;
  RegistryKey(const RegistryKey& other);
  RegistryKey(RegistryKey&& other) = default;
  RegistryKey& operator=(const RegistryKey& other);
  RegistryKey& operator=(RegistryKey&& other) = default;
  ~RegistryKey();

  std::map<std::string, RegistryKey, RegistryNameLess> mSubkeys;
  std::map<std::string, RegistryValue, RegistryNameLess> mValues;
};

constexpr int kRegistryRootCount = 2;

struct RegistryTree {
  RegistryKey mRoots[kRegistryRootCount];
};

// The bytes of a tree and the tree of bytes; reading stops at the first
// unsound record and sets damaged. Encoding answers no bytes for a tree the
// file cannot hold (a name or path over 65535 bytes, a value over 1 MiB).
std::vector<uint8_t> EncodeRegistry(const RegistryTree& tree);
RegistryTree DecodeRegistry(const std::vector<uint8_t>& bytes, bool& damaged);

// The store file, shared by every process of the user. Readers see one
// complete store or the next, never a part: each writer writes a temporary
// file of its own and renames it into place. Changes are made one at a time
// across processes: each reads the store again under a lock, changes it and
// writes it before the lock is let go, so no writer loses another's change.
class RegistryFile {
 public:
  explicit RegistryFile(std::string directory);
  ~RegistryFile();

  // The tree as the store holds it now: read again when another writer
  // has replaced the file since it was last read.
  RegistryTree& Current();

  // Holds the lock for changes while it lives; the tree then is the one the
  // store holds, and Save writes it.
  class ChangeLock {
   public:
    explicit ChangeLock(RegistryFile& file);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

   private:
    int mFd;
  };
  // Writes the tree; false when it cannot be written, and then the tree is
  // read from the store again at its next use.
  bool Save();

 private:
  struct Identity {
    dev_t mDevice = 0;
    ino_t mInode = 0;
    off_t mSize = -1;
    int64_t mModified = 0;
    bool operator==(const Identity&) const = default;
  };
  static Identity IdentityOf(const struct stat& info);
  void Load();
  std::string PathOf(const char* name) const;

  std::string mDirectory;
  RegistryTree mTree;
  bool mLoaded = false;
  Identity mIdentity;
  // The store could not be read: it is left as it is.
  bool mUnreadable = false;
  // The bytes of a damaged store, copied aside before it is replaced.
  std::vector<uint8_t> mDamagedBytes;
};

}  // namespace vpl::platform
