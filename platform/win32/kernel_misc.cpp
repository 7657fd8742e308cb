// Last error, critical sections, version and error mode.

#include "platform/win32/kernel.h"

#include <atomic>
#include <cstdint>
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

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = int64_t{number} * numerator;
  const int64_t half = (denominator < 0 ? -int64_t{denominator} : denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude = (product < 0 ? -product : product) + half;
  const int64_t quotient = magnitude / (denominator < 0 ? -int64_t{denominator} : denominator);
  const int64_t result = negative ? -quotient : quotient;
  return result < INT32_MIN || result > INT32_MAX ? -1 : static_cast<int>(result);
}
