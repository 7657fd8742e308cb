#include "app/objects/VPL3DPreferenceDialog.h"

#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/support/DialogStage.h"
#include "tests/app/support/UnwritableRegistry.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// The dialog's children: the three toggles, then OK and Cancel.
constexpr int16_t kAutoSave = 0;
constexpr int16_t kPrinting = 2;
constexpr int16_t kOk = 3;
constexpr int16_t kCancel = 4;

class VPL3DPreferenceDialogTest : public DialogStageTest {
 protected:
  VPL3DPreferenceDialog* Open() {
    Scene().OpenPreferenceDialog();
    auto* dialog = dynamic_cast<VPL3DPreferenceDialog*>(Scene().GetActiveControl());
    if (dialog != nullptr) Place(*dialog);
    return dialog;
  }
  int32_t Stored(bool (VPLPreferences::*getter)(int32_t&) const, bool& read) {
    int32_t value = -1;
    read = (mServices.Preferences().*getter)(value);
    return value;
  }

  VPLPreferences& Preferences() { return mServices.Preferences(); }
};

TEST_F(VPL3DPreferenceDialogTest, TheTogglesShowTheStoredSettingsAndEnterWritesThemAgain) {
  ASSERT_TRUE(Preferences().SetAutoSave(0));
  VPL3DPreferenceDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->GetAutoSaveToggle()->GetState());
  EXPECT_TRUE(dialog->GetPromptForDeleteToggle()->GetState());
  EXPECT_TRUE(dialog->GetPrintingToggle()->GetState());
  mStage.Key(VK_RETURN);
  mStage.RunFrame();
  bool read = false;
  EXPECT_EQ(Stored(&VPLPreferences::GetAutoSave, read), 0);
  EXPECT_EQ(Stored(&VPLPreferences::GetPrinting, read), 1);
  EXPECT_TRUE(read);
  EXPECT_EQ(TakeLog(), Log{"ShowPrintButton 1"});
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
}

TEST_F(VPL3DPreferenceDialogTest, ClickedTogglesReachTheStoreAndSurviveReopeningIt) {
  ASSERT_NE(Open(), nullptr);
  ClickChild(kAutoSave);
  ClickChild(kPrinting);
  ClickChild(kOk);
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"ShowPrintButton 0"});
  mServices.Registry().Restart();
  VPLPreferences reopened;
  reopened.Open();
  int32_t autoSave = -1;
  int32_t printing = -1;
  EXPECT_TRUE(reopened.GetAutoSave(autoSave));
  EXPECT_TRUE(reopened.GetPrinting(printing));
  EXPECT_EQ(autoSave, 0);
  EXPECT_EQ(printing, 0);
}

TEST_F(VPL3DPreferenceDialogTest, EscapeAndCancelWriteNothing) {
  for (bool escape : {true, false}) {
    ASSERT_NE(Open(), nullptr);
    ClickChild(kAutoSave);
    if (escape) {
      mStage.Key(VK_ESCAPE);
    } else {
      ClickChild(kCancel);
    }
    mStage.RunFrame();
    mStage.RunFrame();
    bool read = true;
    Stored(&VPLPreferences::GetAutoSave, read);
    EXPECT_FALSE(read);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
  }
}

TEST_F(VPL3DPreferenceDialogTest, TwoClicksOnOkApplyOnce) {
  ASSERT_NE(Open(), nullptr);
  ClickChild(kOk);
  ClickChild(kOk);
  mStage.RunFrame();
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"ShowPrintButton 1"});
}

TEST_F(VPL3DPreferenceDialogTest, EscapeThenOkInOneFrameAppliesNothing) {
  ASSERT_NE(Open(), nullptr);
  mStage.Key(VK_ESCAPE);
  ClickChild(kOk);
  mStage.RunFrame();
  mStage.RunFrame();
  EXPECT_TRUE(TakeLog().empty());
  bool read = true;
  Stored(&VPLPreferences::GetAutoSave, read);
  EXPECT_FALSE(read);
}

TEST_F(VPL3DPreferenceDialogTest, SettingsTheStoreCannotTakeAreReported) {
  ASSERT_NE(Open(), nullptr);
  MakeRegistryUnwritable();
  mStage.Key(VK_RETURN);
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), (Log{"ShowPrintButton 1", "ReportPreferencesNotSaved"}));
}

TEST_F(VPL3DPreferenceDialogTest, ALabelShowsItsTextInTheInterfaceTextColour) {
  VPL3DPreferenceDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  VPLObj* label = dialog->GetAutoSaveLabel();
  ASSERT_NE(label, nullptr);
  const MMResourceId id = label->GetTextTextureId();
  ASSERT_NE(id, kMMNoResource);
  MM3DDriverTextureImage image;
  ASSERT_TRUE(MM3DLoadTextureImage(id, image));
  int32_t opaque = 0;
  for (int32_t y = 0; y < image.GetHeight(); ++y) {
    for (int32_t x = 0; x < image.GetWidth(); ++x) {
      const uint8_t* texel = image.PixelAddress(x, y);
      EXPECT_EQ(texel[0], dialog_data::kTextRed);
      EXPECT_EQ(texel[1], dialog_data::kTextGreen);
      EXPECT_EQ(texel[2], dialog_data::kTextBlue);
      if (texel[3] == 255) ++opaque;
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_LT(opaque, image.GetWidth() * image.GetHeight() / 4);
}

}  // namespace

namespace {

TEST_F(VPL3DPreferenceDialogTest, ALabelIsDrawnOnTheStageInTheTextColour) {
  VPL3DPreferenceDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  const MM3DVector kNearTheCamera(0, 0, 3, 1);
  // The quad is lit by nothing: it glows white under its text.
  dialog->GetAutoSaveLabel()->SetMeshColor(MM3DColor{1, 1, 1, 0});
  dialog->GetAutoSaveLabel()->SetPosition(kNearTheCamera);
  dialog->SetVisibility(kMMHidden);
  mStage.RunFrame();

  const Rgb text{dialog_data::kTextRed, dialog_data::kTextGreen, dialog_data::kTextBlue};
  const UUPoint centre = mStage.ScreenPointOf(kNearTheCamera);
  int32_t inText = 0;
  for (int32_t y = centre.mY - 100; y < centre.mY + 100; ++y) {
    for (int32_t x = centre.mX - 150; x < centre.mX + 150; ++x) {
      if (Near(mStage.PixelAt(UUPoint{x, y}), text, 24)) ++inText;
    }
  }
  EXPECT_GT(inText, 20);
}

}  // namespace
