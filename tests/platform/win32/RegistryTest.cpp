#include "tests/platform/win32/RegistryFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using vpl::platform::RestartRegistryStore;

class RegistryTest : public RegistryFixture {
 protected:
  fs::path Store() const { return StoreFile(); }
  static void SetDword(HKEY key, const char* name, DWORD value) {
    EXPECT_EQ(RegistryFixture::SetDword(key, name, value), ERROR_SUCCESS);
  }
};

TEST_F(RegistryTest, ValuesSurviveARestartOfTheStore) {
  DWORD disposition = 0;
  HKEY key = Create("Software\\Maker\\App", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, "Volume", 7);
  EXPECT_EQ(RegSetValueExA(key, "Title", 0, REG_SZ, reinterpret_cast<const BYTE*>("Hi"), 3),
            ERROR_SUCCESS);
  RegCloseKey(key);

  RestartRegistryStore();
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

  RestartRegistryStore();
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

  RestartRegistryStore();
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

// Random records after a sound header: whatever is read, the next change
// writes a sound store that keeps it, and the hostile bytes are kept aside.
TEST_F(RegistryTest, HostileStoreFilesAreReadSafelyAndKeptAside) {
  std::mt19937 random(3);
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<char> bytes = {'V', 'P', 'L', 'R', 'E', 'G', static_cast<char>(1 + round % 2), 0};
    const int length = static_cast<int>(random() % 64);
    for (int i = 0; i < length; ++i)
      bytes.push_back(static_cast<char>(random() % 4 == 0 ? 0xFF : random() % 4));
    fs::remove_all(Store().parent_path());
    WriteStore(bytes);
    RestartRegistryStore();
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, "\x01", 0, KEY_READ, &key);
    EXPECT_TRUE(opened == ERROR_SUCCESS || opened == ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    HKEY made = Create("Fresh");
    RegCloseKey(made);
    RestartRegistryStore();
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\x01", 0, KEY_READ, &key), opened);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Fresh", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    if (fs::exists(Store().string() + ".damaged")) {
      EXPECT_EQ(StoreBytes("registry.damaged"), bytes);
    }
  }
}

}  // namespace
