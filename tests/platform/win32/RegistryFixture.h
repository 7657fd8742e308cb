#pragma once
// A registry store of the test's own in a fresh directory, and the helpers
// that registry tests share.

#include "platform/win32/registry.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Points the store at a fresh directory and restarts it around each test,
// leaving $XDG_CONFIG_HOME as it found it.
class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* config = std::getenv("XDG_CONFIG_HOME")) mOldConfig = config;
    std::random_device random;
    mConfig = std::filesystem::temp_directory_path() / ("vplreg" + std::to_string(random()));
    std::filesystem::create_directories(mConfig);
    setenv("XDG_CONFIG_HOME", mConfig.c_str(), 1);
    vpl::platform::RestartRegistryStore();
  }
  void TearDown() override {
    vpl::platform::SetRegistrySaveProbe(nullptr);
    vpl::platform::RestartRegistryStore();
    std::filesystem::remove_all(mConfig);
    if (mOldConfig) {
      setenv("XDG_CONFIG_HOME", mOldConfig->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  std::filesystem::path StoreFile(const char* name = "registry") const {
    return mConfig / "vpl3d" / name;
  }
  std::vector<char> StoreBytes(const char* name = "registry") const {
    std::ifstream in(StoreFile(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteStore(const std::vector<char>& bytes, const char* name = "registry") const {
    std::filesystem::create_directories(StoreFile(name).parent_path());
    std::ofstream(StoreFile(name), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static HKEY Create(const char* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  static LONG SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  }
  // The REG_DWORD at a path of the current user's root; empty when the key
  // or the value is missing.
  static std::optional<DWORD> ReadDword(const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return {};
    return value;
  }
  static LONG Query(HKEY key, const char* name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    data.resize(size);
    return result;
  }

  std::filesystem::path mConfig;
  std::optional<std::string> mOldConfig;
};
