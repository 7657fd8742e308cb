// The machine's free memory and the free space of its volumes, and the
// values tests give them instead.

#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <string>

namespace {

struct MemoryAnswer {
  SIZE_T physical;
  SIZE_T pageFile;
};

struct DiskAnswer {
  DWORD freeBytes;
  bool fails;
};

std::mutex gStatusMutex;
std::optional<MemoryAnswer> gMemoryAnswer;
std::optional<DiskAnswer> gDiskAnswer;

constexpr uint64_t kMaxCount = std::numeric_limits<DWORD>::max();

DWORD ClampedCount(uint64_t count) { return static_cast<DWORD>(std::min(count, kMaxCount)); }

void FillFromSystem(MEMORYSTATUS& status) {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return;
  const uint64_t unit = info.mem_unit;
  status.dwTotalPhys = static_cast<SIZE_T>(info.totalram * unit);
  status.dwAvailPhys = static_cast<SIZE_T>((info.freeram + info.bufferram) * unit);
  status.dwTotalPageFile = static_cast<SIZE_T>(info.totalswap * unit);
  status.dwAvailPageFile = static_cast<SIZE_T>(info.freeswap * unit);
  if (status.dwTotalPhys != 0) {
    status.dwMemoryLoad = static_cast<DWORD>(100 - status.dwAvailPhys * 100 / status.dwTotalPhys);
  }
}

void Put(LPDWORD to, DWORD value) {
  if (to != nullptr) *to = value;
}

}  // namespace

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
  if (status == nullptr) return;
  *status = MEMORYSTATUS{.dwLength = sizeof(MEMORYSTATUS)};
  FillFromSystem(*status);
  status->dwTotalVirtual = std::numeric_limits<SIZE_T>::max() / 2;
  status->dwAvailVirtual = status->dwTotalVirtual;
  std::lock_guard lock(gStatusMutex);
  if (gMemoryAnswer) {
    status->dwAvailPhys = gMemoryAnswer->physical;
    status->dwAvailPageFile = gMemoryAnswer->pageFile;
  }
}

BOOL GetDiskFreeSpaceA(LPCSTR folder, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters) {
  {
    std::lock_guard lock(gStatusMutex);
    if (gDiskAnswer) {
      if (gDiskAnswer->fails) {
        SetLastError(ERROR_NOT_READY);
        return FALSE;
      }
      Put(sectorsPerCluster, 1);
      Put(bytesPerSector, 1);
      Put(freeClusters, gDiskAnswer->freeBytes);
      Put(totalClusters, gDiskAnswer->freeBytes);
      return TRUE;
    }
  }
  const std::string host = folder != nullptr ? vpl::platform::ToHostPath(folder) : std::string();
  struct statvfs volume {};
  if (host.empty() || statvfs(host.c_str(), &volume) != 0) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  Put(sectorsPerCluster, 1);
  Put(bytesPerSector, static_cast<DWORD>(volume.f_frsize));
  Put(freeClusters, ClampedCount(volume.f_bavail));
  Put(totalClusters, ClampedCount(volume.f_blocks));
  return TRUE;
}

namespace vpl::platform {

void SetMemoryStatus(SIZE_T availablePhysical, SIZE_T availablePageFile) {
  std::lock_guard lock(gStatusMutex);
  gMemoryAnswer = MemoryAnswer{availablePhysical, availablePageFile};
}

void ResetMemoryStatus() {
  std::lock_guard lock(gStatusMutex);
  gMemoryAnswer.reset();
}

void SetDiskFreeSpace(DWORD freeBytes, bool failQuery) {
  std::lock_guard lock(gStatusMutex);
  gDiskAnswer = DiskAnswer{freeBytes, failQuery};
}

void ResetDiskFreeSpace() {
  std::lock_guard lock(gStatusMutex);
  gDiskAnswer.reset();
}

}  // namespace vpl::platform
