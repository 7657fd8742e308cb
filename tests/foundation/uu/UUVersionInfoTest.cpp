#include "foundation/uu/UUVersionInfo.h"

#include "TempDirectory.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"

#include <gtest/gtest.h>

namespace {

class CountingAllocator : public ALAllocator {
 public:
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    ++mAllocations;
    return mFail ? nullptr : ALAllocator::Allocate(size, record);
  }
  void Free(void* block, ALMemToolsRecord* record) override {
    ++mFrees;
    ALAllocator::Free(block, record);
  }
  bool mFail = false;
  int mAllocations = 0;
  int mFrees = 0;
};

class UUVersionInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { UUGetModulePath(mProgramDirectory, mProgramName); }
  UUDirectory mProgramDirectory;
  char mProgramName[kUUPathCapacity];
  char mText[kUUStringCapacity] = "junk";
};

TEST_F(UUVersionInfoTest, TheProgramsOwnTextsAreRead) {
  CountingAllocator allocator;
  {
    const UUVersionInfo info(mProgramDirectory, mProgramName, &allocator);
    EXPECT_TRUE(info.Query("ProductName", mText));
    EXPECT_STREQ(mText, "Vantry's Plorvia 3D");
    EXPECT_TRUE(info.Query("fileversion", mText));
    EXPECT_STREQ(mText, "1.0");
    EXPECT_FALSE(info.Query("Comments", mText));
    EXPECT_STREQ(mText, "");
    EXPECT_FALSE(info.Query(std::string(300, 'k').c_str(), mText));
  }
  EXPECT_EQ(allocator.mAllocations, 1);
  EXPECT_EQ(allocator.mFrees, 1);

  EXPECT_TRUE(UUGetFileVersionText(mText));
  EXPECT_STREQ(mText, "1.0");
  EXPECT_TRUE(UUGetVersionDescription(mText));
  EXPECT_STREQ(mText, "Vantry's Plorvia 3D");
  EXPECT_FALSE(UUGetVersionComments(mText));
  EXPECT_STREQ(mText, "");
}

TEST_F(UUVersionInfoTest, FilesWithoutAVersionGiveNoTexts) {
  TempDirectory temp;
  temp.MakeFile("plain.exe", "MZ");
  CountingAllocator failing;
  failing.mFail = true;
  const struct {
    UUDirectory directory;
    const char* name;
    ALAllocator* allocator;
  } cases[] = {
      {temp.Directory(), "plain.exe", nullptr},
      {temp.Directory(), "missing.exe", nullptr},
      {UUDirectory(temp.Path("none").c_str()), mProgramName, nullptr},
      {UUDirectory(), mProgramName, nullptr},
      {mProgramDirectory, mProgramName, &failing},
  };
  for (const auto& c : cases) {
    const UUVersionInfo info(c.directory, c.name, c.allocator);
    EXPECT_FALSE(info.Query("FileVersion", mText)) << c.directory.Text() << c.name;
    EXPECT_STREQ(mText, "");
  }
  EXPECT_EQ(failing.mAllocations, 1);
}

}  // namespace
