#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"
#include "platform/win32/winmm.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(UserMessageQueueTest, PostedMessagesComeOutInOrderAndQuitLast) {
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  PostQuitMessage(3);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 1, 10, 20);
  PostMessageA(nullptr, WM_USER + 2, 0, 0);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_USER + 1u);
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_USER + 1u);
  EXPECT_EQ(message.wParam, 10u);
  EXPECT_EQ(message.lParam, 20);
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_USER + 2u);
  EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(UserMessageQueueTest, FilterPicksMessagesInRange) {
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 1, 0, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, 0, 0);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(message.message, WM_USER + 5u);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_USER + 1u);
}

DWORD gMainThread = 0;
DWORD PostToMain(LPVOID) { return PostThreadMessageA(gMainThread, WM_USER + 7, 0, 0) ? 0 : 1; }

TEST(UserMessageQueueTest, MessageFromAnotherThreadEndsWaitMessage) {
  MSG message{};
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
  gMainThread = GetCurrentThreadId();
  HANDLE thread = CreateThread(nullptr, 0, PostToMain, nullptr, 0, nullptr);
  EXPECT_TRUE(WaitMessage());
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_USER + 7u);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

TEST(UserMessageQueueTest, MsgWaitEndsOnANewMessageOrWhenTheTimeRunsOut) {
  MSG message{};
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // everything queued has been seen
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 0, 0);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_USER + 3u);
  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  CloseHandle(event);
}

TEST(UserMessageQueueTest, PostingToAThreadWithoutQueueFails) {
  EXPECT_FALSE(PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

TEST(UserMessageBoxTest, AnswersAtOnceWithoutDisplayAndCounts) {
  const int before = vpl::platform::MessageBoxCount();
  // Without a display no box can be shown: 0, unless a test answers.
  EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", MB_OK), 0);
  vpl::platform::SetMessageBoxAnswer(IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Question", MB_YESNO), IDYES);
  vpl::platform::SetMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Retry?", "Missing", MB_RETRYCANCEL), IDCANCEL);
  vpl::platform::SetMessageBoxAnswer(0);
  EXPECT_EQ(vpl::platform::MessageBoxCount(), before + 3);
  EXPECT_EQ(vpl::platform::LastMessageBoxCaption(), "Missing");
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), "Retry?");
}

TEST(UserErrorTextTest, KnownCodesHaveTextUnknownHaveNone) {
  char buffer[256];
  EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer,
                           sizeof buffer, nullptr),
            0u);
  EXPECT_STREQ(buffer, "The system cannot find the file specified.");
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 0, buffer, sizeof buffer,
                           nullptr),
            0u);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 5,
                           nullptr),
            0u);
}

}  // namespace

namespace {

// Answers early, then goes on working while the sender already runs.
HANDLE gSenderWentOn = nullptr;
LRESULT ReplyingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_USER + 9) return DefWindowProcA(window, message, wParam, lParam);
  EXPECT_TRUE(ReplyMessage(42));
  EXPECT_FALSE(ReplyMessage(43));
  EXPECT_EQ(WaitForSingleObject(gSenderWentOn, 10000), WAIT_OBJECT_0);
  return 7;
}

HWND gReplyingWindow = nullptr;
DWORD gWindowThread = 0;
DWORD SendToReplyingWindow(LPVOID) {
  const LRESULT answer = SendMessageA(gReplyingWindow, WM_USER + 9, 0, 0);
  SetEvent(gSenderWentOn);
  PostThreadMessageA(gWindowThread, WM_USER + 10, 0, 0);
  return static_cast<DWORD>(answer);
}

TEST(UserMessageQueueTest, ReplyMessageReleasesTheSenderBeforeTheHandlingEnds) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ReplyingProc;
  windowClass.lpszClassName = "ReplyingClass";
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  gReplyingWindow =
      CreateWindowExA(0, "ReplyingClass", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(gReplyingWindow, nullptr);
  EXPECT_FALSE(ReplyMessage(1));  // nothing was sent to this thread
  gSenderWentOn = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  gWindowThread = GetCurrentThreadId();
  HANDLE sender = CreateThread(nullptr, 0, SendToReplyingWindow, nullptr, 0, nullptr);
  MSG message{};
  // Waiting for a message also handles the one the sender sends.
  while (GetMessageA(&message, nullptr, 0, 0) && message.message != WM_USER + 10) {
  }
  WaitForSingleObject(sender, INFINITE);
  DWORD answer = 0;
  GetExitCodeThread(sender, &answer);
  EXPECT_EQ(answer, 42u);
  CloseHandle(sender);
  CloseHandle(gSenderWentOn);
  DestroyWindow(gReplyingWindow);
  EXPECT_TRUE(UnregisterClassA("ReplyingClass", nullptr));
}

