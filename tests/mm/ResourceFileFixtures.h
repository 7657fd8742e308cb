#pragma once
// Helpers of the resource-file tests: files in the temporary directory, and
// byte-by-byte builders for hand-made files in either byte order.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace resource_fixtures {

inline UUDirectory TempDirectory() {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  return directory;
}

// A name that no other test uses, even when tests run in parallel
// processes: it carries the running test's own name.
inline std::string UniqueName(const char* what) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("vplres-") + test->test_suite_name() + "-" + test->name() + "-" + what;
}

inline void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  UUFile file(TempDirectory(), name.c_str(), kUUFileCreate, UUFileOptions());
  ASSERT_TRUE(file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())));
  ASSERT_TRUE(file.Close());
}

inline std::vector<uint8_t> ReadBytes(const std::string& name) {
  UUFile file(TempDirectory(), name.c_str());
  int32_t length = 0;
  file.GetLength(&length);
  std::vector<uint8_t> bytes(static_cast<size_t>(length < 0 ? 0 : length));
  file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes;
}

inline void Remove(const std::string& name) { UUDeleteFile(TempDirectory(), name.c_str()); }

// Builds a file's bytes in little-endian ("II") or big-endian ("MM") order.
class Bytes {
 public:
  explicit Bytes(bool bigEndian = false) : mBig(bigEndian) {}
  Bytes& Tag(const char* text) {
    std::string padded(text);
    padded.resize(16, '\0');
    mBytes.insert(mBytes.end(), padded.begin(), padded.end());
    return Raw(mBig ? "MM" : "II");
  }
  Bytes& Raw(const std::string& text) {
    mBytes.insert(mBytes.end(), text.begin(), text.end());
    return *this;
  }
  Bytes& Zeros(size_t n) {
    mBytes.insert(mBytes.end(), n, 0);
    return *this;
  }
  Bytes& U8(uint8_t value) {
    mBytes.push_back(value);
    return *this;
  }
  Bytes& U16(uint16_t value) { return Number(value, 2); }
  Bytes& U32(uint32_t value) { return Number(value, 4); }
  const std::vector<uint8_t>& Get() const { return mBytes; }
  size_t Size() const { return mBytes.size(); }

 private:
  Bytes& Number(uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
      const int shift = 8 * (mBig ? size - 1 - i : i);
      mBytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    return *this;
  }
  bool mBig;
  std::vector<uint8_t> mBytes;
};

}  // namespace resource_fixtures
