#include "platform/win32/registry.h"

#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Points the store at a fresh directory and restarts it around each test.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    mConfig = fs::temp_directory_path() / ("vplreg" + std::to_string(random()));
    fs::create_directories(mConfig);
    setenv("XDG_CONFIG_HOME", mConfig.c_str(), 1);
    vpl::platform::RestartRegistryStore();
  }
  void TearDown() override {
    vpl::platform::RestartRegistryStore();
    fs::remove_all(mConfig);
  }
  fs::path Store() const { return mConfig / "vpl3d" / "registry"; }

  static HKEY Create(const char* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  static void SetDword(HKEY key, const char* name, DWORD value) {
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_SUCCESS);
  }
  static LONG Query(HKEY key, const char* name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
    data.resize(size);
    return result;
  }

  fs::path mConfig;
};

TEST_F(RegistryTest, ValuesSurviveARestartOfTheStore) {
  DWORD disposition = 0;
  HKEY key = Create("Software\\Maker\\App", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, "Volume", 7);
  EXPECT_EQ(RegSetValueExA(key, "Title", 0, REG_SZ, reinterpret_cast<const BYTE*>("Hi"), 3),
            ERROR_SUCCESS);
  RegCloseKey(key);

  vpl::platform::RestartRegistryStore();
  HKEY reopened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\MAKER\\app", 0, KEY_READ, &reopened),
            ERROR_SUCCESS);
  DWORD type = 0;
  std::vector<BYTE> data(16);
  EXPECT_EQ(Query(reopened, "volume", type, data), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(data, (std::vector<BYTE>{7, 0, 0, 0}));
  data.assign(2, 0);
  EXPECT_EQ(Query(reopened, "Title", type, data), ERROR_MORE_DATA);
  EXPECT_EQ(data.size(), 3u);
  EXPECT_EQ(Query(reopened, "Missing", type, data), ERROR_FILE_NOT_FOUND);
  HKEY other = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Maker", 0, KEY_READ, &other),
            ERROR_FILE_NOT_FOUND);
  RegCloseKey(reopened);
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
  HKEY parent = Create("A");
  HKEY child = Create("A\\B");
  SetDword(child, "x", 1);
  EXPECT_EQ(RegDeleteValueA(child, "x"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(child, "x"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(parent, "B"), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(child, "x", 0, REG_DWORD, nullptr, 0), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(child), ERROR_INVALID_HANDLE);
  RegCloseKey(parent);
}

TEST_F(RegistryTest, ADamagedStoreIsReadAsFarAsItIsSoundAndKept) {
  HKEY key = Create("Kept");
  SetDword(key, "first", 1);
  HKEY later = Create("Later");
  SetDword(later, "second", 2);
  RegCloseKey(key);
  RegCloseKey(later);

  std::ifstream in(Store(), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  bytes.resize(bytes.size() - 3);
  std::ofstream(Store(), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

  vpl::platform::RestartRegistryStore();
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Kept", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  std::vector<BYTE> data(4);
  EXPECT_EQ(Query(key, "first", type, data), ERROR_SUCCESS);
  SetDword(key, "third", 3);
  RegCloseKey(key);
  EXPECT_TRUE(fs::exists(Store().string() + ".damaged"));
  EXPECT_EQ(fs::file_size(Store().string() + ".damaged"), bytes.size());
}

// A name or value the store file cannot hold is refused, never written as
// bytes that would read back as damage and lose the values after them.
TEST_F(RegistryTest, ValuesTheStoreCannotHoldAreRefused) {
  HKEY key = Create("Limits");
  SetDword(key, "kept", 5);
  const std::string longName(70000, 'n');
  const std::vector<BYTE> large((1 << 20) + 1, 0xAB);
  EXPECT_EQ(RegSetValueExA(key, longName.c_str(), 0, REG_DWORD, large.data(), 4),
            ERROR_WRITE_FAULT);
  EXPECT_EQ(
      RegSetValueExA(key, "large", 0, REG_BINARY, large.data(), static_cast<DWORD>(large.size())),
      ERROR_WRITE_FAULT);
  HKEY deep = nullptr;
  EXPECT_EQ(RegCreateKeyExA(key, longName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &deep, nullptr),
            ERROR_WRITE_FAULT);
  SetDword(key, "after", 6);
  RegCloseKey(key);

  vpl::platform::RestartRegistryStore();
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Limits", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  std::vector<BYTE> data(4);
  for (const char* name : {"kept", "after"}) {
    data.assign(4, 0);
    EXPECT_EQ(Query(key, name, type, data), ERROR_SUCCESS) << name;
  }
  data.assign(4, 0);
  EXPECT_EQ(Query(key, "large", type, data), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  EXPECT_FALSE(fs::exists(Store().string() + ".damaged"));
}

TEST_F(RegistryTest, HostileStoreFilesNeverCrash) {
  std::mt19937 random(3);
  for (int round = 0; round < 50; ++round) {
    std::string bytes = "VPLREG\x01";
    bytes += '\0';
    const int length = static_cast<int>(random() % 64);
    for (int i = 0; i < length; ++i)
      bytes += static_cast<char>(random() % 4 == 0 ? 0xFF : random() % 4);
    fs::create_directories(Store().parent_path());
    std::ofstream(Store(), std::ios::binary | std::ios::trunc) << bytes;
    vpl::platform::RestartRegistryStore();
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "x", 0, KEY_READ, &key);
    HKEY made = Create("Fresh");
    RegCloseKey(made);
  }
}

}  // namespace
