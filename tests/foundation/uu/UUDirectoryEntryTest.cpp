#include "foundation/uu/UUDirectoryEntry.h"

#include "TempDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Collects entries and stops after a given number.
class Collector : public UUDirectoryEntryProcessor {
 public:
  explicit Collector(int limit = 1000) : mLimit(limit) {}
  bool ProcessEntry(const UUDirectoryEntry& entry) override {
    mEntries[entry.mName] = entry;
    return static_cast<int>(mEntries.size()) < mLimit;
  }
  std::map<std::string, UUDirectoryEntry> mEntries;
  int mLimit;
};

TEST(UUDirectoryEntryTest, ReportsFilesAndDirectoriesButNotDots) {
  TempDirectory temp;
  Collector empty;
  EXPECT_TRUE(UUForEachDirectoryEntry(temp.Directory(), empty));
  EXPECT_TRUE(empty.mEntries.empty());

  temp.MakeFile("f.bin", "1234567");
  temp.MakeDirectory("d");
  Collector all;
  EXPECT_TRUE(UUForEachDirectoryEntry(temp.Directory(), all));
  ASSERT_EQ(all.mEntries.size(), 2u);
  EXPECT_TRUE(all.mEntries["f.bin"].mIsFile);
  EXPECT_EQ(all.mEntries["f.bin"].mSize, 7);
  EXPECT_GE(all.mEntries["f.bin"].mModified >> 25, 40u);  // written after 2020
  EXPECT_FALSE(all.mEntries["d"].mIsFile);
  EXPECT_EQ(all.mEntries["d"].mSize, -1);
  EXPECT_EQ(all.mEntries["d"].mModified, 0u);

  Collector first(1);
  EXPECT_FALSE(UUForEachDirectoryEntry(temp.Directory(), first));
  EXPECT_EQ(first.mEntries.size(), 1u);
  Collector missing;
  EXPECT_FALSE(UUForEachDirectoryEntry(UUDirectory(temp.Path("none").c_str()), missing));
}

}  // namespace
