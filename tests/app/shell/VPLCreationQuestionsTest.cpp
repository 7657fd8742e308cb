// The creation screen's questions before work is thrown away, as a table:
// the "AutoSave" setting, whether the creation was changed, what the child
// did (closed the window, pressed quit or new sketch), the answer and
// whether the save worked, against what was saved, whether the program
// quit and which question waits. A failed save keeps the work, says so
// (question 7) and stops there. When the session ends nobody answers: the
// work is kept without a question.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLSketchTarget.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/DialogData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using Screen = VPLSceneCreationUI;

constexpr int32_t kNo = 2;
constexpr int32_t kFailed = 7;
constexpr int32_t kNone = Screen::kNoQuestion;
constexpr int32_t kYes = Screen::kYes;

// One current sketch whose writes work or fail as the test says.
class Sketches : public VPLSketchTarget {
 public:
  bool ReadCurrentSketch(VPLCreation&) override { return false; }
  bool WriteCurrentSketch(VPLCreation&, const MMBitmap&) override {
    ++mWrites;
    return mWorks;
  }
  std::string GetCurrentSketchName() const override { return "Sketch 1"; }
  int32_t GetSketchCount() const override { return 1; }
  int32_t NewSketch() override { return 1; }
  bool SelectSketch(int32_t) override { return true; }
  int32_t GetCurrentSketchbookIndex() const override { return 0; }

  bool mWorks = true;
  int32_t mWrites = 0;
};

// kCloseAfterFailedSave: the quit button's save failed and its notice was
// closed; then the window is closed. kCloseAfterFileQuestion: the file
// button's question was answered no, the child changed the creation again
// and closes the window. kSessionEnds: a termination request closes the
// window; kSessionEndsWhileAsked: it comes while the close's question waits.
enum class Trigger {
  kClose,
  kQuitButton,
  kNewSketchButton,
  kFileButton,
  kCloseAfterFailedSave,
  kCloseAfterFileQuestion,
  kSessionEnds,
  kSessionEndsWhileAsked
};

struct QuestionCase {
  const char* mName;
  bool mAutoSave;
  bool mModified;
  Trigger mTrigger;
  int32_t mAsked;   // the question the trigger asks (none: 0)
  int32_t mAnswer;  // given when a question was asked
  bool mSaveWorks;
  int32_t mWrites;  // sketch writes afterwards
  bool mQuit;       // the program was asked to quit
  int32_t mNextQuestion;
};

class VPLCreationQuestionsTest : public ::testing::TestWithParam<QuestionCase> {
 protected:
  VPLCreationQuestionsTest() { VPLOpenGLFirst = 1; }
  ~VPLCreationQuestionsTest() override {
    VPLGetCreationServices() = VPLCreationServices();
    VPLGetServices().mQuit = nullptr;
    VPLGetServices().mRenderToSurface = nullptr;
    mStage.reset();
    Screen::ResetQuittingForTest();
    VPLResetSessionEndingForTest();
    VPLOpenGLFirst = 0;
  }
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mServices = std::make_unique<dialog_data::DialogServices>(mStage->Stage().GetTextureMap());
    mServices->Preferences().SetAutoSave(GetParam().mAutoSave ? 1 : 0);
    VPLGetCreationServices().mSketches = &mSketches;
    VPLGetServices().mRenderToSurface = [](MMSurface&, int32_t time, bool) {
      return VPLSurfaceRendering{time, true};
    };
    VPLGetServices().mQuit = [this] { ++mQuits; };
    mSketches.mWorks = GetParam().mSaveWorks;
  }

  Screen& UI() { return *static_cast<VPLActCreation*>(mStage->Act())->GetInterface(); }
  VPLCreation& Creation() { return *UI().GetCreationArea()->GetCreation(); }
  void Settle() {
    mStage->RunFrame();
    mStage->RunFrame();
  }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  std::unique_ptr<dialog_data::DialogServices> mServices;
  Sketches mSketches;
  int32_t mQuits = 0;
};

TEST_P(VPLCreationQuestionsTest, TheAnswerDecidesWhatIsSavedAndWhetherTheProgramQuits) {
  const QuestionCase& c = GetParam();
  // A change the child made: the area is no longer untouched.
  UI().GetCreationArea()->TakeSnapshot();
  Creation().SetModified(c.mModified);
  switch (c.mTrigger) {
    case Trigger::kClose:
      UI().OnQuitRequest(true);
      break;
    case Trigger::kQuitButton:
      UI().QuitButton();
      break;
    case Trigger::kNewSketchButton:
      UI().NewSketchButton();
      break;
    case Trigger::kFileButton:
      static_cast<VPLActCreation*>(mStage->Act())->GoToFileScreen(kVPLCreationUIScene);
      break;
    case Trigger::kCloseAfterFailedSave:
      UI().QuitButton();
      Settle();
      ASSERT_EQ(UI().GetPendingQuestion(), kFailed);
      UI().DialogResult(UI().GetQuestionDialog(), kYes);
      Settle();
      UI().OnQuitRequest(true);
      break;
    case Trigger::kCloseAfterFileQuestion:
      static_cast<VPLActCreation*>(mStage->Act())->GoToFileScreen(kVPLCreationUIScene);
      Settle();
      ASSERT_EQ(UI().GetPendingQuestion(), Screen::kSaveBeforeFileScreen);
      UI().DialogResult(UI().GetQuestionDialog(), kNo);
      Settle();
      Creation().SetModified(true);
      UI().OnQuitRequest(true);
      break;
    case Trigger::kSessionEnds:
      VPLEndSession();
      EXPECT_TRUE(UI().OnQuitRequest(true));
      break;
    case Trigger::kSessionEndsWhileAsked:
      UI().OnQuitRequest(true);
      Settle();
      VPLEndSession();
      EXPECT_TRUE(UI().OnQuitRequest(true));
      break;
  }
  Settle();
  ASSERT_EQ(UI().GetPendingQuestion(), c.mAsked);
  if (c.mAsked != kNone) {
    UI().DialogResult(UI().GetQuestionDialog(), c.mAnswer);
    Settle();
  }
  EXPECT_EQ(mSketches.mWrites, c.mWrites);
  EXPECT_EQ(mQuits > 0, c.mQuit);
  EXPECT_EQ(UI().GetPendingQuestion(), c.mNextQuestion);
  if (c.mModified && !c.mSaveWorks) EXPECT_TRUE(Creation().IsModified());
}

