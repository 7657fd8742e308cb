#include "app/objects/VPL3DPrintDialog.h"

#include "app/objects/VPLOptionsButton.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "tests/app/support/DialogStage.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// The dialog's children: OK, Cancel, the options, the background switch.
constexpr int16_t kOk = 0;
constexpr int16_t kCancel = 1;
constexpr int16_t kBackground = 3;
// The second option stands here, nearer than the row.
const MM3DVector kSecondOption(2.5f, 3, 15, 1);

class VPL3DPrintDialogTest : public DialogStageTest {
 protected:
  VPL3DPrintDialog* Open() {
    Scene().OpenPrintDialog();
    auto* dialog = dynamic_cast<VPL3DPrintDialog*>(Scene().GetActiveControl());
    if (dialog == nullptr || dialog->GetOptions() == nullptr) return nullptr;
    Place(*dialog);
    dialog->GetOptions()->GetChild(0)->SetPosition(-2.5f, 3, 15);
    dialog->GetOptions()->GetChild(1)->SetPosition(kSecondOption);
    return dialog;
  }
  bool OptionOn(VPL3DPrintDialog& dialog, int16_t i) {
    return static_cast<VPLToggleButtonObject*>(dialog.GetOptions()->GetChild(i))->GetState();
  }
};

TEST_F(VPL3DPrintDialogTest, TheFirstOptionIsOnWhenItOpens) {
  VPL3DPrintDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetOptions()->GetSelected(), 0);
  EXPECT_TRUE(OptionOn(*dialog, 0));
  EXPECT_FALSE(OptionOn(*dialog, 1));
  EXPECT_FALSE(dialog->GetBackgroundToggle()->GetState());
}

TEST_F(VPL3DPrintDialogTest, TheSecondOptionSwitchesTheFirstOff) {
  VPL3DPrintDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  Click(kSecondOption);
  mStage.RunFrame();
  EXPECT_FALSE(OptionOn(*dialog, 0));
  EXPECT_TRUE(OptionOn(*dialog, 1));
  EXPECT_EQ(dialog->GetOptions()->GetSelected(), 1);
}

TEST_F(VPL3DPrintDialogTest, EscapeAndCancelNeitherPrintNorStoreTheBackground) {
  for (bool escape : {true, false}) {
    ASSERT_NE(Open(), nullptr);
    ClickChild(kBackground);
    if (escape) {
      mStage.Key(VK_ESCAPE);
    } else {
      ClickChild(kCancel);
    }
    mStage.RunFrame();
    EXPECT_TRUE(TakeLog().empty());
    int32_t background = -1;
    EXPECT_FALSE(mServices.Preferences().GetPrintBackground(background));
    EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
  }
}

TEST_F(VPL3DPrintDialogTest, OkPrintsOnceWithTheOptionAndTheBackgroundSwitch) {
  struct Case {
    bool switchBackground;
    Log printed;
    int32_t stored;
  };
  const Case cases[] = {{false, {"Print 1 1"}, 0}, {true, {"Print 1 0"}, 1}};
  for (const Case& c : cases) {
    ASSERT_NE(Open(), nullptr);
    Click(kSecondOption);
    if (c.switchBackground) ClickChild(kBackground);
    mStage.RunFrame();
    ClickChild(kOk);
    ClickChild(kOk);
    mStage.RunFrame();
    mStage.RunFrame();
    EXPECT_EQ(TakeLog(), c.printed);
    int32_t background = -1;
    EXPECT_TRUE(mServices.Preferences().GetPrintBackground(background));
    EXPECT_EQ(background, c.stored);
    ASSERT_TRUE(mServices.Preferences().SetPrintBackground(0));
  }
}

}  // namespace
