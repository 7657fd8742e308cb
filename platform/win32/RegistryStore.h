#pragma once
// Internal to the platform layer: the registry's keys and values in memory
// and their store file.
//
// The file: "VPLREG" and a 16-bit format version 1, then records to the
// end: a key record (byte 1, byte root 0 = current user or 1 = local
// machine, 16-bit path length, the path with backslashes between levels)
// and value records of the key before them (byte 2, 16-bit name length,
// name, 32-bit type, 32-bit data length, data). Numbers are little-endian.
// A damaged file is read as far as its records are sound; it is kept
// beside the store as "registry.damaged" before the store is next written.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vpl::platform {

// Orders names without regard to ASCII case.
struct RegistryNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct RegistryValue {
  uint32_t mType = 0;
  std::vector<uint8_t> mData;
};

struct RegistryKey {
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

// The store file: loaded on first use, written atomically (a temporary
// file, then a rename) by Save.
class RegistryFile {
 public:
  explicit RegistryFile(std::string directory);
  RegistryTree Load();
  bool Save(const RegistryTree& tree);

 private:
  std::string mDirectory;
  bool mDamaged = false;
};

}  // namespace vpl::platform
