// Whether a range of bytes is mapped with a given access, from the
// process's own map.

#include "platform/win32/kernel.h"

#include <cstdio>

namespace {

// True when every byte of [first, first + n) lies in mappings whose
// permission string has the given letter ('r' or 'w') at the given column.
bool RangeIsMapped(uintptr_t first, uintptr_t n, int column, char letter) {
  if (n == 0) return true;
  if (first == 0 || first + n < first) return false;
  std::FILE* maps = std::fopen("/proc/self/maps", "r");
  if (maps == nullptr) return false;
  uintptr_t next = first;  // the first byte not yet known to be covered
  const uintptr_t end = first + n;
  unsigned long low = 0;
  unsigned long high = 0;
  char permissions[5] = {};
  while (next < end && std::fscanf(maps, "%lx-%lx %4s%*[^\n]", &low, &high, permissions) == 3) {
    if (low <= next && next < high && permissions[column] == letter) next = high;
  }
  std::fclose(maps);
  return next >= end;
}

}  // namespace

BOOL IsBadReadPtr(LPCVOID pointer, UINT_PTR n) {
  return RangeIsMapped(reinterpret_cast<uintptr_t>(pointer), n, 0, 'r') ? FALSE : TRUE;
}

BOOL IsBadWritePtr(LPVOID pointer, UINT_PTR n) {
  return RangeIsMapped(reinterpret_cast<uintptr_t>(pointer), n, 1, 'w') ? FALSE : TRUE;
}
