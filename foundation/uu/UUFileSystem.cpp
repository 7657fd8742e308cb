#include "foundation/uu/UUFileSystem.h"

#include "foundation/uu/UUString.h"
#include "foundation/uu/VPLFormatName.h"
#include "platform/win32/kernel.h"
#include "platform/win32/shell.h"

#include <cstring>

namespace {

// directory + name into a path buffer; false when it does not fit.
bool JoinPath(const UUDirectory& directory, const char* name, char* path) {
  return VPLFormatName(path, "%s%s", directory.Text(), name != nullptr ? name : "");
}

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

bool Fail(char* text) {
  text[0] = '\0';
  return false;
}

bool Fail(UUDirectory& directory, char* name) {
  directory.Clear();
  return Fail(name);
}

DWORD AttributesOf(const UUDirectory& directory, const char* name) {
  char path[kUUPathCapacity];
  return JoinPath(directory, name, path) ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
}

// A system answer of a directory text, taken when it is 1 to 259 bytes.
template <typename Query>
bool SetFromSystem(UUDirectory& directory, Query query) {
  char path[kUUPathCapacity];
  const DWORD length = query(path);
  directory.Clear();
  if (length == 0 || length >= kUUPathCapacity) return false;
  return directory.Set(path) >= 0;
}

}  // namespace

