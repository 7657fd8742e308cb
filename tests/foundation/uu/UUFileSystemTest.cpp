#include "foundation/uu/UUFileSystem.h"

#include "TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// A/B/ with A/x.txt (5 bytes) and A/B/sub/.
class UUFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mTemp.MakeDirectory("A");
    mTemp.MakeDirectory("A/B");
    mTemp.MakeDirectory("A/B/sub");
    mTemp.MakeFile("A/x.txt", "12345");
    mA.Set(mTemp.Path("A").c_str());
    mB.Set(mTemp.Path("A\\B").c_str());
  }
  TempDirectory mTemp;
  UUDirectory mA;
  UUDirectory mB;
  char mName[kUUPathCapacity] = "junk";
  char mPath[kUUPathCapacity] = "junk";
};

TEST_F(UUFileSystemTest, QueriesAnswerForFilesAndDirectories) {
  int32_t size = 0;
  EXPECT_TRUE(UUDirectoryExists(mA));
  EXPECT_FALSE(UUDirectoryExists(UUDirectory(mTemp.Path("missing").c_str())));
  EXPECT_FALSE(UUDirectoryExists(UUDirectory()));
  EXPECT_TRUE(UUIsRootDirectory(UUDirectory("C:\\")));
  EXPECT_FALSE(UUIsRootDirectory(mA));
  EXPECT_TRUE(UUFileExists(mA, "x.txt"));
  EXPECT_TRUE(UUFileExists(mA, "X.TXT"));
  EXPECT_TRUE(UUFileExists(mA, "B"));
  EXPECT_FALSE(UUFileExists(mA, ""));
  EXPECT_TRUE(UUGetFileSize(mA, "x.txt", size));
  EXPECT_EQ(size, 5);
  EXPECT_FALSE(UUGetFileSize(mA, "nope", size));
  EXPECT_EQ(size, -1);
  EXPECT_FALSE(UUIsFileReadOnly(mA, "x.txt"));
}

TEST_F(UUFileSystemTest, MakeFilePathNeedsAnExistingDirectoryAndRoom) {
  EXPECT_TRUE(UUMakeFilePath(mPath, mA, "x.txt"));
  EXPECT_EQ(std::string(mPath), mTemp.Path("A\\x.txt"));
  EXPECT_FALSE(UUMakeFilePath(mPath, UUDirectory(mTemp.Path("none").c_str()), "x"));
  EXPECT_STREQ(mPath, "");
  const std::string longName(260 - std::string(mA.Text()).size(), 'n');
  EXPECT_FALSE(UUMakeFilePath(mPath, mA, longName.c_str()));
  EXPECT_STREQ(mPath, "");
  EXPECT_TRUE(UUMakeFilePath(mPath, mA, longName.substr(1).c_str()));
}

TEST_F(UUFileSystemTest, ExtensionIsTakenFromTheLastComponentOnly) {
  const struct {
    const char* path;
    const char* extension;
  } cases[] = {
      {"a.b.c", "c"}, {"abc", ""}, {"C:\\a.b\\file", ""}, {"C:\\a.b\\f.txt", "txt"}, {"name.", ""}};
  for (const auto& c : cases) {
    char extension[kUUPathCapacity] = "junk";
    UUGetExtension(c.path, extension);
    EXPECT_STREQ(extension, c.extension) << c.path;
  }
}

TEST_F(UUFileSystemTest, SplitLastComponentKeepsTheBackslash) {
  const struct {
    const char* path;
    bool result;
    const char* rest;
    const char* name;
  } cases[] = {{"C:\\A\\B\\", true, "C:\\A\\", "B"},
               {"C:\\A\\file.txt", true, "C:\\A\\", "file.txt"},
               {"C:\\", false, "C:\\", ""},
               {"\\\\s\\share\\d", true, "\\\\s\\share\\", "d"},
               {"nothing", false, "nothing", ""}};
  for (const auto& c : cases) {
    char path[kUUPathCapacity];
    std::snprintf(path, sizeof path, "%s", c.path);
    EXPECT_EQ(UUSplitLastComponent(path, mName), c.result) << c.path;
    EXPECT_STREQ(path, c.rest) << c.path;
    EXPECT_STREQ(mName, c.name) << c.path;
  }
}

TEST_F(UUFileSystemTest, ParentsSubdirectoriesAndSplits) {
  UUDirectory parent;
  UUDirectory directory;
  EXPECT_TRUE(UUGetParentDirectory(mB, mName, parent));
  EXPECT_STREQ(mName, "B");
  EXPECT_TRUE(UUSameDirectory(parent, mA));
  EXPECT_TRUE(UUGetParentDirectory(UUDirectory("C:\\"), mName, parent));
  EXPECT_STREQ(mName, "C:\\");
  EXPECT_FALSE(parent.IsSet());

  EXPECT_TRUE(UUGetSubdirectory(mA, "b", directory));
  EXPECT_TRUE(UUSameDirectory(directory, mB));
  EXPECT_FALSE(UUGetSubdirectory(mA, "x.txt", directory));
  EXPECT_FALSE(directory.IsSet());

  EXPECT_TRUE(UUSplitFilePath(mTemp.Path("A\\x.txt").c_str(), directory, mName));
  EXPECT_TRUE(UUSameDirectory(directory, mA));
  EXPECT_STREQ(mName, "x.txt");
  EXPECT_TRUE(UUSplitFilePath(mTemp.Path("A\\B").c_str(), directory, mName));
  EXPECT_TRUE(UUSameDirectory(directory, mB));
  EXPECT_STREQ(mName, "");
  EXPECT_FALSE(UUSplitFilePath(mTemp.Path("none\\x").c_str(), directory, mName));
}

