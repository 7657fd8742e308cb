#include "app/objects/VPL3DCallbackDialog.h"

#include "tests/app/support/DialogStage.h"
#include "tests/app/support/RecordingControl.h"

#include <gtest/gtest.h>

namespace {

using namespace dialog_data;
using Log = std::vector<std::string>;

class VPL3DCallbackDialogTest : public DialogStageTest {
 protected:
  // The answers the keys give, after the task run.
  Log AnswersTo(int virtualKey) {
    mStage.Key(virtualKey);
    mStage.RunFrame();
    return TakeLog();
  }
};

TEST_F(VPL3DCallbackDialogTest, EnterAndEscapeGiveTheAnswersOfTheButtonsKinds) {
  struct Case {
    MMResourceId layout;
    int key;
    Log answers;
  };
  const Case cases[] = {
      {kYesNoLayout, VK_RETURN, {"DialogResult 1"}},
      {kYesNoLayout, VK_ESCAPE, {"DialogResult 4"}},
      {kNoKeysLayout, VK_RETURN, {}},
      {kNoKeysLayout, VK_ESCAPE, {}},
      {kNoPanelLayout, VK_ESCAPE, {"DialogResult 1"}},
  };
  for (const Case& c : cases) {
    VPL3DMessageDialog* dialog = Open(c.layout);
    EXPECT_EQ(AnswersTo(c.key), c.answers) << c.layout << " key " << c.key;
    Scene().RemoveObject(dialog);
  }
}

TEST_F(VPL3DCallbackDialogTest, EscapeWithBothAnswersGivesOnlyTheEscapeAnswer) {
  Open(kYesNoLayout);
  EXPECT_EQ(AnswersTo(VK_ESCAPE), Log{"DialogResult 4"});
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
}

TEST_F(VPL3DCallbackDialogTest, ACtrlECharacterIsNoEscape) {
  Open(kYesNoLayout);
  mStage.Type('\x05');
  mStage.RunFrame();
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 1);
}

TEST_F(VPL3DCallbackDialogTest, OnlyDefinitionsWithAKindFromZeroToFiveMakeButtons) {
  VPL3DMessageDialog* dialog = Open(kMixedLayout);
  ASSERT_EQ(dialog->GetChildCount(), 2);
  EXPECT_EQ(static_cast<VPLObjButton*>(dialog->GetChild(0))->GetDefinition(), 70);
  EXPECT_EQ(static_cast<VPLObjButton*>(dialog->GetChild(1))->GetDefinition(), 71);
  EXPECT_EQ(dialog->GetEnterAnswer(), 1);
  EXPECT_EQ(dialog->GetEscapeAnswer(), 4);
}

TEST_F(VPL3DCallbackDialogTest, AClickAnswersOnlyAfterTheTaskRun) {
  Open(kNoKeysLayout);
  ClickChild(1);
  EXPECT_TRUE(Scene().mLog.empty());
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"DialogResult 6"});
}

TEST_F(VPL3DCallbackDialogTest, TwoClicksInOneFrameAnswerOnce) {
  Open(kNoKeysLayout);
  ClickChild(0);
  ClickChild(0);
  mStage.RunFrame();
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"DialogResult 5"});
}

TEST_F(VPL3DCallbackDialogTest, AClickThenEscapeInOneFrameGiveOnlyTheClicksAnswer) {
  Open(kYesNoLayout);
  ClickChild(0);
  mStage.Key(VK_ESCAPE);
  mStage.RunFrame();
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"DialogResult 1"});
}

}  // namespace
