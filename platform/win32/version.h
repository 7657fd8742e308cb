#pragma once
// Version resources. Only the program's own file has one: its version
// strings are compiled in and answered as a version-information block of
// the ANSI layout (each node a 16-bit length, a 16-bit value length, its
// terminated key, then its value and its children, each aligned on 4
// bytes). Every other file answers as a file without a version resource.

#include "platform/win32/kernel.h"

using PUINT = UINT*;

constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

// The value of the query "\": the fixed file information, 13 32-bit words.
struct VS_FIXEDFILEINFO {
  DWORD dwSignature;  // VS_FFI_SIGNATURE
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};
constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;

// The size of the file's version-information block; *handle is set to 0.
// 0 with ERROR_RESOURCE_TYPE_NOT_FOUND for a file without one, with
// ERROR_FILE_NOT_FOUND for a missing file.
DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle);
// Copies the block; a buffer smaller than the block fails with
// ERROR_INSUFFICIENT_BUFFER rather than holding a block cut short.
BOOL GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD size, LPVOID data);
// Looks up a backslash-separated path of keys ("\" is the fixed file
// information, "\VarFileInfo\Translation" the language and code-page
// words, "\StringFileInfo\<translation>\<name>" a terminated text), keys
// compared without regard to case. *value points into the block, *length
// is the value's size in bytes (a text's includes its terminator). A path
// not found, a node without a value or a damaged block answer FALSE, null
// and 0.
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length);
