// Modules loaded at run time. The layer provides none yet, so every name is
// a missing library, as on a machine without it.

#include "platform/win32/kernel.h"

HMODULE LoadLibraryA(LPCSTR) {
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE, LPCSTR) {
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

BOOL FreeLibrary(HMODULE) {
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