constexpr bool kAuto = true;
constexpr bool kAsk = false;
constexpr bool kChanged = true;
constexpr bool kUntouched = false;
constexpr bool kWorks = true;
constexpr bool kFails = false;

INSTANTIATE_TEST_SUITE_P(
    Table, VPLCreationQuestionsTest,
    ::testing::Values(
        QuestionCase{"CloseUnchangedQuitsAtOnce", kAsk, kUntouched, Trigger::kClose, kNone, 0,
                     kWorks, 0, true, kNone},
        QuestionCase{"CloseChangedAsksAndYesSavesAndQuits", kAsk, kChanged, Trigger::kClose,
                     Screen::kSaveBeforeQuit, kYes, kWorks, 1, true, kNone},
        QuestionCase{"CloseChangedNoQuitsUnsaved", kAsk, kChanged, Trigger::kClose,
                     Screen::kSaveBeforeQuit, kNo, kWorks, 0, true, kNone},
        QuestionCase{"CloseWhoseSaveFailsKeepsTheWork", kAsk, kChanged, Trigger::kClose,
                     Screen::kSaveBeforeQuit, kYes, kFails, 1, false, kFailed},
        QuestionCase{"QuitButtonSavesThenAsksAndNoStays", kAuto, kChanged, Trigger::kQuitButton,
                     Screen::kQuit, kNo, kWorks, 1, false, kNone},
        QuestionCase{"QuitButtonWhoseSaveFailsSaysSo", kAuto, kChanged, Trigger::kQuitButton,
                     kFailed, kNo, kFails, 1, false, kNone},
        QuestionCase{"NewSketchOnUnchangedWorkDoesNothing", kAsk, kUntouched,
                     Trigger::kNewSketchButton, kNone, 0, kWorks, 0, false, kNone},
        QuestionCase{"NewSketchWhoseSaveFailsKeepsTheWork", kAsk, kChanged,
                     Trigger::kNewSketchButton, Screen::kSaveBeforeNewSketch, kYes, kFails, 1,
                     false, kFailed},
        QuestionCase{"FileButtonWhoseSaveFailsStays", kAsk, kChanged, Trigger::kFileButton,
                     Screen::kSaveBeforeFileScreen, kYes, kFails, 1, false, kFailed},
        QuestionCase{"FileButtonOnUnchangedWorkAsksNothing", kAsk, kUntouched, Trigger::kFileButton,
                     kNone, 0, kWorks, 0, false, kNone},
        QuestionCase{"CloseAfterAFailedSaveAsksAndNoQuitsUnsaved", kAuto, kChanged,
                     Trigger::kCloseAfterFailedSave, Screen::kSaveBeforeQuit, kNo, kFails, 1, true,
                     kNone},
        QuestionCase{"CloseAfterAFailedSaveAsksAndYesTriesAgain", kAuto, kChanged,
                     Trigger::kCloseAfterFailedSave, Screen::kSaveBeforeQuit, kYes, kFails, 2,
                     false, kFailed},
        QuestionCase{"CloseAfterAnotherAnswerStillAsksForTheWork", kAsk, kChanged,
                     Trigger::kCloseAfterFileQuestion, Screen::kSaveBeforeQuit, kYes, kWorks, 1,
                     true, kNone},
        QuestionCase{"SessionEndSavesWithoutAskingAndQuits", kAsk, kChanged, Trigger::kSessionEnds,
                     kNone, 0, kWorks, 1, true, kNone},
        QuestionCase{"SessionEndWhileTheQuestionWaitsSavesAndQuits", kAsk, kChanged,
                     Trigger::kSessionEndsWhileAsked, Screen::kSaveBeforeQuit, kNo, kWorks, 1, true,
                     kNone},
        QuestionCase{"SessionEndWithUnchangedWorkQuitsUnsaved", kAsk, kUntouched,
                     Trigger::kSessionEnds, kNone, 0, kWorks, 0, true, kNone}),
    [](const ::testing::TestParamInfo<QuestionCase>& info) { return info.param.mName; });

}  // namespace
