#include "app/objects/VPL3DDialog.h"

#include "tests/app/support/DialogStage.h"

#include <gtest/gtest.h>

namespace {

// The import dialog's children: OK, Cancel.
constexpr int16_t kOk = 0;
constexpr int16_t kCancel = 1;

class VPL3DDialogTest : public DialogStageTest {
 protected:
  VPL3DImportDialog* Open() {
    auto* dialog = new VPL3DImportDialog(&Scene(), app_fixtures::MakeQuad(), 344, nullptr);
    Scene().AddDialog(dialog);
    Place(*dialog);
    return dialog;
  }
};

TEST_F(VPL3DDialogTest, TheImportDialogClosesOnOkAndOnCancel) {
  for (int16_t button : {kOk, kCancel}) {
    VPL3DImportDialog* dialog = Open();
    ASSERT_EQ(dialog->GetChildCount(), 2);
    ClickChild(button);
    EXPECT_EQ(Scene().GetInterfaceObjectCount(), 1);
    mStage.RunFrame();
    EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0) << button;
  }
}

TEST_F(VPL3DDialogTest, EveryKeyIsTakenAndOnlyEscapeAndEnterAct) {
  VPL3DImportDialog* dialog = Open();
  EXPECT_TRUE(dialog->HandleKey(MMKeyEvent{0, 0, 'x', 0}));
  EXPECT_TRUE(dialog->HandleKey(MMKeyEvent{0, VPLSceneUIBase::kPreferenceKey, 0, 0}));
  mStage.RunFrame();
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 1);
  EXPECT_FALSE(dialog->IsClosing());
  mStage.Key(VK_RETURN);
  mStage.RunFrame();
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
}

}  // namespace
