#include "mm3d/MM3DModelResourceFile.h"

#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace model_fixtures;

constexpr int16_t kCollection = 4;

int32_t ExtensionStart(int32_t subfiles) { return 42 + 40 * subfiles; }

std::vector<UURefCount<MM3DModel>> EmptyModels(size_t n) {
  std::vector<UURefCount<MM3DModel>> models;
  for (size_t i = 0; i < n; ++i) models.emplace_back(new MM3DModel);
  return models;
}

class MM3DModelResourceFileTest : public ::testing::TestWithParam<UUByteOrder> {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    Remove(mName);
    AFClearError();
  }
  // Opens the file written under mName; false with the error recorded.
  bool Open(MM3DModelResourceFile& file, bool keepNames) {
    return file.Open(TempDirectory(), mName.c_str(), keepNames, false);
  }
  // Rewrites one byte of the file.
  void Patch(int32_t offset, uint8_t value) {
    std::vector<uint8_t> bytes = ReadBytes(mName);
    bytes[static_cast<size_t>(offset)] = value;
    WriteBytes(mName, bytes);
  }

  // The parameter's index follows a slash in the test's name.
  std::string mName = FileName(UniqueName("models"));

 private:
  static std::string FileName(std::string name) {
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    return name;
  }
};

INSTANTIATE_TEST_SUITE_P(ByteOrders, MM3DModelResourceFileTest,
                         ::testing::Values(kUUNativeByteOrder, kUUSwappedByteOrder));

TEST_P(MM3DModelResourceFileTest, EntriesAndMembershipReadBackWithNames) {
  constexpr int16_t kSubfiles = 3;
  constexpr int16_t kEntries = 5;
  {
    MM3DModelResourceFile file;
    ASSERT_TRUE(file.Create(TempDirectory(), mName.c_str(), UUFileOptions(), kSubfiles, kCollection,
                            GetParam()));
    ASSERT_TRUE(file.SetEntryCount(kEntries));
    ASSERT_TRUE(file.SetEntryValue16(1, -7));
    ASSERT_TRUE(file.SetEntryValue32(4, 123456789));
    ASSERT_TRUE(file.SetEntryName(2, "characters"));
    ASSERT_TRUE(file.SetSubfileInEntry(2, 4, true));
    EXPECT_FALSE(file.SetEntryName(kEntries, "none"));
    ASSERT_TRUE(file.RecordEndOffset());
    ASSERT_TRUE(file.Close(true));
  }
  AFClearError();
  // 15 membership bits fill two bytes; subfile 2, entry 4 is bit 14.
  const std::vector<uint8_t> bytes = ReadBytes(mName);
  const auto membership = static_cast<size_t>(ExtensionStart(kSubfiles) + 4 + 38 * kEntries);
  EXPECT_EQ(bytes[membership], 0);
  EXPECT_EQ(bytes[membership + 1], 0x40);

  MM3DModelResourceFile file;
  ASSERT_TRUE(Open(file, true));
  EXPECT_EQ(file.GetEntryCount(), kEntries);
  EXPECT_EQ(file.GetEntryValue16(1), -7);
  EXPECT_EQ(file.GetEntryValue32(4), 123456789);
  EXPECT_STREQ(file.GetEntryName(2), "characters");
  EXPECT_TRUE(file.IsSubfileInEntry(2, 4));
  EXPECT_FALSE(file.IsSubfileInEntry(1, 4));
  EXPECT_FALSE(file.IsSubfileInEntry(kSubfiles, 0));
}

// A name field of 32 non-zero bytes reads as its first 31, and the next
// entry's name is still its own.
TEST_P(MM3DModelResourceFileTest, AFullNameFieldEndsWithinItsField) {
  constexpr int16_t kSubfiles = 1;
  constexpr int16_t kEntries = 3;
  {
    MM3DModelResourceFile file;
    ASSERT_TRUE(file.Create(TempDirectory(), mName.c_str(), UUFileOptions(), kSubfiles, kCollection,
                            GetParam()));
    ASSERT_TRUE(file.SetEntryCount(kEntries));
    ASSERT_TRUE(file.SetEntryName(1, "short"));
    ASSERT_TRUE(file.SetEntryName(2, "next"));
    ASSERT_TRUE(file.RecordEndOffset());
    ASSERT_TRUE(file.Close(true));
  }
  std::vector<uint8_t> bytes = ReadBytes(mName);
  const auto name = static_cast<size_t>(ExtensionStart(kSubfiles) + 4 + 6 * kEntries + 32);
  ASSERT_EQ(bytes[name], 's');
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(name), 32, 'x');
  WriteBytes(mName, bytes);
  AFClearError();

  MM3DModelResourceFile file;
  ASSERT_TRUE(Open(file, true));
  EXPECT_EQ(file.GetEntryName(1), std::string(31, 'x'));
  EXPECT_STREQ(file.GetEntryName(2), "next");
}

TEST_P(MM3DModelResourceFileTest, WithoutEntriesTheExtensionIsFourBytes) {
  ASSERT_TRUE(
      WriteModelFile(TempDirectory(), mName.c_str(), kCollection, EmptyModels(1), GetParam()));
  MM3DModelResourceFile file;
  ASSERT_TRUE(Open(file, true));
  EXPECT_EQ(file.GetEntryCount(), 0);
  EXPECT_EQ(file.GetSubfileOffset(0), ExtensionStart(1) + 4);
}

TEST_P(MM3DModelResourceFileTest, OpenedWithoutNamesTheExtensionIsSkipped) {
  ASSERT_TRUE(
      WriteModelFile(TempDirectory(), mName.c_str(), kCollection, EmptyModels(10), GetParam(), 2));
  MM3DModelResourceFile file;
  ASSERT_TRUE(Open(file, false));
  int32_t position = 0;
  ASSERT_TRUE(file.GetFile().Tell(&position));
  EXPECT_EQ(position, 525);
  EXPECT_EQ(file.GetEntryName(0), nullptr);
}

TEST_P(MM3DModelResourceFileTest, AnotherExtensionVersionFailsToOpen) {
  const bool big = GetParam() == kUUSwappedByteOrder;
  for (const uint8_t version : {uint8_t{1}, uint8_t{3}}) {
    ASSERT_TRUE(
        WriteModelFile(TempDirectory(), mName.c_str(), kCollection, EmptyModels(1), GetParam()));
    Patch(ExtensionStart(1) + (big ? 1 : 0), version);
    AFClearError();
    MM3DModelResourceFile file;
    EXPECT_FALSE(Open(file, false)) << int{version};
    EXPECT_EQ(AFGetErrorCode(), MME_MODEL_RESOURCE_FILE_BAD_VERSION_NUMBER);
  }
}

TEST_P(MM3DModelResourceFileTest, AnEntryCountTheFileCannotHoldFailsToOpen) {
  const bool big = GetParam() == kUUSwappedByteOrder;
  for (bool keepNames : {false, true}) {
    for (const uint8_t high : {uint8_t{0x80}, uint8_t{0x7F}}) {  // negative; far beyond the file
      ASSERT_TRUE(
          WriteModelFile(TempDirectory(), mName.c_str(), kCollection, EmptyModels(1), GetParam()));
      Patch(ExtensionStart(1) + 2 + (big ? 0 : 1), high);
      AFClearError();
      MM3DModelResourceFile file;
      EXPECT_FALSE(Open(file, keepNames)) << int{high};
      EXPECT_EQ(AFGetErrorCode(), MME_MODEL_RESOURCE_FILE_BAD_HEADER);
    }
  }
}

}  // namespace
