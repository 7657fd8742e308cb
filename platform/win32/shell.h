#pragma once
// The shell's special folders: the user's desktop directory,
// $XDG_DESKTOP_DIR when it is an absolute path, else ~/Desktop; and the
// local application data, $XDG_DATA_HOME/vpl3d (else ~/.local/share/vpl3d),
// made when missing. A folder that does not exist, or whose name the ANSI
// code page cannot spell, is missing as on a machine without it.

#include "platform/win32/kernel.h"
#include "platform/win32/user.h"

using HRESULT = LONG;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

// The shell's allocator: one per process. AddRef and Release count its
// users and never destroy it.
struct IMalloc {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // A block of at least size bytes, or null.
  virtual void* Alloc(SIZE_T size) = 0;
  // Frees a block of this allocator; null is ignored.
  virtual void Free(void* block) = 0;

 protected:
  ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

// An item list naming a folder, made by the shell in its allocator's memory
// and freed by the caller with IMalloc::Free.
using LPITEMIDLIST = struct ITEMIDLIST*;
using LPCITEMIDLIST = const struct ITEMIDLIST*;

constexpr int CSIDL_DESKTOPDIRECTORY = 16;
constexpr int CSIDL_LOCAL_APPDATA = 28;

// Adds a user to the shell's allocator; always S_OK.
HRESULT SHGetMalloc(LPMALLOC* allocator);
// The item list of a special folder (the owner window is not used):
// E_INVALIDARG for a folder not known here, E_FAIL when it is missing.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
// The folder's path into a buffer of MAX_PATH bytes (a trailing backslash
// only after a drive); FALSE for a null or empty item list.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
