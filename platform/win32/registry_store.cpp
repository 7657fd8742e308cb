// The registry's keys in memory and the bytes of its store file.

#include "platform/win32/RegistryStore.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace vpl::platform {
namespace {

constexpr char kMagic[] = "VPLREG";
constexpr size_t kMagicBytes = 6;
constexpr uint16_t kSealedVersion = 2;
constexpr uint16_t kUnsealedVersion = 1;
constexpr uint8_t kKeyRecord = 1;
constexpr uint8_t kValueRecord = 2;
constexpr uint8_t kEndRecord = 3;
// The end record and the check after it.
constexpr size_t kTrailerBytes = 5;
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
  // Reads the first end bytes.
  Reader(const std::vector<uint8_t>& bytes, size_t end) : mBytes(bytes), mEnd(end) {}
  bool AtEnd() const { return mOffset == mEnd; }
  void EndAt(size_t end) { mEnd = end; }
  bool U8(uint8_t& v) { return Number(v, 1); }
  bool U16(uint16_t& v) { return Number(v, 2); }
  bool U32(uint32_t& v) { return Number(v, 4); }
  bool Bytes(size_t n, std::vector<uint8_t>& out) {
    if (n > mEnd - mOffset) return false;
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
    if (n > mEnd - mOffset) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) v = static_cast<T>(v | (T{mBytes[mOffset + i]} << (8 * i)));
    mOffset += n;
    return true;
  }
  const std::vector<uint8_t>& mBytes;
  size_t mEnd;
  size_t mOffset = 0;
};

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// The key's record and its values' records.
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
}

// Every key of a root, each before its sub-keys.
void EncodeRoot(Writer& out, uint8_t root, const RegistryKey& key) {
  std::vector<std::pair<const RegistryKey*, std::string>> pending{{&key, std::string()}};
  while (!pending.empty()) {
    const auto [next, path] = std::move(pending.back());
    pending.pop_back();
    EncodeKey(out, root, path, *next);
    for (auto subkey = next->mSubkeys.rbegin(); subkey != next->mSubkeys.rend(); ++subkey)
      pending.emplace_back(&subkey->second,
                           path.empty() ? subkey->first : path + '\\' + subkey->first);
  }
}

// The key at a backslash-separated path, made when missing; null for an
// empty level or a path too deep, which a sound file never holds.
RegistryKey* MakeKeyAt(RegistryKey& root, const std::string& path) {
  RegistryKey* key = &root;
  size_t start = 0;
  for (size_t depth = 1; start < path.size(); ++depth) {
    const size_t end = std::min(path.find('\\', start), path.size());
    if (end == start || depth > kMaxRegistryKeyDepth) return nullptr;
    key = &key->mSubkeys[path.substr(start, end - start)];
    start = end + 1;
  }
  return key;
}

bool HasSoundTrailer(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kMagicBytes + 2 + kTrailerBytes) return false;
  const size_t checked = bytes.size() - 4;
  uint32_t stored = 0;
  for (size_t i = 0; i < 4; ++i) stored |= uint32_t{bytes[checked + i]} << (8 * i);
  return bytes[checked - 1] == kEndRecord && stored == Crc32(bytes.data(), checked);
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

RegistryKey::RegistryKey(const RegistryKey& other) : mValues(other.mValues) {
  std::vector<std::pair<const RegistryKey*, RegistryKey*>> pending{{&other, this}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    for (const auto& [name, subkey] : from->mSubkeys) {
      RegistryKey& copy = to->mSubkeys[name];
      copy.mValues = subkey.mValues;
      pending.emplace_back(&subkey, &copy);
    }
  }
}

RegistryKey& RegistryKey::operator=(const RegistryKey& other) {
  if (this != &other) *this = RegistryKey(other);
  return *this;
}

// Each level is taken out of its key before the key goes, so every key
// destroyed has no sub-keys left.
RegistryKey::~RegistryKey() {
  if (mSubkeys.empty()) return;
  std::vector<std::map<std::string, RegistryKey, RegistryNameLess>> pending;
  pending.push_back(std::move(mSubkeys));
  while (!pending.empty()) {
    auto level = std::move(pending.back());
    pending.pop_back();
    for (auto& [name, subkey] : level) {
      if (!subkey.mSubkeys.empty()) pending.push_back(std::move(subkey.mSubkeys));
    }
  }
}

std::vector<uint8_t> EncodeRegistry(const RegistryTree& tree) {
  Writer out;
  out.Bytes(kMagic, kMagicBytes);
  out.U16(kSealedVersion);
  for (uint8_t root = 0; root < kRegistryRootCount; ++root)
    EncodeRoot(out, root, tree.mRoots[root]);
  out.U8(kEndRecord);
  out.U32(Crc32(out.mBytes.data(), out.mBytes.size()));
  return out.mFits ? std::move(out.mBytes) : std::vector<uint8_t>();
}

RegistryTree DecodeRegistry(const std::vector<uint8_t>& bytes, bool& damaged) {
  RegistryTree tree;
  Reader in(bytes, bytes.size());
  std::vector<uint8_t> magic;
  uint16_t version;
  if (!in.Bytes(kMagicBytes, magic) || std::memcmp(magic.data(), kMagic, kMagicBytes) != 0 ||
      !in.U16(version) || (version != kSealedVersion && version != kUnsealedVersion)) {
    damaged = true;
    return tree;
  }
  // A sealed store whose end or check is wrong is read as far as its
  // records are sound.
  const bool sealed = version == kSealedVersion && HasSoundTrailer(bytes);
  damaged = version == kSealedVersion && !sealed;
  if (sealed) in.EndAt(bytes.size() - kTrailerBytes);
  RegistryKey* current = nullptr;
  while (!in.AtEnd()) {
    if (!DecodeRecord(in, tree, current)) {
      damaged = true;
      break;
    }
  }
  return tree;
}

}  // namespace vpl::platform
