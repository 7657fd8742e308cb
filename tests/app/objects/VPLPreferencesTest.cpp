#include "app/objects/VPLPreferences.h"

#include "tests/app/support/DialogData.h"
#include "tests/app/support/UnwritableRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Getter = bool (VPLPreferences::*)(int32_t&) const;
using Setter = bool (VPLPreferences::*)(int32_t);

struct Value {
  const char* mName;
  Getter mGet;
  Setter mSet;
  int32_t mDefault;
};

const Value kValues[] = {
    {"SketchbookNumber", &VPLPreferences::GetSketchbookNumber, &VPLPreferences::SetSketchbookNumber,
     0},
    {"Volume", &VPLPreferences::GetVolume, &VPLPreferences::SetVolume, 3},
    {"AutoSave", &VPLPreferences::GetAutoSave, &VPLPreferences::SetAutoSave, 1},
    {"Printing", &VPLPreferences::GetPrinting, &VPLPreferences::SetPrinting, 1},
    {"PrintBackground", &VPLPreferences::GetPrintBackground, &VPLPreferences::SetPrintBackground,
     0},
    {"Fancy Printing", &VPLPreferences::GetFancyPrinting, &VPLPreferences::SetFancyPrinting, 0},
    {"Duplicate", &VPLPreferences::GetDuplicate, &VPLPreferences::SetDuplicate, 1},
    {"Prompt For Delete", &VPLPreferences::GetPromptForDelete, &VPLPreferences::SetPromptForDelete,
     1},
};

constexpr char kKeyPath[] = "Software\\Vantry Interactive\\Vantry's 3D\\1.0";

class VPLPreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    ASSERT_TRUE(mPreferences.Open());
    ASSERT_TRUE(mPreferences.IsValid());
  }

  app_fixtures::AppFiles mFiles{{}, dialog_data::Tables()};
  ScratchRegistry mRegistry;
  VPLPreferences mPreferences;
};

TEST_F(VPLPreferencesTest, AFreshStoreReadsEveryDefault) {
  for (const Value& value : kValues) {
    int32_t read = -99;
    EXPECT_FALSE((mPreferences.*value.mGet)(read)) << value.mName;
    EXPECT_EQ(read, value.mDefault) << value.mName;
  }
}

TEST_F(VPLPreferencesTest, EveryValueSurvivesARestart) {
  for (const Value& value : kValues) ASSERT_TRUE((mPreferences.*value.mSet)(value.mDefault + 7));
  mRegistry.Restart();
  VPLPreferences next;
  next.Open();
  for (const Value& value : kValues) {
    int32_t read = 0;
    EXPECT_TRUE((next.*value.mGet)(read)) << value.mName;
    EXPECT_EQ(read, value.mDefault + 7) << value.mName;
  }
}

TEST_F(VPLPreferencesTest, AValueStoredAsTextReadsAsItsDefault) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const char text[] = "5";
  RegSetValueExA(key, "SketchbookNumber", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 sizeof text);
  RegCloseKey(key);
  int32_t read = -1;
  EXPECT_FALSE(mPreferences.GetSketchbookNumber(read));
  EXPECT_EQ(read, 0);
}

TEST_F(VPLPreferencesTest, AWriteTheStoreCannotTakeIsReportedAsFailed) {
  MakeRegistryUnwritable();
  EXPECT_FALSE(mPreferences.SetAutoSave(0));
}

TEST(VPLPreferencesWithoutNamesTest, WithoutASettingsFileNameTheStoreIsNotValid) {
  const app_fixtures::AppFiles noNames{{}, {{8, app_fixtures::TaggedTexts({{45, "Sans"}})}}};
  ASSERT_TRUE(noNames.Ready());
  const ScratchRegistry registry;
  VPLPreferences preferences;
  EXPECT_TRUE(preferences.Open());
  EXPECT_FALSE(preferences.IsValid());
  int32_t read = 0;
  EXPECT_FALSE(preferences.GetAutoSave(read));
  EXPECT_EQ(read, 1);
  EXPECT_FALSE(preferences.SetAutoSave(0));
}

}  // namespace
