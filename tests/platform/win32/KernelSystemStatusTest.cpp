// The machine's memory and the free space of a folder's volume, and the
// answers tests give them instead.

#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

namespace {

using namespace vpl::platform;

constexpr SIZE_T kPhysical = 1000;
constexpr SIZE_T kPageFile = 24;
constexpr DWORD kFreeBytes = 5000000;

struct DiskAnswer {
  BOOL ok;
  uint64_t freeBytes;
};

DiskAnswer FreeSpaceOf(const char* folder) {
  DWORD sectors = 0;
  DWORD bytes = 0;
  DWORD freeClusters = 0;
  DWORD total = 0;
  const BOOL ok = GetDiskFreeSpaceA(folder, &sectors, &bytes, &freeClusters, &total);
  return {ok, uint64_t{sectors} * bytes * freeClusters};
}

TEST(KernelSystemStatusTest, MemoryStatusIsTheMachinesUntilATestSetsIt) {
  MEMORYSTATUS status{};
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwLength, sizeof status);
  EXPECT_GT(status.dwTotalPhys, 0u);
  EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
  SetMemoryStatus(kPhysical, kPageFile);
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwAvailPhys, kPhysical);
  EXPECT_EQ(status.dwAvailPageFile, kPageFile);
  ResetMemoryStatus();
  GlobalMemoryStatus(&status);
  EXPECT_NE(status.dwAvailPhys, kPhysical);
}

TEST(KernelSystemStatusTest, FreeSpaceOfAnyFolderAndOfAMissingOne) {
  const std::string temp = ToWindowsPath(std::filesystem::temp_directory_path().string());
  const DiskAnswer real = FreeSpaceOf(temp.c_str());
  EXPECT_TRUE(real.ok);
  EXPECT_GT(real.freeBytes, 0u);
  EXPECT_FALSE(FreeSpaceOf("C:\\no\\such\\folder\\").ok);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  SetDiskFreeSpace(kFreeBytes, false);
  EXPECT_EQ(FreeSpaceOf(temp.c_str()).freeBytes, kFreeBytes);
  SetDiskFreeSpace(kFreeBytes, true);
  EXPECT_FALSE(FreeSpaceOf(temp.c_str()).ok);
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  ResetDiskFreeSpace();
  EXPECT_TRUE(FreeSpaceOf(temp.c_str()).ok);
}

}  // namespace
