#pragma once
// Helpers of the tests that need resource files: files in the temporary
// directory, picture and script files made with the system's writers, and
// byte-by-byte builders for hand-made files in either byte order.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMPalette.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMScriptFile.h"
#include "platform/win32/PathMapping.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace resource_fixtures {

inline UUDirectory TempDirectory() {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  return directory;
}

// A name that no other test uses, even when tests run in parallel
// processes: it carries the running test's own name, or outside a test (in
// a benchmark) the process id.
inline std::string UniqueName(const char* what) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr) return "vplres-process" + std::to_string(getpid()) + "-" + what;
  // Parameterised tests' names hold slashes, which no file name may.
  std::string name =
      std::string("vplres-") + test->test_suite_name() + "-" + test->name() + "-" + what;
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
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

// The bytes of a file that the program may hold open alone, read as the
// host sees them, past the program's share modes.
inline std::vector<uint8_t> PeekBytes(const std::string& name) {
  char path[kUUPathCapacity] = {};
  UUMakeFilePath(path, TempDirectory(), name.c_str());
  std::ifstream file(vpl::platform::ToHostPath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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

// What a script file holds.
struct ScriptFileContents {
  int16_t language = -1;
  int16_t codePage = 1252;
  int16_t headerWord = 0x55;
  std::vector<int16_t> rowSizes;
  std::vector<ScriptEntry> entries;
};

// Writes a script file with the system's writer, names included.
inline void WriteScripts(const std::string& name, int16_t collection,
                         const ScriptFileContents& contents) {
  MMScriptFile file;
  const auto n = static_cast<int16_t>(contents.entries.size());
  const auto m = static_cast<int16_t>(contents.rowSizes.size());
  ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), n, collection));
  ASSERT_TRUE(file.SetLanguage(contents.language));
  ASSERT_TRUE(file.SetCodePage(contents.codePage));
  ASSERT_TRUE(file.SetHeaderWord(contents.headerWord));
  ASSERT_TRUE(file.SetLayoutCount(m));
  ASSERT_TRUE(file.InitLayoutNames(16 * m));
  for (int16_t k = 0; k < m; ++k) {
    ASSERT_TRUE(file.SetLayoutRowSize(k, contents.rowSizes[static_cast<size_t>(k)]));
    ASSERT_TRUE(file.SetLayoutName(k, ("layout" + std::to_string(k)).c_str()));
  }
  ASSERT_TRUE(file.InitEntryNames(16 * n));
  for (int16_t i = 0; i < n; ++i) {
    const ScriptEntry& entry = contents.entries[static_cast<size_t>(i)];
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

// One picture of a picture file.
struct Picture {
  bool eightBit;
  bool encoded;
  int32_t subFormat;
  int32_t width;
  int32_t height;
  int32_t selector;           // 0 none, 1 own, k >= 2 shared palette k - 2
  std::vector<uint8_t> data;  // as it is unpacked, own palette first
  bool pack = false;
};

// Greys, entry i = (i, i, i), with entry 7 half transparent.
inline MMPalette GreyPalette() {
  MMPalette palette;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    palette.mEntries[i] = {v, v, v, static_cast<uint8_t>(i == 7 ? 128 : 0)};
  }
  return palette;
}

// The bytes packed as the picture files pack them.
inline std::vector<uint8_t> Pack(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out(data.size() + data.size() / 16 + 64 + 3);
  std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
  lzo_uint size = 0;
  lzo_init();
  lzo1x_1_compress(data.data(), data.size(), out.data(), &size, work.data());
  out.resize(size);
  return out;
}

// Writes a picture file with the system's writer; its one shared palette
// is GreyPalette().
inline void WritePictures(const std::string& name, int16_t collection,
                          const std::vector<Picture>& pictures) {
  MMPictureResourceFile file;
  const auto n = static_cast<int16_t>(pictures.size());
  ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), n, collection));
  file.SetSharedPaletteCount(1);
  file.SetSharedPalette(0, GreyPalette());
  for (int16_t i = 0; i < n; ++i) {
    const Picture& p = pictures[static_cast<size_t>(i)];
    file.SetEightBit(i, p.eightBit);
    file.SetEncoded(i, p.encoded);
    file.SetSubFormat(i, p.subFormat);
    file.SetSize(i, p.width, p.height);
    file.SetPaletteSelector(i, p.selector < 2 ? p.selector : 2, p.selector - 2);
    file.SetUnpackedSize(i, p.pack ? static_cast<int32_t>(p.data.size()) : 0);
  }
  ASSERT_TRUE(file.RewriteHeader());
  for (int16_t i = 0; i < n; ++i) {
    const Picture& p = pictures[static_cast<size_t>(i)];
    const std::vector<uint8_t> stored = p.pack ? Pack(p.data) : p.data;
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    file.SetSubfileOffset(i, position);
    file.GetFile().Write(stored.data(), static_cast<uint32_t>(stored.size()));
  }
  ASSERT_TRUE(file.RecordEndOffset());
  ASSERT_TRUE(file.Close(true));
}

}  // namespace resource_fixtures
