// The entry in this process: a second copy, the memory and disk checks at
// their limits and the command line's OpenGL choice. The program file is
// said to lie in the test's own folder, so that its Library and lock meet
// no other test's. A start that passes every check runs the application,
// which finds no data files beside that file and reports that, so the run
// ends by itself.

#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLWinMain.h"
#include "foundation/af/AFError.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ShellTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace vpl::platform;

constexpr SIZE_T kMinimumMemory = 44040192;
constexpr SIZE_T kPlentyOfMemory = kMinimumMemory * 4;
constexpr DWORD kMinimumDisk = 5000000;
constexpr int kSecondCopy = 0;
constexpr int kFailed = 1;

std::string StringOf(UINT id) {
  char text[512];
  return LoadStringA(nullptr, id, text, sizeof text) > 0 ? text : "";
}

class VPLWinMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(mFolder.Path() / "program");
    SetModuleFilePath(mFolder.Path() / "program" / "vpl3d");
    VPLOpenGLFirst = 0;
    SetMessageBoxAnswer(IDOK);
  }
  void TearDown() override {
    ResetMemoryStatus();
    ResetDiskFreeSpace();
    SetModuleFilePath({});
    AFClearError();
    VPLOpenGLFirst = 0;
  }

  int Start(const char* commandLine, int show = SW_SHOWNORMAL) {
    std::string line = commandLine;
    return WinMain(nullptr, nullptr, line.data(), show);
  }

  ShellTestFolder mFolder{"winmain"};
};

struct CheckCase {
  const char* name;
  SIZE_T physical;
  SIZE_T pageFile;
  DWORD freeDisk;
  bool diskQueryFails;
  UINT message;  // the box the start ends with; 0 when it ran
};

// Every start here fails: at a check, or in the run, which finds no data
// files beside the test program.
TEST_F(VPLWinMainTest, MemoryAndDiskChecksStopAtTheirLimits) {
  const std::vector<CheckCase> cases = {
      {"memory exactly enough", kMinimumMemory - 4096, 4096, kMinimumDisk - 1, false, 111},
      {"one byte of memory short", kMinimumMemory - 4096, 4095, kMinimumDisk, false, 107},
      {"disk exactly enough", kPlentyOfMemory, 0, kMinimumDisk, false, 0},
      {"one byte of disk short", kPlentyOfMemory, 0, kMinimumDisk - 1, false, 111},
      {"disk query fails", kPlentyOfMemory, 0, 0, true, 0},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetMemoryStatus(c.physical, c.pageFile);
    SetDiskFreeSpace(c.freeDisk, c.diskQueryFails);
    const int boxesBefore = MessageBoxCount();
    EXPECT_EQ(Start(""), kFailed);
    AFClearError();
    if (c.message != 0) {
      EXPECT_EQ(MessageBoxCount(), boxesBefore + 1);
      EXPECT_EQ(LastMessageBoxText(), StringOf(c.message));
    } else {
      EXPECT_NE(LastMessageBoxText(), StringOf(107));
      EXPECT_NE(LastMessageBoxText(), StringOf(111));
    }
  }
}

struct CommandLineCase {
  int show;
  const char* commandLine;
  uint8_t openGLFirst;
};

TEST_F(VPLWinMainTest, ACommandLineBeginningWithOAsksForOpenGLFirstWhenShown) {
  SetMemoryStatus(0, 0);
  const std::vector<CommandLineCase> cases = {{0, "open", 0}, {1, "Open", 1}, {1, "o", 1},
                                              {1, " o", 0},   {1, "", 0},     {1, "x", 0}};
  for (const CommandLineCase& c : cases) {
    SCOPED_TRACE(std::string("show ") + std::to_string(c.show) + " '" + c.commandLine + "'");
    VPLOpenGLFirst = 0;
    EXPECT_EQ(Start(c.commandLine, c.show), kFailed);
    EXPECT_EQ(VPLOpenGLFirst, c.openGLFirst);
  }
}

TEST_F(VPLWinMainTest, ASecondCopyEndsSilentlyBeforeLookingAtAnything) {
  const HANDLE first = CreateSemaphoreA(nullptr, 0, 1, "VPL3DSemaphore");
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(GetLastError(), ERROR_SUCCESS);
  SetMemoryStatus(0, 0);
  const int boxesBefore = MessageBoxCount();
  EXPECT_EQ(Start("o"), kSecondCopy);
  EXPECT_EQ(MessageBoxCount(), boxesBefore);
  EXPECT_EQ(VPLOpenGLFirst, 0);
  CloseHandle(first);
  EXPECT_EQ(Start("o"), kFailed);
  EXPECT_EQ(LastMessageBoxText(), StringOf(107));
}

}  // namespace
