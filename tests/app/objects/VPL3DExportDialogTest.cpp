#include "app/objects/VPL3DExportDialog.h"

#include "app/objects/VPLOptionsButton.h"
#include "app/objects/VPLServices.h"
#include "tests/app/support/DialogStage.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

class VPL3DExportDialogTest : public DialogStageTest {
 protected:
  VPL3DExportDialog* Open() {
    Scene().OpenExportDialog();
    auto* dialog = dynamic_cast<VPL3DExportDialog*>(Scene().GetActiveControl());
    if (dialog != nullptr) Place(*dialog);
    return dialog;
  }
  // Applies the dialog with the option selected, as a click would.
  Log ExportWith(int16_t option) {
    VPL3DExportDialog* dialog = Open();
    if (dialog == nullptr || dialog->GetOptions() == nullptr) return {"no dialog"};
    dialog->GetOptions()->Select(option);
    mStage.Key(VK_RETURN);
    mStage.RunFrame();
    return TakeLog();
  }
};

TEST_F(VPL3DExportDialogTest, WithoutTheMovieExporterThreeOptionsShowAndTheFirstIsSelected) {
  for (bool movie : {false, true}) {
    VPLGetServices().mMovieExporterStarted = movie;
    VPL3DExportDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->GetOptions(), nullptr);
    int shown = 0;
    for (int16_t i = 0; i < dialog->GetOptions()->GetChildCount(); ++i) {
      if (dialog->GetOptions()->GetChild(i)->GetVisibility() == kMMShown) ++shown;
    }
    EXPECT_EQ(shown, movie ? 4 : 3);
    EXPECT_EQ(dialog->GetOptions()->GetChild(VPL3DExportDialog::kMovie)->GetVisibility(),
              movie ? kMMShown : kMMHidden);
    EXPECT_EQ(dialog->GetOptions()->GetSelected(), 0);
    Scene().RemoveObject(dialog);
  }
}

TEST_F(VPL3DExportDialogTest, EachOptionExportsItsKind) {
  VPLGetServices().mMovieExporterStarted = true;
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kBmp), Log{"ExportBmp"});
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kJpeg), Log{"ExportJpeg"});
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kMovie), Log{"ExportMovie"});
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kUnsupported), Log{"ExportUnsupported"});
}

TEST_F(VPL3DExportDialogTest, AFailedExportAsksTheFailureQuestion) {
  Scene().mExportsSucceed = false;
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kJpeg), (Log{"ExportJpeg", "AskUser 7"}));
}

TEST_F(VPL3DExportDialogTest, TheMovieWithoutItsExporterIsAFailedExport) {
  EXPECT_EQ(ExportWith(VPL3DExportDialog::kMovie), Log{"AskUser 7"});
}

TEST_F(VPL3DExportDialogTest, EscapeExportsNothing) {
  ASSERT_NE(Open(), nullptr);
  mStage.Key(VK_ESCAPE);
  mStage.RunFrame();
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
}

}  // namespace
