#include "media/startup/MMResourceSearchDirectories.h"

#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/testhooks.h"
#include "tests/media/startup/StartupTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using startup_fixtures::TestDirectory;

// The string that names the data volume.
constexpr UINT kDataVolumeLabelString = 475;

class MMResourceSearchDirectoriesTest : public testing::Test {
 protected:
  void SetUp() override { MMClearSearchDirectories(); }
  void TearDown() override {
    MMClearSearchDirectories();
    vpl::platform::ResetStringTable();
  }

  TestDirectory mFirst{"first"};
  TestDirectory mSecond{"second"};
  const std::vector<uint8_t> mBytes{1, 2, 3};
};

TEST_F(MMResourceSearchDirectoriesTest, WithoutADataVolumeOnlyTheProgramsDirectoryIsSearched) {
  UUDirectory program;
  ASSERT_TRUE(UUGetModuleDirectory(program));
  EXPECT_TRUE(MMInitSearchDirectories());
  ASSERT_EQ(MMResourceSearchDirectories.Count(), 1);
  EXPECT_EQ(MMResourceSearchDirectories.Front(), &MMProgramDirectory);
  EXPECT_TRUE(UUSameDirectory(MMProgramDirectory, program));
}

TEST_F(MMResourceSearchDirectoriesTest, ALabelNoVolumeHasAddsNoDirectory) {
  vpl::platform::SetStringTableEntry(kDataVolumeLabelString, "NO SUCH DISC");
  EXPECT_FALSE(MMAddDataVolumeDirectory());
  EXPECT_TRUE(MMInitSearchDirectories());
  EXPECT_EQ(MMResourceSearchDirectories.Count(), 1);
}

TEST_F(MMResourceSearchDirectoriesTest, AFileInTwoDirectoriesIsFoundInTheFirst) {
  mFirst.WriteBytes("vpl3d.MMA", mBytes);
  mSecond.WriteBytes("vpl3d.MMA", mBytes);
  MMResourceSearchDirectories.PushBack(&mFirst.Get());
  MMResourceSearchDirectories.PushBack(&mSecond.Get());
  EXPECT_EQ(MMFindResourceDirectory("vpl3d.MMA"), &mFirst.Get());
}

TEST_F(MMResourceSearchDirectoriesTest, NamesAreMatchedWithoutRegardToCase) {
  mSecond.WriteBytes("VPL3D.mma", mBytes);
  MMResourceSearchDirectories.PushBack(&mFirst.Get());
  MMResourceSearchDirectories.PushBack(&mSecond.Get());
  EXPECT_EQ(MMFindResourceDirectory("vpl3d.MMA"), &mSecond.Get());
}

TEST_F(MMResourceSearchDirectoriesTest, AFileNoDirectoryHoldsIsNotFound) {
  MMResourceSearchDirectories.PushBack(&mFirst.Get());
  EXPECT_EQ(MMFindResourceDirectory("vpl3d.MMA"), nullptr);
  MMClearSearchDirectories();
  EXPECT_EQ(MMFindResourceDirectory("vpl3d.MMA"), nullptr);
}

}  // namespace
