// The stage's typed characters and its part of the close handshake, on a
// program stage whose act maker gives a recording act: the stage thread's
// part runs on the test's thread.

#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLStage.h"
#include "foundation/af/AFWindow.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageMessages.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/testhooks.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

namespace {

using vpl::test::DrainMessages;

constexpr int16_t kNoCode = 0;

class RecordingMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t) override {
    mAct = new (ALGlobalAllocator) RecordingInputAct(stage, mLog, "act");
    return mAct;
  }
  bool AgreesToClose(MMAct*) override {
    ++mQuestions;
    return mAgrees;
  }

  StageLog mLog;
  RecordingInputAct* mAct = nullptr;
  bool mAgrees = false;
  int mQuestions = 0;
};

class VPLInputStrategyTest : public ::testing::Test {
 protected:
  VPLInputStrategyTest() {
    VPLSetActMaker(&mMaker);
    mStage->Init();
    mStage->RequestAct(0);
    mStage->UpdateLoop(mStage->GetTaskManager()->GetNow(), true);
    DrainMessages();
    mStage->SetFocusAct(mMaker.mAct);
  }
  // The stage thread never ran: the window's handshake has nothing to ask.
  ~VPLInputStrategyTest() override {
    SetControl(false);
    delete mWindow;
    DrainMessages();
    VPLSetActMaker(nullptr);
  }

  void SetControl(bool down) {
    vpl::platform::InjectKey(mWindow->GetHandle(), VK_CONTROL, down);
    DrainMessages();
  }

  // Answers whether the strategy took the message.
  bool Send(UINT message, WPARAM wParam, LRESULT& result) {
    return mStage->StrategyHandleMessage(mStage->GetControl()->GetHandle(), message, wParam, 0,
                                         result);
  }
  void Type(char character) {
    LRESULT result = 0;
    EXPECT_TRUE(Send(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), result));
  }

  RecordingMaker mMaker;
  MMStageWindow* mWindow = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  VPLStage* mStage = new (ALGlobalAllocator) VPLStage(mWindow, UURect(0, 0, 640, 480));
};

TEST_F(VPLInputStrategyTest, ALetterReachesTheActInTheHighHalf) {
  Type('a');
  ASSERT_EQ(mMaker.mAct->mKeys.size(), 1u);
  EXPECT_EQ(mMaker.mAct->mKeys[0].mKeyCode, kNoCode);
  EXPECT_EQ(mMaker.mAct->mKeys[0].mCharacter, 'a');
}

TEST_F(VPLInputStrategyTest, ControlCodesAreDroppedAndControlSpaceIsThePreferencesKey) {
  SetControl(true);
  for (const char code : {'\x01', '\x08', '\x0D', '\x1B', '\x1F'}) Type(code);
  EXPECT_TRUE(mMaker.mAct->mKeys.empty());
  Type(' ');
  ASSERT_EQ(mMaker.mAct->mKeys.size(), 1u);
  EXPECT_EQ(mMaker.mAct->mKeys[0].mKeyCode, ' ');
  EXPECT_EQ(mMaker.mAct->mKeys[0].mCharacter, 0);
}

TEST_F(VPLInputStrategyTest, TheCloseRequestWaitsForTheActAndStaysAgreed) {
  LRESULT result = 1;
  EXPECT_TRUE(Send(MMWM_CLOSE_STAGE, 0, result));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(mMaker.mQuestions, 1);
  mMaker.mAgrees = true;
  result = 0;
  EXPECT_FALSE(Send(MMWM_CLOSE_STAGE, 0, result));
  mMaker.mAgrees = false;
  EXPECT_FALSE(Send(MMWM_CLOSE_STAGE, 0, result));
  EXPECT_EQ(mMaker.mQuestions, 2);
}

}  // namespace
