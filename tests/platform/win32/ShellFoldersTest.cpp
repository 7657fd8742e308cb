#include "platform/win32/shell.h"

#include "platform/win32/PathMapping.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

// A fresh home directory; $HOME and $XDG_DESKTOP_DIR are restored after.
class ShellFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Save("HOME", mHome);
    Save("XDG_DESKTOP_DIR", mDesktop);
    char pattern[] = "/tmp/vplshellXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(pattern, resolved), nullptr);
    mRoot = resolved;
    setenv("HOME", mRoot.c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
  }
  void TearDown() override {
    Restore("HOME", mHome);
    Restore("XDG_DESKTOP_DIR", mDesktop);
    std::filesystem::remove_all(mRoot);
  }
  static void Save(const char* name, std::optional<std::string>& value) {
    const char* text = std::getenv(name);
    if (text != nullptr) value = text;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  // The desktop's path as the shell answers it, or "<missing>".
  static std::string DesktopPath() {
    LPITEMIDLIST list = nullptr;
    const HRESULT result = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &list);
    if (FAILED(result)) {
      EXPECT_EQ(result, E_FAIL);
      EXPECT_EQ(list, nullptr);
      return "<missing>";
    }
    IMalloc* allocator = nullptr;
    EXPECT_EQ(SHGetMalloc(&allocator), S_OK);
    char path[MAX_PATH] = "junk";
    EXPECT_TRUE(SHGetPathFromIDListA(list, path));
    allocator->Free(list);
    allocator->Release();
    return path;
  }

  std::string mRoot;
  std::optional<std::string> mHome;
  std::optional<std::string> mDesktop;
};

TEST_F(ShellFoldersTest, TheDesktopIsFoundWhereTheUserKeepsIt) {
  EXPECT_EQ(DesktopPath(), "<missing>");
  mkdir((mRoot + "/Desktop").c_str(), 0700);
  EXPECT_EQ(DesktopPath(), vpl::platform::ToWindowsPath(mRoot + "/Desktop"));

  mkdir((mRoot + "/Bureau").c_str(), 0700);
  setenv("XDG_DESKTOP_DIR", (mRoot + "/Bureau").c_str(), 1);
  EXPECT_EQ(DesktopPath(), vpl::platform::ToWindowsPath(mRoot + "/Bureau"));
  setenv("XDG_DESKTOP_DIR", "Bureau", 1);
  EXPECT_EQ(DesktopPath(), vpl::platform::ToWindowsPath(mRoot + "/Desktop"));
}

TEST_F(ShellFoldersTest, FoldersTheSystemCannotNameAreMissing) {
  // A name of characters the ANSI code page lacks, a file, a missing
  // folder, and a folder whose Windows path would pass MAX_PATH.
  const std::string unspellable = mRoot + "/\xE6\xA1\x8C\xE9\x9D\xA2";
  const std::string tooLong = mRoot + "/" + std::string(250, 'd');
  std::filesystem::create_directory(unspellable);
  std::filesystem::create_directory(tooLong);
  std::ofstream(mRoot + "/file") << "x";
  const std::string cases[] = {unspellable, mRoot + "/file", mRoot + "/none", tooLong};
  for (const std::string& desktop : cases) {
    setenv("XDG_DESKTOP_DIR", desktop.c_str(), 1);
    EXPECT_EQ(DesktopPath(), "<missing>") << desktop;
  }

  LPITEMIDLIST list = reinterpret_cast<LPITEMIDLIST>(this);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 5, &list), E_INVALIDARG);
  EXPECT_EQ(list, nullptr);
  char path[MAX_PATH];
  EXPECT_FALSE(SHGetPathFromIDListA(nullptr, path));
  const unsigned char emptyList[2] = {0, 0};
  EXPECT_FALSE(SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(emptyList), path));
}

}  // namespace
