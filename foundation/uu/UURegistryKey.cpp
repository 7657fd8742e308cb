#include "foundation/uu/UURegistryKey.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"

#include <cstring>

namespace {

HKEY const kNoKey = reinterpret_cast<HKEY>(intptr_t{-1});

// Opens or creates each level of the path in turn below root.
HKEY OpenLevels(const char* path, HKEY root) {
  char levels[kUUPathCapacity];
  if (path == nullptr || !UUCopyString(path, levels, kUUPathCapacity)) return kNoKey;
  HKEY parent = root;
  char className[] = "";
  for (char* level = std::strtok(levels, "\\"); level != nullptr;
       level = std::strtok(nullptr, "\\")) {
    HKEY key;
    const LONG result = RegCreateKeyExA(parent, level, 0, className, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(parent);
    if (result != ERROR_SUCCESS) return kNoKey;
    parent = key;
  }
  return parent;
}

}  // namespace

UURegistryKey::UURegistryKey(const UURegistryLocation& location)
    : mHandle(OpenLevels(location.mPath, location.mRoot)) {}

UURegistryKey::~UURegistryKey() {
  if (IsOpen()) RegCloseKey(mHandle);
}

bool UURegistryKey::IsOpen() const { return mHandle != kNoKey; }

bool UURegistryKey::QueryText(const char* name, char* buffer, uint32_t size) const {
  DWORD type = REG_NONE;
  DWORD bytes = size;
  if (!IsOpen() || size == 0 ||
      RegQueryValueExA(mHandle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  if (bytes > 0 && buffer[bytes - 1] == '\0') return true;
  if (bytes >= size) return false;
  buffer[bytes] = '\0';
  return true;
}

bool UURegistryKey::QueryInteger(const char* name, DWORD& value) const {
  DWORD type = REG_NONE;
  DWORD bytes = sizeof value;
  DWORD stored;
  if (!IsOpen() ||
      RegQueryValueExA(mHandle, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof stored) {
    return false;
  }
  value = stored;
  return true;
}

bool UURegistryKey::GetString(const char* name, const char* defaultText, char* buffer,
                              uint16_t size) const {
  if (QueryText(name, buffer, size)) return true;
  UUCopyString(defaultText, buffer, size);
  return false;
}

bool UURegistryKey::GetStringIfPresent(const char* name, char* buffer, uint16_t size) const {
  return QueryText(name, buffer, size);
}

bool UURegistryKey::GetInteger(const char* name, int32_t defaultValue, int32_t& value) const {
  value = defaultValue;
  DWORD stored;
  if (!QueryInteger(name, stored)) return false;
  value = static_cast<int32_t>(stored);
  return true;
}

bool UURegistryKey::GetBoolean(const char* name, bool defaultValue, bool& value) const {
  value = defaultValue;
  DWORD stored;
  if (!QueryInteger(name, stored) || stored > 1) return false;
  value = stored == 1;
  return true;
}

bool UURegistryKey::GetDirectory(const char* name, const UUDirectory& defaultDirectory,
                                 UUDirectory& directory) const {
  char path[kUUPathCapacity];
  char fileName[kUUPathCapacity];
  if (QueryText(name, path, kUUPathCapacity) && UUSplitFilePath(path, directory, fileName) &&
      fileName[0] == '\0' && UUDirectoryExists(directory)) {
    return true;
  }
  directory.Assign(defaultDirectory);
  return false;
}

bool UURegistryKey::GetFilePath(const char* name, const UUDirectory& defaultDirectory,
                                const char* defaultName, UUDirectory& directory,
                                char* fileName) const {
  char path[kUUPathCapacity];
  if (QueryText(name, path, kUUPathCapacity) && UUSplitFilePath(path, directory, fileName) &&
      fileName[0] != '\0' && UUFileExists(directory, fileName)) {
    return true;
  }
  directory.Assign(defaultDirectory);
  UUCopyString(defaultName, fileName, kUUPathCapacity);
  return false;
}

bool UURegistryKey::GetBinary(const char* name, void* buffer, uint32_t& size) const {
  DWORD stored = 0;
  if (!IsOpen() ||
      RegQueryValueExA(mHandle, name, nullptr, nullptr, nullptr, &stored) != ERROR_SUCCESS) {
    return false;
  }
  if (stored != size) {
    size = stored;
    return false;
  }
  DWORD type = REG_NONE;
  return RegQueryValueExA(mHandle, name, nullptr, &type, static_cast<BYTE*>(buffer), &stored) ==
             ERROR_SUCCESS &&
         type == REG_BINARY;
}

bool UURegistryKey::SetValue(const char* name, DWORD type, const void* data, uint32_t size) {
  return IsOpen() && RegSetValueExA(mHandle, name, 0, type, static_cast<const BYTE*>(data), size) ==
                         ERROR_SUCCESS;
}

bool UURegistryKey::SetString(const char* name, const char* text) {
  return SetValue(name, REG_SZ, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

bool UURegistryKey::SetInteger(const char* name, int32_t value) {
  const auto stored = static_cast<DWORD>(value);
  return SetValue(name, REG_DWORD, &stored, sizeof stored);
}

bool UURegistryKey::SetBoolean(const char* name, bool flag) {
  return SetInteger(name, flag ? 1 : 0);
}

bool UURegistryKey::SetDirectory(const char* name, const UUDirectory& directory) {
  return SetFilePath(name, directory, "");
}

bool UURegistryKey::SetFilePath(const char* name, const UUDirectory& directory,
                                const char* fileName) {
  char path[kUUPathCapacity];
  return IsOpen() && UUMakeFilePath(path, directory, fileName) && SetString(name, path);
}

bool UURegistryKey::SetBinary(const char* name, const void* data, uint32_t size) {
  return SetValue(name, REG_BINARY, data, size);
}

bool UURegistryKey::DeleteValue(const char* name) {
  return IsOpen() && RegDeleteValueA(mHandle, name) == ERROR_SUCCESS;
}
