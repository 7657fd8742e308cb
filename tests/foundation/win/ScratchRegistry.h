#pragma once
// A registry store of the test's own, in a fresh directory, read again from
// its file as a new run of the program would read it.

#include "platform/win32/registry.h"
#include "platform/win32/testhooks.h"
#include "tests/foundation/uu/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class ScratchRegistry {
 public:
  ScratchRegistry() {
    std::string host = mTemp.Path("config").substr(2);
    for (char& c : host) {
      if (c == '\\') c = '/';
    }
    setenv("XDG_CONFIG_HOME", host.c_str(), 1);
    vpl::platform::RestartRegistryStore();
  }
  ~ScratchRegistry() { vpl::platform::RestartRegistryStore(); }
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  void Restart() const { vpl::platform::RestartRegistryStore(); }

  // A value's type and, for a REG_DWORD, its value; false when missing.
  static bool Read(const char* path, const char* name, DWORD& type, DWORD& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    BYTE data[64];
    DWORD size = sizeof data;
    const bool found = RegQueryValueExA(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS;
    if (found && type == REG_DWORD) {
      value = data[0] | DWORD{data[1]} << 8 | DWORD{data[2]} << 16 | DWORD{data[3]} << 24;
    }
    RegCloseKey(key);
    return found;
  }

  static void Write(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }

 private:
  TempDirectory mTemp;
};