bool UUDirectoryExists(const UUDirectory& directory) {
  char pattern[kUUPathCapacity];
  if (!directory.IsSet() || !JoinPath(directory, "*.*", pattern)) return false;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool UUIsRootDirectory(const UUDirectory& directory) {
  return UUDirectoryExists(directory) &&
         directory.RootLength() == static_cast<int32_t>(std::strlen(directory.Text()));
}

bool UUFileExists(const UUDirectory& directory, const char* name) {
  return directory.IsSet() && !IsEmpty(name) &&
         AttributesOf(directory, name) != INVALID_FILE_ATTRIBUTES;
}

bool UUIsFileReadOnly(const UUDirectory& directory, const char* name) {
  if (!UUDirectoryExists(directory)) return false;
  const DWORD attributes = AttributesOf(directory, name);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool UUGetFileSize(const UUDirectory& directory, const char* name, int32_t& size) {
  size = -1;
  char path[kUUPathCapacity];
  if (!UUFileExists(directory, name) || !UUDirectoryExists(directory) ||
      !JoinPath(directory, name, path)) {
    return false;
  }
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  size = static_cast<int32_t>(data.nFileSizeLow);
  return true;
}

bool UUMakeFilePath(char* path, const UUDirectory& directory, const char* name) {
  if (!UUDirectoryExists(directory) || !JoinPath(directory, name, path)) return Fail(path);
  return path[0] != '\0';
}

void UUGetExtension(const char* path, char* extension) {
  extension[0] = '\0';
  const char* end = path + std::strlen(path);
  for (const char* p = end; p > path;) {
    p = CharPrevA(path, p);
    if (*p == '\\') return;
    if (CompareStringA(LOCALE_USER_DEFAULT, 0, p, 1, ".", 1) == CSTR_EQUAL) {
      UUCopyString(p + 1, extension, kUUPathCapacity);
      return;
    }
  }
}

bool UUGetShortDirectoryPath(const UUDirectory& directory, char* path) {
  return UUGetShortFilePath(directory, "", path);
}

bool UUGetShortFilePath(const UUDirectory& directory, const char* name, char* path) {
  if (!UUDirectoryExists(directory) || !JoinPath(directory, name, path)) return Fail(path);
  const DWORD length = GetShortPathNameA(path, path, kUUPathCapacity);
  return length != 0 && length < kUUPathCapacity ? true : Fail(path);
}

bool UUSplitLastComponent(char* path, char* name) {
  name[0] = '\0';
  const int32_t root = UUDirectoryRootLength(path);
  auto length = static_cast<int32_t>(std::strlen(path));
  if (root < 0 || length <= root) return false;
  if (path[length - 1] == '\\') --length;
  int32_t start = length;
  while (start > 0 && path[start - 1] != '\\') --start;
  if (start == length) return false;
  const int32_t nameLength = length - start;
  if (nameLength >= kUUPathCapacity) return false;
  std::memcpy(name, path + start, static_cast<size_t>(nameLength));
  name[nameLength] = '\0';
  path[start] = '\0';
  return true;
}

bool UUGetParentDirectory(const UUDirectory& directory, char* name, UUDirectory& parent) {
  if (!UUDirectoryExists(directory)) return Fail(parent, name);
  if (UUIsRootDirectory(directory)) {
    parent.Clear();
    UUCopyString(directory.Text(), name, kUUPathCapacity);
    return true;
  }
  char rest[kUUPathCapacity];
  UUCopyString(directory.Text(), rest, kUUPathCapacity);
  if (!UUSplitLastComponent(rest, name)) return Fail(parent, name);
  parent.Set(rest);
  return true;
}

bool UUGetSubdirectory(const UUDirectory& parent, const char* name, UUDirectory& directory) {
  char path[kUUPathCapacity];
  if (!parent.IsSet() || IsEmpty(name) || !JoinPath(parent, name, path) ||
      directory.Set(path) < 0 || !UUDirectoryExists(directory)) {
    directory.Clear();
    return false;
  }
  return true;
}

bool UUSplitFilePath(const char* path, UUDirectory& directory, char* name) {
  name[0] = '\0';
  if (directory.Set(path) >= 0 && UUDirectoryExists(directory)) return true;
  char rest[kUUPathCapacity];
  if (IsEmpty(path) || !UUCopyString(path, rest, kUUPathCapacity) ||
      !UUSplitLastComponent(rest, name) || directory.Set(rest) < 0 ||
      !UUDirectoryExists(directory)) {
    return Fail(directory, name);
  }
  return true;
}

namespace {

// A "." path as colon-separated steps: "." skipped, ".." an empty step,
// other names followed by a colon. False for names starting with "." and
// for empty components.
bool StepsOfDotPath(const char* path, char* steps) {
  steps[0] = '\0';
  const char* p = path;
  while (*p != '\0') {
    const char* end = std::strchr(p, '\\');
    const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
    const bool dot = length == 1 && p[0] == '.';
    const bool dotDot = length == 2 && p[0] == '.' && p[1] == '.';
    if (length == 0 || (p[0] == '.' && !dot && !dotDot)) return false;
    if (dotDot && !UUAppendString(":", steps, kUUPathCapacity)) return false;
    if (!dot && !dotDot) {
      char component[kUUPathCapacity];
      if (length >= sizeof component) return false;
      std::memcpy(component, p, length);
      component[length] = '\0';
      if (!UUAppendString(component, steps, kUUPathCapacity) ||
          !UUAppendString(":", steps, kUUPathCapacity)) {
        return false;
      }
    }
    p += length;
    if (*p == '\\') ++p;
  }
  return true;
}

// Walks colon-separated steps from the directory.
bool ApplySteps(const char* steps, UUDirectory& directory, char* name) {
  for (const char* p = steps; *p != '\0';) {
    if (*p == ':') {
      char ignored[kUUPathCapacity];
      UUDirectory parent;
      if (UUIsRootDirectory(directory) || !UUGetParentDirectory(directory, ignored, parent)) {
        return false;
      }
      directory.Assign(parent);
      ++p;
      continue;
    }
    const char* end = std::strchr(p, ':');
    const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
    if (length >= kUUPathCapacity) return false;
    char step[kUUPathCapacity];
    std::memcpy(step, p, length);
    step[length] = '\0';
    p += length;
    if (*p == ':') ++p;
    UUDirectory next;
    if (UUGetSubdirectory(directory, step, next)) {
      directory.Assign(next);
    } else if (*p == '\0') {
      std::memcpy(name, step, length + 1);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

bool UUResolvePath(const char* path, const UUDirectory& base, UUDirectory& directory, char* name) {
  directory.Clear();
  name[0] = '\0';
  if (IsEmpty(path) || (path[0] != ':' && path[0] != '.')) {
    return UUSplitFilePath(path, directory, name);
  }
  if (!UUDirectoryExists(base)) return false;
  char steps[kUUPathCapacity];
  const bool parsed =
      path[0] == ':' ? UUCopyString(path + 1, steps, kUUPathCapacity) : StepsOfDotPath(path, steps);
  UUDirectory current;
  current.Assign(base);
  if (!parsed || !ApplySteps(steps, current, name)) return Fail(directory, name);
  directory.Assign(current);
  return true;
}

bool UUCreateDirectory(const UUDirectory& parent, const char* name, UUDirectory& directory) {
  char path[kUUPathCapacity];
  directory.Clear();
  if (!parent.IsSet() || IsEmpty(name) || !JoinPath(parent, name, path) ||
      !CreateDirectoryA(path, nullptr)) {
    return false;
  }
  return directory.Set(path) >= 0;
}

bool UUDeleteFile(const UUDirectory& directory, const char* name) {
  char path[kUUPathCapacity];
  if (!UUDirectoryExists(directory) || IsEmpty(name) || !JoinPath(directory, name, path)) {
    return false;
  }
  return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool UURenameFile(const UUDirectory& directory, const char* oldName, const char* newName) {
  char from[kUUPathCapacity];
  char to[kUUPathCapacity];
  return UUDirectoryExists(directory) && !IsEmpty(oldName) && !IsEmpty(newName) &&
         JoinPath(directory, oldName, from) && JoinPath(directory, newName, to) &&
         MoveFileA(from, to);
}

bool UUGetModulePath(UUDirectory& directory, char* name) {
  char path[kUUPathCapacity];
  const DWORD length = GetModuleFileNameA(nullptr, path, kUUPathCapacity);
  directory.Clear();
  name[0] = '\0';
  if (length > 0 && length < kUUPathCapacity && UUSplitLastComponent(path, name)) {
    directory.Set(path);
  }
  return true;
}

bool UUGetModuleDirectory(UUDirectory& directory) {
  char name[kUUPathCapacity];
  return UUGetModulePath(directory, name);
}

bool UUGetWindowsDirectory(UUDirectory& directory) {
  return SetFromSystem(directory,
                       [](char* path) { return GetWindowsDirectoryA(path, kUUPathCapacity); });
}

bool UUGetTempDirectory(UUDirectory& directory) {
  return SetFromSystem(directory, [](char* path) { return GetTempPathA(kUUPathCapacity, path); });
}

bool UUGetCurrentDirectory(UUDirectory& directory) {
  return SetFromSystem(directory,
                       [](char* path) { return GetCurrentDirectoryA(kUUPathCapacity, path); });
}

bool UUSetCurrentDirectory(const char* path) { return SetCurrentDirectoryA(path) != FALSE; }

// The item list is freed and the shell's allocator released whatever the
// outcome; a list whose path cannot be read gives no directory either.
bool UUGetDesktopDirectory(UUDirectory& directory) {
  directory.Clear();
  IMalloc* shellAllocator = nullptr;
  if (FAILED(SHGetMalloc(&shellAllocator))) return false;
  LPITEMIDLIST list = nullptr;
  bool found = false;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &list))) {
    char path[kUUPathCapacity];
    found = SHGetPathFromIDListA(list, path) && directory.Set(path) >= 0;
    shellAllocator->Free(list);
  }
  shellAllocator->Release();
  return found;
}
