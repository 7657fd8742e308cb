// Share modes of CreateFileA, between the handles of this process and
// between processes.

#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr DWORD kRead = GENERIC_READ;
constexpr DWORD kWrite = GENERIC_WRITE;
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareNone = 0;
constexpr DWORD kShareRead = FILE_SHARE_READ;
constexpr DWORD kShareBoth = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr char kContents[] = "0123456789";

class FileSharingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    mHost = fs::temp_directory_path() / ("vplshare" + std::to_string(random()));
    std::ofstream(mHost) << kContents;
    mPath = vpl::platform::ToWindowsPath(mHost.string());
  }
  void TearDown() override { fs::remove(mHost); }

  HANDLE Open(DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) const {
    return CreateFileA(mPath.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  }

  fs::path mHost;
  std::string mPath;
};

struct ShareCase {
  DWORD firstAccess;
  DWORD firstShare;
  DWORD secondAccess;
  DWORD secondShare;
  bool allowed;
};

// A second open is allowed when the first open's share mode allows its
// access and its share mode allows the first open's access.
TEST_F(FileSharingTest, ASecondOpenMeetsTheShareModeOfTheFirst) {
  constexpr ShareCase kCases[] = {
      {kReadWrite, kShareNone, kReadWrite, kShareNone, false},
      {kRead, kShareRead, kRead, kShareRead, true},
      {kRead, kShareRead, kReadWrite, kShareNone, false},
      {kReadWrite, kShareNone, kRead, kShareRead, false},
      {kRead, kShareRead, kRead, kShareNone, false},
      {kRead, kShareBoth, kWrite, kShareRead, true},
      {kWrite, kShareBoth, kRead, kShareRead, false},
      {0, kShareNone, kReadWrite, kShareNone, true},
  };
  for (const ShareCase& c : kCases) {
    SCOPED_TRACE(std::to_string(c.firstAccess) + "/" + std::to_string(c.firstShare) + " then " +
                 std::to_string(c.secondAccess) + "/" + std::to_string(c.secondShare));
    HANDLE first = Open(c.firstAccess, c.firstShare);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open(c.secondAccess, c.secondShare);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed);
    if (second == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    } else {
      CloseHandle(second);
    }
    CloseHandle(first);
    // Closing the handle ends its share mode.
    second = Open(c.secondAccess, c.secondShare);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
  }
}

// A refused open that would empty the file leaves it as it was.
TEST_F(FileSharingTest, ARefusedCreateLeavesTheFileAlone) {
  HANDLE first = Open(kReadWrite, kShareNone);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(kReadWrite, kShareNone, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(fs::file_size(mHost), sizeof kContents - 1);
  CloseHandle(first);
  HANDLE created = Open(kReadWrite, kShareNone, CREATE_ALWAYS);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  EXPECT_EQ(fs::file_size(mHost), 0u);
  CloseHandle(created);
}

// Another process that holds the file for writing alone refuses this
// process's writers until it closes it.
TEST_F(FileSharingTest, ShareModesHoldBetweenProcesses) {
  int opened[2];
  int release[2];
  ASSERT_EQ(pipe(opened), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  if (child == 0) {
    HANDLE held = Open(kReadWrite, kShareNone);
    const char ready = held != INVALID_HANDLE_VALUE ? 'y' : 'n';
    char go = 0;
    const bool talked = write(opened[1], &ready, 1) == 1 && read(release[0], &go, 1) == 1;
    _exit(talked ? 0 : 1);
  }
  char ready = 0;
  ASSERT_EQ(read(opened[0], &ready, 1), 1);
  EXPECT_EQ(ready, 'y');
  EXPECT_EQ(Open(kReadWrite, kShareNone), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Open(kRead, kShareBoth), INVALID_HANDLE_VALUE);
  const char go = 'g';
  EXPECT_EQ(write(release[1], &go, 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  HANDLE after = Open(kReadWrite, kShareNone);
  EXPECT_NE(after, INVALID_HANDLE_VALUE);
  CloseHandle(after);
  for (const int fd : {opened[0], opened[1], release[0], release[1]}) close(fd);
}

}  // namespace
