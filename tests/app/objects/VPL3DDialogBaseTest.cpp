#include "app/objects/VPL3DDialogBase.h"

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLScript.h"
#include "tests/app/support/DialogStage.h"
#include "tests/app/support/RecordingControl.h"

#include <gtest/gtest.h>

namespace {

using namespace dialog_data;
using Log = std::vector<std::string>;

const MM3DVector kBesideTheChildren(5, 4, 20, 1);
const MM3DVector kBehind(5, 4, 40, 1);

class VPL3DDialogBaseTest : public DialogStageTest {};

TEST_F(VPL3DDialogBaseTest, ALayoutWithoutAPanelRowHasNoTextPanel) {
  VPL3DMessageDialog* dialog = Open(kNoPanelLayout);
  EXPECT_EQ(dialog->GetTextPanel(), nullptr);
  EXPECT_FALSE(dialog->SetText("Hello"));
  VPL3DMessageDialog withoutLayout(&Scene(), app_fixtures::MakeQuad(), kMMNoResource, "Hello",
                                   &VPLSceneUIBase::OnDialogResponse);
  EXPECT_EQ(withoutLayout.GetTextPanel(), nullptr);
  EXPECT_FALSE(withoutLayout.SetText("Hello"));
}

TEST_F(VPL3DDialogBaseTest, ReplacingTheTextKeepsTheTexture) {
  VPL3DMessageDialog* dialog = Open(kYesNoLayout);
  ASSERT_NE(dialog->GetTextPanel(), nullptr);
  const MMResourceId id = dialog->GetTextPanel()->GetTextTextureId();
  EXPECT_NE(id, kMMNoResource);
  EXPECT_TRUE(dialog->SetText("Another question"));
  EXPECT_EQ(dialog->GetTextPanel()->GetTextTextureId(), id);
  EXPECT_EQ(mServices.Strings().GetEntryCount(), 1);
}

TEST_F(VPL3DDialogBaseTest, HideAllThenShowAllShowsEveryChild) {
  VPL3DMessageDialog* dialog = Open(kYesNoLayout);
  dialog->GetChild(1)->SetVisibility(kMMHidden);
  dialog->HideAll();
  EXPECT_EQ(dialog->GetChild(0)->GetVisibility(), kMMHidden);
  EXPECT_EQ(dialog->GetTextPanel()->GetVisibility(), kMMShown);
  dialog->ShowAll();
  EXPECT_EQ(dialog->GetChild(0)->GetVisibility(), kMMShown);
  EXPECT_EQ(dialog->GetChild(1)->GetVisibility(), kMMShown);
}

TEST_F(VPL3DDialogBaseTest, AClickBesideTheChildrenReachesNothingBehind) {
  Log controls;
  auto* behind = new RecordingControl(&Scene(), app_fixtures::MakeQuad(), controls, "behind");
  behind->SetPosition(kBehind);
  Scene().AppendInterfaceObject(behind);
  Open(kYesNoLayout);
  Click(kBesideTheChildren);
  Click(kBehind);
  mStage.RunFrame();
  EXPECT_TRUE(controls.empty());
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(VPL3DDialogBaseTest, KeysGoToTheDialogOfTheHighestPriority) {
  Open(kYesNoLayout);
  VPL3DMessageDialog* newer = Open(kNoKeysLayout);
  Log controls;
  auto* first = new RecordingControl(&Scene(), app_fixtures::MakeQuad(), controls, "first");
  first->mTakesKeys = true;
  Scene().AppendInterfaceObject(first);
  Scene().AddKeyHandler(first, 2);
  mStage.Type('x');
  mStage.Key(VK_RETURN);
  Scene().RemoveKeyHandler(first);
  mStage.Key(VK_RETURN);
  mStage.RunFrame();
  // The newest of the dialogs takes Enter and has no answer for it.
  EXPECT_EQ(controls, (Log{"first key", "first key"}));
  EXPECT_TRUE(TakeLog().empty());
  Scene().RemoveObject(newer);
  mStage.Key(VK_RETURN);
  mStage.RunFrame();
  EXPECT_EQ(TakeLog(), Log{"DialogResult 1"});
}

TEST_F(VPL3DDialogBaseTest, ThePreferenceKeyOpensThePreferencesOnlyWhenNoDialogTakesIt) {
  constexpr int16_t kPreferenceKey = VPLSceneUIBase::kPreferenceKey;
  mStage.Type(' ');
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 0);
  Scene().OnKey(MMKeyEvent{0, kPreferenceKey, 0, 0});
  ASSERT_EQ(Scene().GetInterfaceObjectCount(), 1);
  EXPECT_EQ(Scene().GetActiveControl()->GetScriptId(), kMMNoResource);
  Scene().OnKey(MMKeyEvent{0, kPreferenceKey, 0, 0});
  EXPECT_EQ(Scene().GetInterfaceObjectCount(), 1);
}

}  // namespace

namespace {

class VPL3DDialogBaseFontSizeTest : public DialogStageTest,
                                    public ::testing::WithParamInterface<const char*> {
 protected:
  VPL3DDialogBaseFontSizeTest() : DialogStageTest(GetParam()) {}
};

TEST_P(VPL3DDialogBaseFontSizeTest, ASizeThatIsNoPositiveNumberDrawsNoText) {
  VPL3DMessageDialog dialog(&Scene(), app_fixtures::MakeQuad(), dialog_data::kYesNoLayout, nullptr,
                            &VPLSceneUIBase::OnDialogResponse);
  ASSERT_TRUE(dialog.BuildTextPanel());
  EXPECT_FALSE(dialog.SetText("Hello"));
  EXPECT_EQ(dialog.GetTextPanel()->GetTextTextureId(), kMMNoResource);
}

INSTANTIATE_TEST_SUITE_P(Sizes, VPL3DDialogBaseFontSizeTest,
                         ::testing::Values("0", "-12", "abc", "", "12pt", "99999999999"));

}  // namespace