TEST_F(UUFileSystemTest, ResolvePathWalksRelativeSteps) {
  UUDirectory sub;
  ASSERT_TRUE(UUGetSubdirectory(mB, "sub", sub));
  const UUDirectory root("C:\\");
  const struct {
    const char* path;
    const UUDirectory* base;
    bool result;
    const UUDirectory* directory;
    const char* name;
  } cases[] = {
      {"..\\x.txt", &mB, true, &mA, "x.txt"},
      {"..\\new.txt", &mB, true, &mA, "new.txt"},
      {".\\sub", &mB, true, &sub, ""},
      {".", &mB, true, &mB, ""},
      {":sub", &mB, true, &sub, ""},
      {"::x.txt", &mB, true, &mA, "x.txt"},
      {".hidden", &mB, false, nullptr, ""},
      {".\\\\sub", &mB, false, nullptr, ""},
      {"..\\..\\..\\x", &root, false, nullptr, ""},
      {".\\none\\x", &mB, false, nullptr, ""},
  };
  for (const auto& c : cases) {
    UUDirectory directory;
    EXPECT_EQ(UUResolvePath(c.path, *c.base, directory, mName), c.result) << c.path;
    if (c.directory != nullptr) {
      EXPECT_TRUE(UUSameDirectory(directory, *c.directory)) << c.path << " " << directory.Text();
    } else {
      EXPECT_FALSE(directory.IsSet()) << c.path;
    }
    EXPECT_STREQ(mName, c.name) << c.path;
  }
}

TEST_F(UUFileSystemTest, CreateRenameAndDelete) {
  UUDirectory made;
  EXPECT_TRUE(UUCreateDirectory(mA, "New", made));
  EXPECT_TRUE(UUDirectoryExists(made));
  EXPECT_FALSE(UUCreateDirectory(mA, "New", made));
  EXPECT_FALSE(made.IsSet());

  EXPECT_TRUE(UURenameFile(mA, "x.txt", "y.txt"));
  EXPECT_FALSE(UUFileExists(mA, "x.txt"));
  EXPECT_TRUE(UUFileExists(mA, "y.txt"));
  EXPECT_FALSE(UURenameFile(mA, "x.txt", "z.txt"));
  EXPECT_TRUE(UUDeleteFile(mA, "y.txt"));
  EXPECT_TRUE(UUDeleteFile(mA, "y.txt"));
  EXPECT_FALSE(UUDeleteFile(UUDirectory(mTemp.Path("none").c_str()), "y.txt"));
}

TEST_F(UUFileSystemTest, WellKnownDirectoriesExist) {
  UUDirectory directory;
  EXPECT_TRUE(UUGetModulePath(directory, mName));
  EXPECT_TRUE(UUDirectoryExists(directory));
  EXPECT_TRUE(UUFileExists(directory, mName));
  EXPECT_TRUE(UUGetTempDirectory(directory));
  EXPECT_TRUE(UUDirectoryExists(directory));
  EXPECT_TRUE(UUGetCurrentDirectory(directory));
  EXPECT_TRUE(UUDirectoryExists(directory));

  UUDirectory previous;
  previous.Assign(directory);
  ASSERT_TRUE(UUSetCurrentDirectory(mA.Text()));
  EXPECT_TRUE(UUGetCurrentDirectory(directory));
  EXPECT_TRUE(UUSetCurrentDirectory(previous.Text()));
  EXPECT_TRUE(UUSameDirectory(directory, mA));
}

// The desktop is named by $XDG_DESKTOP_DIR here; it is put back afterwards.
TEST_F(UUFileSystemTest, DesktopDirectoryIsFoundOnlyWhenItExists) {
  const char* saved = std::getenv("XDG_DESKTOP_DIR");
  const std::string previous = saved != nullptr ? saved : "";
  const auto host = [this](const char* name) {
    std::string path = mTemp.Path(name).substr(2);
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
  };
  UUDirectory directory;

  setenv("XDG_DESKTOP_DIR", host("A\\B").c_str(), 1);
  EXPECT_TRUE(UUGetDesktopDirectory(directory));
  EXPECT_TRUE(UUSameDirectory(directory, mB)) << directory.Text();

  setenv("XDG_DESKTOP_DIR", host("A\\none").c_str(), 1);
  EXPECT_FALSE(UUGetDesktopDirectory(directory));
  EXPECT_FALSE(directory.IsSet());

  if (saved != nullptr) {
    setenv("XDG_DESKTOP_DIR", previous.c_str(), 1);
  } else {
    unsetenv("XDG_DESKTOP_DIR");
  }
}

}  // namespace
