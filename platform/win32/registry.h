#pragma once
// The registry: keys and typed values kept in a per-user file store under
// $XDG_CONFIG_HOME/vpl3d/ (default ~/.config/vpl3d/), both root keys in one
// file, written atomically after every change. Names of keys and values are
// found without regard to case and keep the case they were made with.

#include "platform/win32/kernel.h"

using HKEY = struct HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

// The two roots the system uses; closing them does nothing. On purpose
// there is no HKEY_CLASSES_ROOT nor any other root: the program keeps
// nothing there, and a caller that names one does not compile.
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// Every call answers its error code (ERROR_SUCCESS on success). A sub-key
// path may hold several backslash-separated levels, 512 levels at most
// (ERROR_BAD_PATHNAME). A change that cannot be written to the store is
// undone and fails with ERROR_WRITE_FAULT.
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options,
                     REGSAM access, void* security, PHKEY result, LPDWORD disposition);
// A sub-key path that starts with a backslash fails with ERROR_BAD_PATHNAME.
// ERROR_FILE_NOT_FOUND when a level is missing; *result is null on failure.
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
// A null or empty name is the key's default value. With data null, *size
// gets the size; a smaller *size gets the size and ERROR_MORE_DATA. A
// REG_SZ kept without a terminator gets one after it when there is room.
LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, BYTE* data,
                      LPDWORD size);
// A REG_SZ whose size leaves out its terminator is kept with one.
LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegDeleteValueA(HKEY key, LPCSTR name);
// A key with sub-keys is not deleted: ERROR_ACCESS_DENIED. An empty
// sub-key deletes the key of the handle itself.
LONG RegDeleteKeyA(HKEY key, LPCSTR subKey);
LONG RegCloseKey(HKEY key);
