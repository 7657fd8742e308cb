#include "foundation/uu/UUFile.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void WriteHostFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes Counting(size_t n) {
  Bytes bytes(n);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

TEST(UUFileTest, FailedOpensRecordTheSystemCodeAndLeaveTheFileClosed) {
  ScratchDirectory temp;
  const UUDirectory missing((std::string(temp.Directory().Text()) + "missing\\").c_str());
  struct Case {
    const UUDirectory* directory;
    int32_t mode;
    UUStreamError expected;
  } cases[] = {
      {&temp.Directory(), kUUFileRead, ERROR_FILE_NOT_FOUND},
      {&missing, kUUFileRead, ERROR_PATH_NOT_FOUND},
      {&missing, kUUFileCreate, ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    UUFile file(*c.directory, "absent.bin", c.mode, UUFileOptions{});
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetError(), c.expected) << c.mode;
    uint8_t byte;
    EXPECT_FALSE(file.Read(&byte, 1));
  }
  EXPECT_FALSE(std::filesystem::exists(temp.HostPath("absent.bin")));
}

TEST(UUFileTest, TypedValuesRoundTripAndModesKeepOrTruncate) {
  ScratchDirectory temp;
  const int32_t values[] = {1, -2, 0x01020304};
  {
    UUFile file(temp.Directory(), "data.bin", kUUFileCreate, UUFileOptions{});
    ASSERT_TRUE(file.IsOpen());
    EXPECT_FALSE(file.IsReadOnly());
    EXPECT_TRUE(file.WriteByteOrderMark());
    EXPECT_TRUE(file.WriteInt32s(values, 3));
  }
  {
    UUFile file(temp.Directory(), "data.bin", kUUFileOpenOrCreate, UUFileOptions{});
    const int32_t replaced = 9;
    EXPECT_TRUE(file.Skip(2));
    EXPECT_TRUE(file.WriteInt32s(&replaced, 1));  // writing starts at the beginning
  }
  UUFile file(temp.Directory(), "DATA.BIN");  // names are found whatever their case
  ASSERT_TRUE(file.IsOpen());
  EXPECT_TRUE(file.IsReadOnly());
  int32_t back[3] = {};
  EXPECT_TRUE(file.ReadByteOrderMark());
  EXPECT_TRUE(file.ReadInt32s(back, 3));
  EXPECT_EQ(back[0], 9);
  EXPECT_EQ(back[2], values[2]);
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file.IsOpen());

  UUFile emptied(temp.Directory(), "data.bin", kUUFileCreate, UUFileOptions{});
  int32_t length = -1;
  EXPECT_TRUE(emptied.GetLength(&length));
  EXPECT_EQ(length, 0);
}

TEST(UUFileTest, ShortReadIs38AndTheErrorSticksUntilCleared) {
  ScratchDirectory temp;
  WriteHostFile(temp.HostPath("hundred.bin"), Counting(100));
  UUFile file(temp.Directory(), "hundred.bin");
  ASSERT_TRUE(file.Seek(95, kUUSeekFromStart, nullptr));
  Bytes out(10, 0xEE);
  EXPECT_FALSE(file.Read(out.data(), 10));
  EXPECT_EQ(file.GetError(), kUUErrorShortRead);
  EXPECT_EQ(out[4], 99);
  EXPECT_EQ(out[5], 0xEE);
  int32_t position = 0;
  EXPECT_FALSE(file.Seek(0, kUUSeekFromStart, &position));
  EXPECT_EQ(position, -1);

  file.SetError(kUUNoError);
  ASSERT_TRUE(file.Seek(10, kUUSeekFromStart, nullptr));
  int32_t length = 0;
  EXPECT_TRUE(file.GetLength(&length));
  EXPECT_EQ(length, 100);
  EXPECT_TRUE(file.Tell(&position));
  EXPECT_EQ(position, 10);

  EXPECT_FALSE(file.Seek(-11, kUUSeekFromCurrent, &position));
  EXPECT_EQ(file.GetError(), static_cast<UUStreamError>(ERROR_NEGATIVE_SEEK));
}

TEST(UUFileTest, TruncateEndsTheFileAtThePosition) {
  ScratchDirectory temp;
  WriteHostFile(temp.HostPath("cut.bin"), Counting(50));
  UUFile file(temp.Directory(), "cut.bin", kUUFileOpenOrCreate, UUFileOptions{});
  ASSERT_TRUE(file.Seek(20, kUUSeekFromStart, nullptr));
  EXPECT_TRUE(file.Truncate());
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(std::filesystem::file_size(temp.HostPath("cut.bin")), 20u);
}

TEST(UUFileTest, WritingAReadOnlyFileFailsWithTheSystemCode) {
  ScratchDirectory temp;
  WriteHostFile(temp.HostPath("ro.bin"), Counting(4));
  UUFile file(temp.Directory(), "ro.bin");
  const uint8_t byte = 1;
  EXPECT_FALSE(file.Write(&byte, 1));
  EXPECT_EQ(file.GetError(), kUUErrorShortWrite);
}

TEST(UUFileTest, ClosingAClosedFileRecordsTheInvalidHandle) {
  UUFile file;
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(file.GetError(), static_cast<UUStreamError>(ERROR_INVALID_HANDLE));
}

}  // namespace
