#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A host directory with a few files, named for the system.
class FileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    mHost = fs::temp_directory_path() / ("vplnames" + std::to_string(random()));
    fs::create_directories(mHost / "Sub");
    for (const char* name : {"Read.Me", "readme", "a.txt", "b.TXT", "abc"}) {
      std::ofstream(mHost / name) << "12";
    }
    mWindows = vpl::platform::ToWindowsPath(mHost.string()) + "\\";
  }
  void TearDown() override { fs::remove_all(mHost); }

  std::set<std::string> Find(const std::string& pattern) const {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((mWindows + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
  }

  fs::path mHost;
  std::string mWindows;
};

TEST_F(FileNamesTest, WildcardsFollowTheWin32Rules) {
  using Names = std::set<std::string>;
  EXPECT_EQ(Find("*.*"), (Names{".", "..", "Read.Me", "readme", "a.txt", "b.TXT", "abc", "Sub"}));
  EXPECT_EQ(Find("*.txt"), (Names{"a.txt", "b.TXT"}));
  EXPECT_EQ(Find("?.txt"), (Names{"a.txt", "b.TXT"}));
  EXPECT_EQ(Find("read*.*"), (Names{"Read.Me", "readme"}));
  EXPECT_EQ(Find("a**c"), (Names{"abc"}));
  EXPECT_EQ(Find("README"), (Names{"readme"}));
  EXPECT_EQ(Find("nothing*"), Names{});
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Find("Missing\\*.*"), Names{});
}

TEST_F(FileNamesTest, AttributesAndChanges) {
  EXPECT_EQ(GetFileAttributesA((mWindows + "SUB").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA((mWindows + "A.TXT").c_str()), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesA((mWindows + "none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA((mWindows + "none\\x").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  EXPECT_FALSE(CreateDirectoryA((mWindows + "sub").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(MoveFileA((mWindows + "a.txt").c_str(), (mWindows + "abc").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(MoveFileA((mWindows + "A.txt").c_str(), (mWindows + "c.txt").c_str()));
  EXPECT_TRUE(fs::exists(mHost / "c.txt"));
  EXPECT_FALSE(DeleteFileA((mWindows + "a.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(RemoveDirectoryA(mWindows.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(RemoveDirectoryA((mWindows + "Sub").c_str()));
}

TEST_F(FileNamesTest, DrivesAndDosTimes) {
  char drives[8];
  EXPECT_EQ(GetLogicalDriveStringsA(sizeof drives, drives), 4u);
  EXPECT_EQ(std::string(drives, 5), std::string("C:\\\0", 5));
  EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveTypeA("D:\\"), DRIVE_NO_ROOT_DIR);
  char label[8] = "junk";
  EXPECT_TRUE(
      GetVolumeInformationA("C:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, "");
  EXPECT_FALSE(
      GetVolumeInformationA("D:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));

  // 2000-02-29 13:45:58 UTC.
  const uint64_t ticks = (951831958ull + 11644473600ull) * 10000000ull;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  WORD date = 0;
  WORD clock = 0;
  ASSERT_TRUE(FileTimeToDosDateTime(&time, &date, &clock));
  EXPECT_EQ(date, (20 << 9) | (2 << 5) | 29);
  EXPECT_EQ(clock, (13 << 11) | (45 << 5) | 29);
  const FILETIME early{0, 0};
  EXPECT_FALSE(FileTimeToDosDateTime(&early, &date, &clock));
}

// tmpfs keeps any 64-bit time; a FILETIME cannot count that far.
TEST(FileTimesTest, FarHostTimesArePinnedToTheFileTimeRange) {
  const fs::path shm = "/dev/shm";
  if (!fs::is_directory(shm)) GTEST_SKIP() << "no /dev/shm";
  const fs::path file = shm / ("vplfiletime" + std::to_string(std::random_device()()));
  std::ofstream(file) << "x";
  struct Case {
    int64_t seconds;
    uint64_t ticks;
  };
  const Case cases[] = {{int64_t{1} << 62, (INT64_MAX / 10000000 - 1) * 10000000ull},
                        {-(int64_t{1} << 40), 0}};
  for (const Case& c : cases) {
    const timespec times[2] = {{c.seconds, 0}, {c.seconds, 0}};
    if (utimensat(AT_FDCWD, file.c_str(), times, 0) != 0) continue;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(vpl::platform::ToWindowsPath(file.string()).c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    const uint64_t written =
        uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(written, c.ticks) << c.seconds;
  }
  fs::remove(file);
}

TEST(CodePageTest, ConvertsAnsiAndMacRomanTexts) {
  WCHAR wide[8];
  ASSERT_EQ(MultiByteToWideChar(CP_MACROMAN, 0, "\x8E\xA5x", 3, wide, 8), 3);
  EXPECT_EQ(wide[0], u'\u00E9');
  EXPECT_EQ(wide[1], u'\u2022');
  char text[8];
  BOOL usedDefault = TRUE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 3, text, 8, nullptr, &usedDefault), 3);
  EXPECT_EQ(std::string(text, 3), "\xE9\x95x");
  EXPECT_FALSE(usedDefault);
  const WCHAR greek[] = {u'\u03C0', 0};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, greek, -1, text, 8, nullptr, &usedDefault), 2);
  EXPECT_EQ(text[0], '?');
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(932, 0, "abc", -1, wide, 8), 0);
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    WCHAR w;
    char back;
    MultiByteToWideChar(CP_ACP, 0, &c, 1, &w, 1);
    WideCharToMultiByte(CP_ACP, 0, &w, 1, &back, 1, nullptr, nullptr);
    EXPECT_EQ(back, c) << byte;
  }
}

TEST(CodePageTest, CaseAndComparison) {
  char text[] = "\x9A\xE0Z";
  CharUpperA(text);
  EXPECT_STREQ(text, "\x8A\xC0Z");
  EXPECT_EQ(reinterpret_cast<uintptr_t>(CharLowerA(reinterpret_cast<LPSTR>(uintptr_t{'Q'}))),
            uintptr_t{'q'});
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abc", -1, "ABC", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abc", -1, "ABC", -1), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "ab", 2, "abc", -1), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, nullptr, -1, "a", -1), 0);
  EXPECT_EQ(lstrcmpiA("Vol", "VOL"), 0);
}

}  // namespace

