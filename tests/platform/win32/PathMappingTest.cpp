#include "platform/win32/PathMapping.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using vpl::platform::ToHostPath;
using vpl::platform::ToWindowsPath;

// A fresh host directory holding Data/Sub/File.TXT.
class PathMappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vplpathXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mRoot = pattern;
    mkdir((mRoot + "/Data").c_str(), 0700);
    mkdir((mRoot + "/Data/Sub").c_str(), 0700);
    std::ofstream(mRoot + "/Data/Sub/File.TXT") << "x";
  }
  void TearDown() override { std::system(("rm -rf " + mRoot).c_str()); }
  std::string Win(const std::string& rest) const { return ToWindowsPath(mRoot) + rest; }
  std::string mRoot;
};

TEST_F(PathMappingTest, MapsDriveAndFindsNamesWithoutRegardToCase) {
  struct Case {
    std::string windows;
    std::string host;
  } cases[] = {
      {Win("\\Data\\Sub\\File.TXT"), mRoot + "/Data/Sub/File.TXT"},
      {Win("\\data\\SUB\\file.txt"), mRoot + "/Data/Sub/File.TXT"},
      {Win("\\DATA\\missing\\Sub"), mRoot + "/Data/missing/Sub"},
      {Win("\\Data\\.\\x\\..\\sub\\"), mRoot + "/Data/Sub"},
      {"c:\\", "/"},
      {"C:\\..\\..", "/"},
      {"\\tmp", "/tmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToHostPath(c.windows.c_str()), c.host) << c.windows;
}

TEST_F(PathMappingTest, RelativePathsStartAtTheCurrentDirectory) {
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir((mRoot + "/Data").c_str()), 0);
  const std::string relative = ToHostPath("sub\\FILE.txt");
  const std::string driveRelative = ToHostPath("C:..\\data");
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(relative, mRoot + "/Data/Sub/File.TXT");
  EXPECT_EQ(driveRelative, mRoot + "/Data");
}

TEST_F(PathMappingTest, OtherDrivesSharesAndEmptyPathsHaveNoHostPath) {
  for (const char* path :
       {"D:\\x", "\\\\server\\share\\x", "", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(ToHostPath(path), "") << (path ? path : "null");
  }
}

TEST_F(PathMappingTest, AnsiNamesBecomeUtf8OnTheHost) {
  EXPECT_EQ(ToHostPath((Win("\\caf") + "\xE9").c_str()), mRoot + "/caf\xC3\xA9");
  EXPECT_EQ(ToWindowsPath("/"), "C:\\");
  EXPECT_EQ(ToWindowsPath("/a/caf\xC3\xA9"), "C:\\a\\caf\xE9");
}

}  // namespace
