#include "foundation/uu/UURecoverableCDFile.h"

#include "ScratchDirectory.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using vpl::platform::FailReadsOfFile;
using vpl::platform::MessageBoxCount;

class UURecoverableCDFileTest : public testing::Test {
 protected:
  void SetUp() override {
    Bytes bytes(64);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    std::ofstream(mTemp.HostPath("disc.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), 64);
    vpl::platform::SetMessageBoxAnswer(0);
  }
  void TearDown() override {
    FailReadsOfFile(mTemp.HostPath("disc.bin"), 0, 0);
    vpl::platform::SetMessageBoxAnswer(0);
  }
  ScratchDirectory mTemp;
};

TEST_F(UURecoverableCDFileTest, RemovedDiscIsAskedForUntilReadsSucceed) {
  UURecoverableCDFile file(mTemp.Directory(), "disc.bin");
  ASSERT_TRUE(file.IsOpen());
  ASSERT_TRUE(file.Seek(8, kUUSeekFromStart, nullptr));
  FailReadsOfFile(mTemp.HostPath("disc.bin"), ERROR_NOT_READY, 2);
  vpl::platform::SetMessageBoxAnswer(IDOK);
  const int boxesBefore = MessageBoxCount();
  uint8_t out[4] = {};
  EXPECT_TRUE(file.Read(out, 4));
  EXPECT_EQ(MessageBoxCount() - boxesBefore, 2);
  EXPECT_EQ(vpl::platform::LastMessageBoxCaption(), "Missing CD");
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), "Reinsert the CD");
  EXPECT_EQ(out[0], 8);
  EXPECT_EQ(out[3], 11);
}

TEST_F(UURecoverableCDFileTest, CancelledBoxEndsTheRead) {
  UURecoverableCDFile file(mTemp.Directory(), "disc.bin");
  FailReadsOfFile(mTemp.HostPath("disc.bin"), ERROR_NOT_READY, -1);
  vpl::platform::SetMessageBoxAnswer(IDCANCEL);
  const int boxesBefore = MessageBoxCount();
  uint8_t out[4] = {};
  EXPECT_FALSE(file.Read(out, 4));
  EXPECT_EQ(MessageBoxCount() - boxesBefore, 1);
  EXPECT_EQ(file.GetError(), static_cast<UUStreamError>(ERROR_NOT_READY));
}

// Without a display the box answers 0, as no person saw it: the read gives
// up with the disc's error instead of asking again and again.
TEST_F(UURecoverableCDFileTest, ABoxThatCannotBeShownEndsTheRead) {
  constexpr int kFailures = 5;
  UURecoverableCDFile file(mTemp.Directory(), "disc.bin");
  FailReadsOfFile(mTemp.HostPath("disc.bin"), ERROR_NOT_READY, kFailures);
  const int boxesBefore = MessageBoxCount();
  uint8_t out[4] = {};
  EXPECT_FALSE(file.Read(out, 4));
  EXPECT_EQ(MessageBoxCount() - boxesBefore, 1);
  EXPECT_EQ(file.GetError(), static_cast<UUStreamError>(ERROR_NOT_READY));
}

TEST_F(UURecoverableCDFileTest, ShortReadsAndOtherErrorsFailWithoutAsking) {
  UURecoverableCDFile file(mTemp.Directory(), "disc.bin");
  const int boxesBefore = MessageBoxCount();
  ASSERT_TRUE(file.Seek(60, kUUSeekFromStart, nullptr));
  uint8_t out[8] = {};
  EXPECT_FALSE(file.Read(out, 8));
  EXPECT_EQ(file.GetError(), kUUErrorShortRead);

  file.SetError(kUUNoError);
  ASSERT_TRUE(file.Seek(0, kUUSeekFromStart, nullptr));
  FailReadsOfFile(mTemp.HostPath("disc.bin"), ERROR_ACCESS_DENIED, 1);
  EXPECT_FALSE(file.Read(out, 8));
  EXPECT_EQ(MessageBoxCount(), boxesBefore);
}

}  // namespace
