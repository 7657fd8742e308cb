#include "foundation/uu/UUVolume.h"

#include "TempDirectory.h"

#include <gtest/gtest.h>

namespace {

class Counter : public UUVolumeEntryProcessor {
 public:
  bool ProcessVolume(const UUVolumeEntry& entry) override {
    mLastRoot.Assign(entry.mRoot);
    ++mCount;
    return true;
  }
  UUDirectory mLastRoot;
  int mCount = 0;
};

TEST(UUVolumeTest, TheOneDriveIsOfferedAndFoundByItsLabel) {
  Counter counter;
  EXPECT_TRUE(UUForEachVolume(counter));
  EXPECT_EQ(counter.mCount, 1);
  EXPECT_STREQ(counter.mLastRoot.Text(), "C:\\");

  UUDirectory root;
  EXPECT_TRUE(UUFindVolumeByName("", root));
  EXPECT_STREQ(root.Text(), "C:\\");
  EXPECT_FALSE(UUFindVolumeByName("VPL3D_DISC", root));
  EXPECT_FALSE(root.IsSet());

  TempDirectory temp;
  char label[kUUPathCapacity] = "junk";
  EXPECT_TRUE(UUGetVolumeLabel(temp.Directory(), label));
  EXPECT_STREQ(label, "");
  EXPECT_FALSE(UUGetVolumeLabel(UUDirectory(temp.Path("none").c_str()), label));
}

}  // namespace