TEST_F(FileNamesTest, MovingWithReplaceTakesThePlaceOfAnExistingFile) {
  const std::string from = mWindows + "a.txt";
  const std::string to = mWindows + "abc";
  EXPECT_FALSE(MoveFileA(from.c_str(), to.c_str()));
  EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), 0x2));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  std::ofstream(mHost / "a.txt") << "new";
  ASSERT_TRUE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(fs::exists(mHost / "a.txt"));
  std::ifstream moved(mHost / "abc");
  std::string text;
  moved >> text;
  EXPECT_EQ(text, "new");
}

TEST_F(FileNamesTest, RunTimeStreamsOpenWindowsPaths) {
  std::FILE* file = _fsopen((mWindows + "READ.ME").c_str(), "rb", _SH_DENYNO);
  ASSERT_NE(file, nullptr);
  char text[3] = {};
  EXPECT_EQ(std::fread(text, 1, 2, file), 2u);
  EXPECT_STREQ(text, "12");
  std::fclose(file);
  EXPECT_EQ(_fsopen((mWindows + "Missing\\x").c_str(), "wb", _SH_DENYNO), nullptr);
}

TEST_F(FileNamesTest, MovingWithoutReplaceRefusesATakenNameAndKeepsBothFiles) {
  const std::string from = mWindows + "a.txt";
  for (const char* taken : {"abc", "ABC", "Sub"}) {
    SCOPED_TRACE(taken);
    EXPECT_FALSE(MoveFileExA(from.c_str(), (mWindows + taken).c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(fs::exists(mHost / "a.txt"));
  }
  ASSERT_TRUE(MoveFileExA(from.c_str(), (mWindows + "Sub\\new").c_str(), MOVEFILE_WRITE_THROUGH));
  EXPECT_TRUE(fs::exists(mHost / "Sub" / "new"));
  EXPECT_FALSE(fs::exists(mHost / "a.txt"));
}

namespace {

std::vector<int> gSteps;
void RecordStep(int step) { gSteps.push_back(step); }

}  // namespace

TEST_F(FileNamesTest, EveryChangingStepPassesTheProbeInOrder) {
  vpl::platform::SetFileSystemStepProbe(RecordStep);
  gSteps.clear();
  const std::string name = mWindows + "new";
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "12", 2, &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
  MoveFileExA(name.c_str(), (mWindows + "moved").c_str(), MOVEFILE_REPLACE_EXISTING);
  DeleteFileA((mWindows + "moved").c_str());
  vpl::platform::SetFileSystemStepProbe(nullptr);
  EXPECT_EQ(gSteps, (std::vector<int>{0, 1, 2, 3, 4}));
}
