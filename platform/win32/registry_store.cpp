// The registry's store file: encoding, decoding, loading and atomic saving.

#include "platform/win32/RegistryStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vpl::platform {
namespace {

constexpr char kMagic[] = "VPLREG";
constexpr size_t kMagicBytes = 6;
constexpr uint16_t kFormatVersion = 1;
constexpr uint8_t kKeyRecord = 1;
constexpr uint8_t kValueRecord = 2;
// Values larger than this are not the system's: a length beyond it is damage.
constexpr uint32_t kMaxValueBytes = 1 << 20;

class Writer {
 public:
  void U8(uint8_t v) { mBytes.push_back(v); }
  void U16(uint16_t v) {
    for (int i = 0; i < 2; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), p, p + n);
  }
  void Text16(const std::string& text) {
    if (text.size() > UINT16_MAX) mFits = false;
    U16(static_cast<uint16_t>(text.size()));
    Bytes(text.data(), text.size());
  }
  std::vector<uint8_t> mBytes;
  // False once a name, path or value is too long for the file to hold it
  // as it is: such bytes would read back as damage.
  bool mFits = true;
};

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : mBytes(bytes) {}
  bool AtEnd() const { return mOffset == mBytes.size(); }
  bool U8(uint8_t& v) { return Number(v, 1); }
  bool U16(uint16_t& v) { return Number(v, 2); }
  bool U32(uint32_t& v) { return Number(v, 4); }
  bool Bytes(size_t n, std::vector<uint8_t>& out) {
    if (n > mBytes.size() - mOffset) return false;
    out.assign(mBytes.begin() + static_cast<ptrdiff_t>(mOffset),
               mBytes.begin() + static_cast<ptrdiff_t>(mOffset + n));
    mOffset += n;
    return true;
  }
  bool Text16(std::string& text) {
    uint16_t length;
    std::vector<uint8_t> bytes;
    if (!U16(length) || !Bytes(length, bytes)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
  }

 private:
  template <typename T>
  bool Number(T& v, size_t n) {
    if (n > mBytes.size() - mOffset) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) v = static_cast<T>(v | (T{mBytes[mOffset + i]} << (8 * i)));
    mOffset += n;
    return true;
  }
  const std::vector<uint8_t>& mBytes;
  size_t mOffset = 0;
};

void EncodeKey(Writer& out, uint8_t root, const std::string& path, const RegistryKey& key) {
  out.U8(kKeyRecord);
  out.U8(root);
  out.Text16(path);
  for (const auto& [name, value] : key.mValues) {
    out.U8(kValueRecord);
    out.Text16(name);
    out.U32(value.mType);
    if (value.mData.size() > kMaxValueBytes) out.mFits = false;
    out.U32(static_cast<uint32_t>(value.mData.size()));
    out.Bytes(value.mData.data(), value.mData.size());
  }
  for (const auto& [name, subkey] : key.mSubkeys) {
    EncodeKey(out, root, path.empty() ? name : path + "\\" + name, subkey);
  }
}

// The key at a backslash-separated path, made when missing; null for an
// empty level, which a sound file never holds.
RegistryKey* MakeKeyAt(RegistryKey& root, const std::string& path) {
  RegistryKey* key = &root;
  size_t start = 0;
  while (start < path.size()) {
    const size_t end = std::min(path.find('\\', start), path.size());
    if (end == start) return nullptr;
    key = &key->mSubkeys[path.substr(start, end - start)];
    start = end + 1;
  }
  return key;
}

bool DecodeRecord(Reader& in, RegistryTree& tree, RegistryKey*& current) {
  uint8_t kind;
  if (!in.U8(kind)) return false;
  if (kind == kKeyRecord) {
    uint8_t root;
    std::string path;
    if (!in.U8(root) || root >= kRegistryRootCount || !in.Text16(path)) return false;
    current = MakeKeyAt(tree.mRoots[root], path);
    return current != nullptr;
  }
  std::string name;
  RegistryValue value;
  uint32_t length;
  if (kind != kValueRecord || current == nullptr || !in.Text16(name) || !in.U32(value.mType) ||
      !in.U32(length) || length > kMaxValueBytes || !in.Bytes(length, value.mData)) {
    return false;
  }
  current->mValues[name] = std::move(value);
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool RegistryNameLess::operator()(const std::string& a, const std::string& b) const {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

std::vector<uint8_t> EncodeRegistry(const RegistryTree& tree) {
  Writer out;
  out.Bytes(kMagic, kMagicBytes);
  out.U16(kFormatVersion);
  for (uint8_t root = 0; root < kRegistryRootCount; ++root)
    EncodeKey(out, root, "", tree.mRoots[root]);
  return out.mFits ? std::move(out.mBytes) : std::vector<uint8_t>();
}

RegistryTree DecodeRegistry(const std::vector<uint8_t>& bytes, bool& damaged) {
  RegistryTree tree;
  Reader in(bytes);
  std::vector<uint8_t> magic;
  uint16_t version;
  damaged = !in.Bytes(kMagicBytes, magic) || std::memcmp(magic.data(), kMagic, kMagicBytes) != 0 ||
            !in.U16(version) || version != kFormatVersion;
  RegistryKey* current = nullptr;
  while (!damaged && !in.AtEnd()) damaged = !DecodeRecord(in, tree, current);
  return tree;
}

RegistryFile::RegistryFile(std::string directory) : mDirectory(std::move(directory)) {}

RegistryTree RegistryFile::Load() {
  std::vector<uint8_t> bytes;
  if (mDirectory.empty() || !ReadWholeFile(mDirectory + "/registry", bytes)) return {};
  RegistryTree tree = DecodeRegistry(bytes, mDamaged);
  if (mDamaged) {
    std::fprintf(stderr,
                 "vpl3d: the registry store %s/registry is damaged; its sound part is used\n",
                 mDirectory.c_str());
  }
  return tree;
}

bool RegistryFile::Save(const RegistryTree& tree) {
  if (mDirectory.empty()) return false;
  const std::vector<uint8_t> bytes = EncodeRegistry(tree);
  if (bytes.empty()) return false;
  const std::string path = mDirectory + "/registry";
  if (mDamaged) {
    if (std::rename(path.c_str(), (path + ".damaged").c_str()) != 0) return false;
    mDamaged = false;
  }
  const std::string temporary = path + ".tmp";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vpl::platform
