#pragma once
// Helpers of the resource-file tests: files in the temporary directory, and
// byte-by-byte builders for hand-made files in either byte order.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/resources/MMScriptFile.h"

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

// One script of a script file: its layout, its rows and its texts.
struct ScriptEntry {
  int16_t layout;
  int16_t rows;
  std::vector<uint8_t> rowBytes;
  std::string texts;  // zero-separated
};

struct ScriptSpec {
  int16_t language = -1;
  int16_t codePage = 1252;
  int16_t headerWord = 0x55;
  std::vector<int16_t> rowSizes;
  std::vector<ScriptEntry> entries;
};

// Writes a script file with the system's writer, names included.
inline void WriteScripts(const std::string& name, int16_t collection, const ScriptSpec& spec) {
  MMScriptFile file;
  const auto n = static_cast<int16_t>(spec.entries.size());
  const auto m = static_cast<int16_t>(spec.rowSizes.size());
  ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), n, collection));
  ASSERT_TRUE(file.SetLanguage(spec.language));
  ASSERT_TRUE(file.SetCodePage(spec.codePage));
  ASSERT_TRUE(file.SetHeaderWord(spec.headerWord));
  ASSERT_TRUE(file.SetLayoutCount(m));
  ASSERT_TRUE(file.InitLayoutNames(16 * m));
  for (int16_t k = 0; k < m; ++k) {
    ASSERT_TRUE(file.SetLayoutRowSize(k, spec.rowSizes[static_cast<size_t>(k)]));
    ASSERT_TRUE(file.SetLayoutName(k, ("layout" + std::to_string(k)).c_str()));
  }
  ASSERT_TRUE(file.InitEntryNames(16 * n));
  for (int16_t i = 0; i < n; ++i) {
    const ScriptEntry& entry = spec.entries[static_cast<size_t>(i)];
    ASSERT_TRUE(file.SetEntryName(i, ("entry" + std::to_string(i)).c_str()));
    ASSERT_TRUE(file.SetEntryRowCount(i, entry.rows));
    ASSERT_TRUE(file.SetEntryLayout(i, entry.layout));
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    ASSERT_TRUE(file.SetSubfileOffset(i, position));
    file.GetFile().Write(entry.rowBytes.data(), static_cast<uint32_t>(entry.rowBytes.size()));
    file.GetFile().Write(entry.texts.data(), static_cast<uint32_t>(entry.texts.size()));
  }
  ASSERT_TRUE(file.RecordEndOffset());
  ASSERT_TRUE(file.Close(true));
}

}  // namespace resource_fixtures
