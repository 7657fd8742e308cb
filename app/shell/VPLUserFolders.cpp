#include "app/shell/VPLUserFolders.h"

#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/shell.h"

namespace {

constexpr char kProbeName[] = "vpl3d-write-test.tmp";

// Makes and removes a file: what the program does there later.
bool CanMakeFileIn(const UUDirectory& directory) {
  char path[kUUPathCapacity];
  if (!UUMakeFilePath(path, directory, kProbeName)) return false;
  const HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(path);
  return true;
}

bool GetLocalDataFolder(UUDirectory& directory) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_LOCAL_APPDATA, &list))) return false;
  char path[MAX_PATH];
  const bool found = SHGetPathFromIDListA(list, path) != FALSE;
  LPMALLOC allocator = nullptr;
  SHGetMalloc(&allocator);
  allocator->Free(list);
  allocator->Release();
  return found && directory.Set(path) >= 0;
}

}  // namespace

bool VPLGetUserFoldersBase(UUDirectory& directory) {
  if (UUGetModuleDirectory(directory) && CanMakeFileIn(directory)) return true;
  return GetLocalDataFolder(directory);
}
