#include "platform/win32/RegistryStore.h"
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

// A text whose size leaves out its terminator is kept with one: a buffer
// the size of the text alone is then one byte short.
TEST_F(RegistryTest, ATextSetWithoutItsTerminatorIsKeptWithOne) {
  constexpr char kText[] = "FullString";
  constexpr DWORD kLength = sizeof kText - 1;
  HKEY key = Create("Texts");
  ASSERT_EQ(RegSetValueExA(key, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>(kText), kLength),
            ERROR_SUCCESS);
  DWORD type = 0;
  std::vector<BYTE> data(kLength);
  EXPECT_EQ(Query(key, "text", type, data), ERROR_MORE_DATA);
  EXPECT_EQ(data.size(), sizeof kText);
  EXPECT_EQ(Query(key, "text", type, data), ERROR_SUCCESS);
  EXPECT_EQ(std::string(data.begin(), data.end()), std::string(kText, sizeof kText));
  RegCloseKey(key);
}

// A text kept without its terminator (as older stores hold it) gets one
// where the buffer has room, and the size answered stays the text's.
TEST_F(RegistryTest, ATextKeptWithoutATerminatorGetsOneWhereThereIsRoom) {
  constexpr BYTE kFiller = 0xBD;
  vpl::platform::RegistryTree tree;
  tree.mRoots[0].mSubkeys["Texts"].mValues["text"] = {.mType = REG_SZ, .mData = {'a', 'b'}};
  const std::vector<uint8_t> bytes = vpl::platform::EncodeRegistry(tree);
  WriteStore(std::vector<char>(bytes.begin(), bytes.end()));
  RestartRegistryStore();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Texts", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const DWORD room : {2u, 3u}) {
    std::vector<BYTE> data(4, kFiller);
    DWORD size = room;
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, nullptr, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(data, (std::vector<BYTE>{'a', 'b', room == 3 ? BYTE{0} : kFiller, kFiller}));
  }
  RegCloseKey(key);
}

// The buffer's size is read before the type is written, so one variable
// may serve as both.
TEST_F(RegistryTest, TheTypeAndTheSizeMayBeOneVariable) {
  const std::vector<BYTE> kValue = {1, 2, 3, 4, 5, 6, 7, 8};
  HKEY key = Create("Shared");
  ASSERT_EQ(
      RegSetValueExA(key, "value", 0, REG_BINARY, kValue.data(), static_cast<DWORD>(kValue.size())),
      ERROR_SUCCESS);
  DWORD typeAndSize = 16;
  std::vector<BYTE> data(16);
  EXPECT_EQ(RegQueryValueExA(key, "value", nullptr, &typeAndSize, data.data(), &typeAndSize),
            ERROR_SUCCESS);
  EXPECT_EQ(typeAndSize, kValue.size());
  data.resize(kValue.size());
  EXPECT_EQ(data, kValue);
  RegCloseKey(key);
}

TEST_F(RegistryTest, AFailedOpenAnswersANullKey) {
  HKEY key = reinterpret_cast<HKEY>(uintptr_t{0x1234});
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryTest, AnEmptySubKeyDeletesTheKeyOfTheHandle) {
  HKEY parent = Create("Parent");
  HKEY child = Create("Parent\\Child");
  EXPECT_EQ(RegDeleteKeyA(parent, ""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(child, ""), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Parent\\Child", 0, KEY_READ, &gone),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
  RegCloseKey(child);
  RegCloseKey(parent);
}

TEST_F(RegistryTest, APathWithALeadingBackslashIsRefused) {
  constexpr char kPath[] = "\\Software";
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kPath), ERROR_BAD_PATHNAME);
  HKEY made = Create("Software\\");
  RegCloseKey(made);
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