constexpr UINT kSentToFilterWindow = WM_USER + 20;
constexpr UINT kPostedToFilterWindow = WM_USER + 21;
constexpr int kQuitCode = 5;
int gSentHandled = 0;
HWND gFilterWindow = nullptr;

LRESULT CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kSentToFilterWindow) ++gSentHandled;
  return DefWindowProcA(window, message, wParam, lParam);
}

DWORD SendToFilterWindow(LPVOID) {
  SendMessageA(gFilterWindow, kSentToFilterWindow, 0, 0);
  return 0;
}

TEST(UserMessageQueueTest, QueueStatusFlagsLimitWhatAPeekHandles) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = CountingProc;
  windowClass.lpszClassName = "QueueStatusFilterClass";
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  gFilterWindow = CreateWindowExA(0, "QueueStatusFilterClass", "", 0, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(gFilterWindow, nullptr);
  gSentHandled = 0;
  PostMessageA(gFilterWindow, kPostedToFilterWindow, 0, 0);
  PostQuitMessage(kQuitCode);
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE));
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_PAINT));

  HANDLE sender = CreateThread(nullptr, 0, SendToFilterWindow, nullptr, 0, nullptr);
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_SENDMESSAGE), WAIT_OBJECT_0);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE));
  EXPECT_EQ(message.message, kPostedToFilterWindow);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, static_cast<WPARAM>(kQuitCode));
  EXPECT_EQ(gSentHandled, 0);  // still waiting: posted peeks leave sent messages alone
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE));
  EXPECT_EQ(gSentHandled, 1);
  WaitForSingleObject(sender, INFINITE);
  CloseHandle(sender);
  DestroyWindow(gFilterWindow);
  UnregisterClassA("QueueStatusFilterClass", nullptr);
}

}  // namespace

namespace {

// Only the main thread takes the desktop's events. A window of another
// thread that waits for a click while the main thread waits for its answer
// still sees the click.
constexpr UINT kAskForClick = WM_USER + 30;
constexpr DWORD kClickWaitMilliseconds = 20000;
constexpr DWORD kWakeMilliseconds = 100;
HWND gClickWindow = nullptr;
HANDLE gClickWindowReady = nullptr;

LRESULT ClickWaitingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kAskForClick) return DefWindowProcA(window, message, wParam, lParam);
  const DWORD start = timeGetTime();
  MSG click;
  while (!PeekMessageA(&click, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) {
    if (timeGetTime() - start > kClickWaitMilliseconds) return 0;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kWakeMilliseconds, QS_ALLINPUT);
  }
  return 1;
}

DWORD ClickWindowThread(LPVOID) {
  gClickWindow = CreateWindowExA(0, "ClickWaitingClass", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                 nullptr, nullptr, nullptr, nullptr);
  SetEvent(gClickWindowReady);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(gClickWindow);
  return 0;
}

TEST(UserMessageQueueTest, TheMainThreadKeepsTheDesktopGoingWhileItWaitsForAnAnswer) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ClickWaitingProc;
  windowClass.lpszClassName = "ClickWaitingClass";
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  gClickWindowReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  const HANDLE thread = CreateThread(nullptr, 0, ClickWindowThread, nullptr, 0, &threadId);
  ASSERT_TRUE(vpl::test::PumpUntilSet(gClickWindowReady));
  ASSERT_NE(gClickWindow, nullptr);
  vpl::platform::InjectMouseButton(gClickWindow, POINT{5, 5}, 1, true, 1);
  EXPECT_EQ(SendMessageA(gClickWindow, kAskForClick, 0, 0), 1);
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  EXPECT_TRUE(vpl::test::PumpUntilSet(thread));
  CloseHandle(thread);
  CloseHandle(gClickWindowReady);
  vpl::test::DrainMessages();
  EXPECT_TRUE(UnregisterClassA("ClickWaitingClass", nullptr));
}

}  // namespace
