#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "foundation/al/ALMilliseconds.h"
#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/testhooks.h"

namespace {

class MMInputStrategyTest : public ::testing::Test {
 protected:
  MMInputStrategyTest()
      : mRun([this](MMStage* stage) {
          mAct = new (ALGlobalAllocator) RecordingInputAct(stage, mRun.mLog, "act");
          return mAct;
        }) {}
  MMStage* Stage() { return mRun.mStage; }
  MMInputStrategy* Strategy() { return Stage()->GetInputStrategy(); }
  HWND Control() { return Stage()->GetControl()->GetHandle(); }
  bool Send(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    return Strategy()->HandleMessage(Control(), message, wParam, lParam, result);
  }
  // The key state follows the key messages as they are taken.
  void PressKey(int virtualKey, bool down) {
    vpl::platform::InjectKey(Stage()->GetWindow()->GetHandle(), virtualKey, down);
    MSG message;
    while ((GetKeyState(virtualKey) < 0) != down)
      PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);
  }
  bool CharPending() {
    MSG message;
    return PeekMessageA(&message, Control(), WM_CHAR, WM_CHAR, PM_NOREMOVE) != 0;
  }

  RecordingInputAct* mAct = nullptr;
  StageOnTestThread mRun;
};

TEST_F(MMInputStrategyTest, MouseFlagsFollowTheMessageAndTheButtons) {
  mRun.Start();
  struct Case {
    UINT message;
    WPARAM wParam;
    int32_t flags;
  };
  const Case cases[] = {
      {WM_MOUSEMOVE, 0, 0},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 0x21},
      {WM_LBUTTONDOWN, MK_LBUTTON, 0x03},
      {WM_LBUTTONUP, 0, 0x04},
      {WM_RBUTTONUP, MK_LBUTTON, 0x05},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, 0x83},
      {WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, 0x53},
      {WM_MBUTTONDBLCLK, MK_MBUTTON, 0x83},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Strategy()->MouseFlags(c.message, c.wParam), c.flags) << c.message;
  const MMMouseEvent event = Strategy()->MakeMouseEvent(WM_MOUSEMOVE, 0, MAKELPARAM(5, 0xFFF0));
  EXPECT_EQ(event.mX, 5);
  EXPECT_EQ(event.mY, -16);
}

TEST_F(MMInputStrategyTest, SpecialKeysAreTranslatedAndSomeTakeTheirCharacter) {
  mRun.Start();
  Stage()->SetFocusAct(Stage()->GetAct());
  PostMessageA(Control(), WM_CHAR, '\t', 0);
  EXPECT_TRUE(Send(WM_KEYDOWN, VK_TAB, 0));
  EXPECT_FALSE(CharPending());

  PressKey(VK_SHIFT, true);
  PostMessageA(Control(), WM_CHAR, '\t', 0);
  EXPECT_TRUE(Send(WM_KEYDOWN, VK_TAB, 0));
  EXPECT_TRUE(CharPending());
  PressKey(VK_CONTROL, true);
  EXPECT_FALSE(Send(WM_KEYDOWN, VK_UP, 0));  // Ctrl+Shift+Up has no translation
  EXPECT_TRUE(Send(WM_KEYDOWN, VK_END, 0));
  PressKey(VK_CONTROL, false);
  PressKey(VK_SHIFT, false);
  EXPECT_TRUE(Send(WM_KEYDOWN, VK_F1 + 11, 0));
  EXPECT_FALSE(Send(WM_KEYDOWN, 'A', 0));
  EXPECT_TRUE(Send(WM_CHAR, 0x82A0, 0));

  ASSERT_EQ(mAct->mKeys.size(), 5u);
  const int16_t codes[] = {3, 4, 29, 49, 0};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(mAct->mKeys[i].mKeyCode, codes[i]);
  EXPECT_EQ(mAct->mKeys[4].mCharacter, 0xA0);
  EXPECT_EQ(mAct->mKeys[4].mSecondByte, 0x82);
}

TEST_F(MMInputStrategyTest, IdleTicksReplayTheLastMouseEventWithoutItsPress) {
  mRun.Start(false);
  // Before the first frame is on screen the user's input still arrives,
  // but idle ticks do nothing.
  EXPECT_TRUE(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20)));
  ASSERT_EQ(mAct->mMouse.size(), 1u);
  Stage()->RequestUpdate(kMMNever, true);
  Strategy()->IdleTick();
  EXPECT_EQ(mAct->mMouse.size(), 1u);

  Stage()->OnPaint();
  ASSERT_EQ(Stage()->GetFirstFrameState(), MMStage::kFrameRunning);
  Strategy()->IdleTick();
  ASSERT_EQ(mAct->mMouse.size(), 2u);
  EXPECT_EQ(mAct->mMouse[1].mFlags, kMMMouseButtonDown);
  EXPECT_EQ(mAct->mMouse[1].mX, 10);
  EXPECT_TRUE(Stage()->GetPendingUpdateDraws());
  // Nothing more while an update is pending.
  Strategy()->IdleTick();
  EXPECT_EQ(mAct->mMouse.size(), 2u);
}

TEST_F(MMInputStrategyTest, UpdatesAreNeverPlacedBeforeTheTaskManagersTime) {
  mRun.Start();
  const int32_t now = Stage()->GetTaskManager()->GetNow();
  Stage()->GetTaskManager()->RunUntil(now + 100000);
  Send(WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Stage()->GetPendingUpdateTime(), now + 100000);
  // A lazy strategy lets the idle tick draw.
  Stage()->SetInputStrategy(new (ALGlobalAllocator) MMLazyUpdateInputStrategy(Stage()));
  Send(WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(Stage()->GetPendingUpdateDraws());
}

}  // namespace
