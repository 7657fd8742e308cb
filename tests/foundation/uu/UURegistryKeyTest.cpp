#include "foundation/uu/UURegistryKey.h"

#include "TempDirectory.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class UURegistryKeyTest : public ::testing::Test {
 protected:
  // The store lives in the test's own directory: its host path is the
  // Windows path without "C:" and with slashes.
  void SetUp() override {
    std::string host = mTemp.Path("config").substr(2);
    for (char& c : host) {
      if (c == '\\') c = '/';
    }
    setenv("XDG_CONFIG_HOME", host.c_str(), 1);
    vpl::platform::RestartRegistryStore();
  }
  void TearDown() override { vpl::platform::RestartRegistryStore(); }

  TempDirectory mTemp;
};

TEST_F(UURegistryKeyTest, TypedValuesRoundTripAndWrongTypesGiveDefaults) {
  UURegistryKey key(UURegistryLocation{"Software\\\\Maker\\App\\", HKEY_CURRENT_USER});
  ASSERT_TRUE(key.IsOpen());
  EXPECT_TRUE(key.SetInteger("Count", -5));
  EXPECT_TRUE(key.SetBoolean("Flag", true));
  EXPECT_TRUE(key.SetInteger("Two", 2));
  EXPECT_TRUE(key.SetString("Text", "hello"));

  UURegistryKey same(UURegistryLocation{"Software\\Maker\\App", HKEY_CURRENT_USER});
  int32_t number = 0;
  bool flag = false;
  char text[8];
  EXPECT_TRUE(same.GetInteger("Count", 9, number));
  EXPECT_EQ(number, -5);
  EXPECT_FALSE(same.GetInteger("Text", 9, number));
  EXPECT_EQ(number, 9);
  EXPECT_TRUE(same.GetBoolean("Flag", false, flag));
  EXPECT_TRUE(flag);
  EXPECT_FALSE(same.GetBoolean("Two", false, flag));
  EXPECT_FALSE(flag);
  EXPECT_TRUE(same.GetString("Text", "dflt", text, sizeof text));
  EXPECT_STREQ(text, "hello");
  EXPECT_FALSE(same.GetString("Count", "dflt", text, sizeof text));
  EXPECT_STREQ(text, "dflt");
  EXPECT_FALSE(same.GetString("Text", "d", text, 4));
  EXPECT_STREQ(text, "d");
  EXPECT_TRUE(same.DeleteValue("Text"));
  EXPECT_FALSE(same.GetStringIfPresent("Text", text, sizeof text));
}

TEST_F(UURegistryKeyTest, BinaryBlocksAskForTheirSize) {
  UURegistryKey key(UURegistryLocation{"Blocks", HKEY_CURRENT_USER});
  const unsigned char block[5] = {1, 2, 3, 4, 5};
  EXPECT_TRUE(key.SetBinary("Data", block, sizeof block));
  unsigned char read[8] = {};
  uint32_t size = 3;
  EXPECT_FALSE(key.GetBinary("Data", read, size));
  EXPECT_EQ(size, 5u);
  EXPECT_TRUE(key.GetBinary("Data", read, size));
  EXPECT_EQ(read[4], 5);
  size = 4;
  EXPECT_TRUE(key.SetInteger("Number", 1));
  EXPECT_FALSE(key.GetBinary("Number", read, size));
}

TEST_F(UURegistryKeyTest, DirectoriesAndFilePathsMustExist) {
  mTemp.MakeDirectory("Docs");
  mTemp.MakeFile("Docs/a.txt", "");
  UUDirectory docs(mTemp.Path("Docs").c_str());
  UUDirectory missing(mTemp.Path("Missing").c_str());
  UUDirectory fallback("C:\\");
  UURegistryKey key(UURegistryLocation{"Paths", HKEY_CURRENT_USER});
  EXPECT_FALSE(key.SetDirectory("Gone", missing));
  EXPECT_TRUE(key.SetDirectory("Docs", docs));
  EXPECT_TRUE(key.SetFilePath("File", docs, "a.txt"));

  UUDirectory directory;
  char name[kUUPathCapacity];
  EXPECT_TRUE(key.GetDirectory("Docs", fallback, directory));
  EXPECT_TRUE(UUSameDirectory(directory, docs));
  EXPECT_FALSE(key.GetDirectory("Gone", fallback, directory));
  EXPECT_TRUE(UUSameDirectory(directory, fallback));
  EXPECT_TRUE(key.GetFilePath("File", fallback, "d.txt", directory, name));
  EXPECT_STREQ(name, "a.txt");
  EXPECT_FALSE(key.GetFilePath("Docs", fallback, "d.txt", directory, name));
  EXPECT_STREQ(name, "d.txt");
}

TEST_F(UURegistryKeyTest, AnUnopenedKeyAnswersDefaultsAndRefusesWrites) {
  const std::string tooLong(300, 'k');
  UURegistryKey key(UURegistryLocation{tooLong.c_str(), HKEY_CURRENT_USER});
  UURegistryKey badRoot(UURegistryLocation{"x", reinterpret_cast<HKEY>(uintptr_t{0x1234})});
  for (UURegistryKey* k : {&key, &badRoot}) {
    EXPECT_FALSE(k->IsOpen());
    int32_t number = 0;
    EXPECT_FALSE(k->GetInteger("n", 4, number));
    EXPECT_EQ(number, 4);
    EXPECT_FALSE(k->SetInteger("n", 1));
    EXPECT_FALSE(k->DeleteValue("n"));
  }
}

}  // namespace
