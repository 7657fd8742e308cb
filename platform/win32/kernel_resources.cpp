// Module resources. The program's module carries none of the kinds looked
// up here, so every search fails as it does for a module without them.

#include "platform/win32/kernel.h"
#include "platform/win32/user.h"

HRSRC FindResourceA(HMODULE, LPCSTR, LPCSTR) {
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC) {
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return nullptr;
}

LPVOID LockResource(HGLOBAL resource) { return resource; }

DWORD SizeofResource(HMODULE, HRSRC) {
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return 0;
}
