// Last error, critical sections, version and error mode.

#include "platform/win32/kernel.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;
std::atomic<UINT> gErrorMode{0};

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::storage));

std::recursive_mutex& MutexOf(LPCRITICAL_SECTION section) {
  return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->storage));
}

}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD error) { tLastError = error; }

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  new (section->storage) std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).~recursive_mutex(); }

void EnterCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).lock(); }
void LeaveCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).unlock(); }

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
  if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = 5;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 2195;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

UINT SetErrorMode(UINT mode) { return gErrorMode.exchange(mode); }
