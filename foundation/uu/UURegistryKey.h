#pragma once
// A registry key opened by a root key and a backslash-separated path, every
// missing level created on the way. Reads take a default and answer it
// when the value is missing, of another type or does not fit, so callers
// can read their settings unconditionally.

#include "foundation/uu/UUDirectory.h"
#include "platform/win32/registry.h"

#include <cstdint>

struct UURegistryLocation {
  const char* mPath;  // at most 259 characters
  HKEY mRoot;
};

class UURegistryKey {
 public:
  // A path longer than 259 characters, or a level that cannot be opened or
  // created, leaves the key unopened: reads answer their defaults and
  // writes fail.
  explicit UURegistryKey(const UURegistryLocation& location);
  ~UURegistryKey();
  UURegistryKey(const UURegistryKey&) = delete;
  UURegistryKey& operator=(const UURegistryKey&) = delete;

  bool IsOpen() const;

  // size is the buffer's byte count; the text answered is always terminated.
  bool GetString(const char* name, const char* defaultText, char* buffer, uint16_t size) const;
  bool GetStringIfPresent(const char* name, char* buffer, uint16_t size) const;
  bool GetInteger(const char* name, int32_t defaultValue, int32_t& value) const;
  // Only a stored 0 or 1 is a boolean.
  bool GetBoolean(const char* name, bool defaultValue, bool& value) const;
  // A stored directory or file that no longer exists counts as missing.
  bool GetDirectory(const char* name, const UUDirectory& defaultDirectory,
                    UUDirectory& directory) const;
  bool GetFilePath(const char* name, const UUDirectory& defaultDirectory, const char* defaultName,
                   UUDirectory& directory, char* fileName) const;
  // When the stored size differs from size, size becomes the stored size and
  // nothing is read.
  bool GetBinary(const char* name, void* buffer, uint32_t& size) const;

  bool SetString(const char* name, const char* text);
  bool SetInteger(const char* name, int32_t value);
  bool SetBoolean(const char* name, bool flag);
  // The directory (or file) must exist.
  bool SetDirectory(const char* name, const UUDirectory& directory);
  bool SetFilePath(const char* name, const UUDirectory& directory, const char* fileName);
  bool SetBinary(const char* name, const void* data, uint32_t size);
  bool DeleteValue(const char* name);

 private:
  // A REG_SZ value of at most size bytes, terminated in the buffer.
  bool QueryText(const char* name, char* buffer, uint32_t size) const;
  bool QueryInteger(const char* name, DWORD& value) const;
  bool SetValue(const char* name, DWORD type, const void* data, uint32_t size);

  HKEY mHandle;
};
