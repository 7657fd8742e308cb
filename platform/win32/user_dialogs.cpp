// Modal dialogs. They are made from the module's dialog templates, and the
// program's module carries none, so no dialog ever runs.

#include "platform/win32/user.h"

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND, DLGPROC, LPARAM) {
  if (FindResourceA(instance, templateName, RT_DIALOG) == nullptr) return -1;
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return -1;
}

BOOL EndDialog(HWND, INT_PTR) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return FALSE;
}
