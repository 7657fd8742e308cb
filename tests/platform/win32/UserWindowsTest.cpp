// Windows and messages: classes, creation, procedures, properties, painting,
// timers, focus, queues across threads and desktop input.

#include "platform/win32/gdi.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using vpl::platform::DesktopEvent;
using vpl::test::DrainMessages;

// Every message a recording window receives, in order, on any thread.
std::mutex gLogMutex;
std::vector<std::pair<HWND, UINT>> gLog;
LPVOID gCreateParam = nullptr;

void Record(HWND window, UINT message) {
  std::lock_guard lock(gLogMutex);
  gLog.emplace_back(window, message);
}

void ClearLog() {
  std::lock_guard lock(gLogMutex);
  gLog.clear();
}

std::vector<UINT> MessagesOf(HWND window) {
  std::lock_guard lock(gLogMutex);
  std::vector<UINT> messages;
  for (auto [w, m] : gLog) {
    if (w == window) messages.push_back(m);
  }
  return messages;
}

bool Received(HWND window, UINT message) {
  auto messages = MessagesOf(window);
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Record(window, message);
  if (message == WM_NCCREATE || message == WM_CREATE) {
    gCreateParam = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterRecordingClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "RecordingClass";
  return RegisterClassExA(&windowClass) != 0;
}

HWND MakeTopLevel(DWORD style = WS_OVERLAPPEDWINDOW, LPVOID param = nullptr) {
  return CreateWindowExA(0, "RecordingClass", "Top", style, 10, 20, 200, 100, nullptr, nullptr,
                         nullptr, param);
}

HWND MakeChild(HWND parent, int x, int y, int w, int h) {
  return CreateWindowExA(0, "RecordingClass", "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                         nullptr, nullptr, nullptr);
}

// Each test leaves the process as it found it: its windows destroyed, its
// window classes unregistered.
class UserWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    ASSERT_TRUE(RegisterRecordingClass());
  }
  void TearDown() override {
    for (HWND window : mWindows) {
      if (IsWindow(window)) DestroyWindow(window);
    }
    DrainMessages();
    EXPECT_TRUE(UnregisterClassA("RecordingClass", nullptr));
  }
  HWND Keep(HWND window) {
    mWindows.push_back(window);
    return window;
  }
  std::vector<HWND> mWindows;
};

TEST_F(UserWindowsTest, CreationPassesTheParameterAndDestructionOrdersItsMessages) {
  int marker = 0;
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW, &marker));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(gCreateParam, &marker);
  auto messages = MessagesOf(top);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0], WM_NCCREATE);
  EXPECT_EQ(messages[1], WM_CREATE);

  HWND child = MakeChild(top, 0, 0, 10, 10);
  ClearLog();
  ASSERT_TRUE(DestroyWindow(top));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  std::vector<std::pair<HWND, UINT>> expected = {
      {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  std::vector<std::pair<HWND, UINT>> destroyMessages;
  std::vector<std::pair<HWND, UINT>> log;
  {
    std::lock_guard lock(gLogMutex);
    log = gLog;
  }
  for (auto entry : log) {
    if (entry.second == WM_DESTROY || entry.second == WM_NCDESTROY)
      destroyMessages.push_back(entry);
  }
  EXPECT_EQ(destroyMessages, expected);

  EXPECT_EQ(
      CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

LRESULT RefuseCreate(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_CREATE ? -1 : TRUE;
}

TEST_F(UserWindowsTest, AWindowThatRefusesCreationIsNotMade) {
  WNDCLASSEXA windowClass{sizeof(WNDCLASSEXA)};
  windowClass.lpfnWndProc = RefuseCreate;
  windowClass.lpszClassName = "RefusingClass";
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_EQ(
      CreateWindowExA(0, "RefusingClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
      nullptr);
  EXPECT_TRUE(UnregisterClassA("RefusingClass", nullptr));
}

TEST_F(UserWindowsTest, AbsurdSizesMakeAWindowWhoseRectangleNeverWraps) {
  RegisterRecordingClass();
  constexpr int kHuge = 200000;
  struct Case {
    const char* what;
    int x, y, width, height;
    RECT expected;
  };
  const Case cases[] = {
      {"far larger than any screen", 0, 0, kHuge, kHuge, RECT{0, 0, kHuge, kHuge}},
      {"ending past INT_MAX", 5, INT_MAX - 10, 100, 100, RECT{5, INT_MAX - 10, 105, INT_MAX}},
      {"negative sizes", 7, 8, -5, -6, RECT{7, 8, 7, 8}},
  };
  for (const Case& c : cases) {
    HWND window = Keep(CreateWindowExA(0, "RecordingClass", "", WS_POPUP, c.x, c.y, c.width,
                                       c.height, nullptr, nullptr, nullptr, nullptr));
    ASSERT_NE(window, nullptr) << c.what;
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.what;
    HDC dc = GetDC(window);  // drawing far out is clipped, not written past the pixels
    EXPECT_TRUE(PatBlt(dc, kHuge - 10, kHuge - 10, 10, 10, BLACKNESS)) << c.what;
    ReleaseDC(window, dc);
  }
}

TEST_F(UserWindowsTest, AClassWithWindowsStaysAndAHiddenSystemClassComesBack) {
  WNDCLASSEXA local{sizeof(WNDCLASSEXA)};
  local.lpfnWndProc = RecordingProc;
  local.lpszClassName = "Static";
  ASSERT_NE(RegisterClassExA(&local), 0);
  WNDCLASSA info{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "STATIC", &info));
  EXPECT_EQ(info.lpfnWndProc, RecordingProc);
  HWND window =
      CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(UnregisterClassA("Static", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassA("Static", nullptr));
  ASSERT_TRUE(GetClassInfoA(nullptr, "STATIC", &info));
  EXPECT_NE(info.lpfnWndProc, RecordingProc);  // the system's own again
  EXPECT_FALSE(UnregisterClassA("STATIC", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

WNDPROC gPrevious = nullptr;
int gSubclassCalls = 0;
LRESULT Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return ++gSubclassCalls;
  return CallWindowProcA(gPrevious, window, message, wParam, lParam);
}

TEST_F(UserWindowsTest, LongValuesPropertiesTextsAndLookups) {
  gSubclassCalls = 0;
  HWND top = Keep(MakeTopLevel());
  int object = 0;
  SetWindowLongPtrA(top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&object));
  EXPECT_EQ(GetWindowLongPtrA(top, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&object));
  SetWindowLongPtrA(top, DWLP_USER, reinterpret_cast<LONG_PTR>(&object));
  EXPECT_EQ(GetWindowLongPtrA(top, DWLP_USER), reinterpret_cast<LONG_PTR>(&object));
  EXPECT_EQ(GetWindowLongPtrA(top, 4096), 0);

  gPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  EXPECT_EQ(gPrevious, RecordingProc);
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 1);
  SendMessageA(top, WM_USER + 1, 0, 0);
  EXPECT_TRUE(Received(top, WM_USER + 1));  // passed on to the class procedure

  ATOM atom = GlobalAddAtomA("Test Binding");
  ASSERT_NE(atom, 0);
  ASSERT_TRUE(SetPropA(top, MAKEINTRESOURCEA(atom), &object));
  EXPECT_EQ(GetPropA(top, "test binding"), &object);
  EXPECT_EQ(RemovePropA(top, "Test Binding"), &object);
  EXPECT_EQ(GetPropA(top, MAKEINTRESOURCEA(atom)), nullptr);
  EXPECT_EQ(GlobalDeleteAtom(atom), 0);
  EXPECT_EQ(GlobalFindAtomA("Test Binding"), 0);

  SetWindowTextA(top, "Unique Title");
  char title[256];
  EXPECT_EQ(GetWindowTextA(top, title, sizeof title), 12);
  EXPECT_STREQ(title, "Unique Title");
  EXPECT_EQ(GetWindowTextA(top, title, 4), 3);
  EXPECT_EQ(FindWindowA("recordingclass", "Unique Title"), top);
  EXPECT_EQ(FindWindowA(nullptr, "No Such Title"), nullptr);
}

TEST_F(UserWindowsTest, GeometryAndTheChildOrder) {
  HWND top = Keep(MakeTopLevel());
  HWND first = MakeChild(top, 10, 5, 50, 40);
  HWND second = MakeChild(top, 30, 30, 20, 20);
  RECT rect;
  GetWindowRect(first, &rect);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.top, 25);
  GetClientRect(first, &rect);
  EXPECT_EQ(rect.right, 50);
  EXPECT_EQ(rect.bottom, 40);
  POINT point{0, 0};
  ClientToScreen(first, &point);
  EXPECT_EQ(point.x, 20);
  ScreenToClient(second, &point);
  EXPECT_EQ(point.x, -20);
  EXPECT_EQ(point.y, -25);

  EXPECT_EQ(GetWindow(top, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
  SetWindowPos(first, second, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), second);
  EXPECT_EQ(GetWindow(top, GW_CHILD) == second && GetWindow(second, GW_HWNDNEXT) == first, true);

  ClearLog();
  SetWindowPos(second, nullptr, 1, 2, 3, 4, SWP_NOZORDER);
  EXPECT_TRUE(Received(second, WM_SIZE));
  EXPECT_TRUE(Received(second, WM_MOVE));
  ClearLog();
  SetWindowPos(second, nullptr, 1, 2, 3, 4, SWP_NOZORDER);
  EXPECT_FALSE(Received(second, WM_SIZE));
}

TEST_F(UserWindowsTest, ShowingAndInvalidatingPaintsOnceValidated) {
  HWND top = Keep(MakeTopLevel());
  HWND child = MakeChild(top, 0, 0, 20, 20);
  DrainMessages();
  EXPECT_FALSE(Received(top, WM_PAINT));  // hidden windows do not paint
  ShowWindow(top, SW_SHOW);
  DrainMessages();
  auto messages = MessagesOf(top);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_PAINT), 1);
  EXPECT_TRUE(Received(child, WM_PAINT));
  // The class background of the erase reached the pixels.
  EXPECT_EQ(vpl::platform::WindowPixelAt(top, POINT{100, 50}), 0xFFFFFFu);

  ClearLog();
  RECT part{0, 0, 5, 5};
  InvalidateRect(child, &part, FALSE);
  DrainMessages();
  EXPECT_TRUE(Received(child, WM_PAINT));
  EXPECT_FALSE(Received(top, WM_PAINT));
  ClearLog();
  InvalidateRect(top, nullptr, FALSE);
  ValidateRect(top, nullptr);
  ValidateRect(child, nullptr);
  DrainMessages();
  EXPECT_FALSE(Received(top, WM_PAINT));
}

// A window that paints its client area red.
LRESULT RedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &paint.rcPaint, red);
  DeleteObject(red);
  EndPaint(window, &paint);
  return 0;
}

// The parent's erase covers its children's pixels; a child that painted
// first (its thread was quicker) paints again and ends on top.
TEST_F(UserWindowsTest, AChildThatPaintedBeforeItsParentEndsOnTop) {
  constexpr uint32_t kRed = 0xFF0000;
  constexpr POINT kInChild{5, 5};
  WNDCLASSEXA redClass{sizeof(WNDCLASSEXA)};
  redClass.lpfnWndProc = RedProc;
  redClass.lpszClassName = "RedChild";
  RegisterClassExA(&redClass);
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND child = CreateWindowExA(0, "RedChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top, nullptr,
                               nullptr, nullptr);
  DrainMessages();
  ASSERT_EQ(vpl::platform::WindowPixelAt(child, kInChild), kRed);
  InvalidateRect(top, nullptr, TRUE);
  UpdateWindow(child);
  DrainMessages();
  EXPECT_EQ(vpl::platform::WindowPixelAt(child, kInChild), kRed);
}

TEST_F(UserWindowsTest, QueueOrderIsPostedThenPaintThenTimer) {
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  DrainMessages();
  SetTimer(top, 7, 10, nullptr);
  InvalidateRect(top, nullptr, FALSE);
  PostMessageA(top, WM_USER, 0, 0);
  MSG message;
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_USER);
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, WM_PAINT);
  DispatchMessageA(&message);
  ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));  // waits for the timer
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_TRUE(KillTimer(top, 7));
  EXPECT_FALSE(KillTimer(top, 7));
}

TEST_F(UserWindowsTest, FocusMovesWithItsMessagesAndAcceleratorsBecomeCommands) {
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND a = MakeChild(top, 0, 0, 10, 10);
  HWND b = MakeChild(top, 10, 0, 10, 10);
  EXPECT_EQ(GetActiveWindow(), top);
  SetFocus(a);
  EXPECT_EQ(GetFocus(), a);
  ClearLog();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(MessagesOf(a), std::vector<UINT>{WM_KILLFOCUS});
  EXPECT_EQ(MessagesOf(b), std::vector<UINT>{WM_SETFOCUS});

  ACCEL accel{FVIRTKEY, VK_F1, 42};
  HACCEL table = CreateAcceleratorTableA(&accel, 1);
  MSG key{b, WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
  ClearLog();
  EXPECT_EQ(TranslateAcceleratorA(top, table, &key), 1);
  EXPECT_TRUE(Received(top, WM_COMMAND));
  key.wParam = VK_F12;
  EXPECT_EQ(TranslateAcceleratorA(top, table, &key), 0);
  DestroyAcceleratorTable(table);
  EXPECT_EQ(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(425)), nullptr);
}

// A control of another thread that learns of activation while that thread
// is still inside its ShowWindow of the main window.
std::atomic<bool> gInsideShow{false};
std::atomic<bool> gActivatedInsideShow{false};
std::atomic<int> gCloseRequests{0};
constexpr UINT kActivated = 0x8002;
constexpr UINT kCloseRequest = 0x8007;
HWND gControl = nullptr;

LRESULT ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kActivated && gInsideShow) gActivatedInsideShow = true;
  if (message == kCloseRequest) {
    if (++gCloseRequests < 3) return 0;  // refuses twice
    PostQuitMessage(0);
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && gControl != nullptr) {
    SendMessageA(gControl, kActivated, 0, 0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(UserWindowsTest, CrossThreadSendsRunInsideTheWaitingCallers) {
  gCloseRequests = 0;
  gActivatedInsideShow = false;
  WNDCLASSEXA mainClass{sizeof(WNDCLASSEXA)};
  mainClass.lpfnWndProc = MainProc;
  mainClass.lpszClassName = "ChainMain";
  RegisterClassExA(&mainClass);
  WNDCLASSEXA controlClass{sizeof(WNDCLASSEXA)};
  controlClass.lpfnWndProc = ControlProc;
  controlClass.lpszClassName = "ChainControl";
  RegisterClassExA(&controlClass);

  HWND main = Keep(CreateWindowExA(0, "ChainMain", "Main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr));
  const DWORD mainThread = GetCurrentThreadId();
  std::atomic<bool> stageDone{false};
  std::thread stage([&] {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    AttachThreadInput(GetCurrentThreadId(), mainThread, TRUE);
    gControl = CreateWindowExA(0, "ChainControl", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, main,
                               nullptr, nullptr, nullptr);
    gInsideShow = true;
    ShowWindow(main, SW_SHOW);
    gInsideShow = false;
    while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
    DestroyWindow(gControl);
    stageDone = true;
  });
  // The main thread runs its loop until the stage has shown the window.
  MSG message;
  while (!IsWindowVisible(main) && GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
  // The close handshake: asked again until the control agrees.
  while (SendMessageA(gControl, kCloseRequest, 0, 0) == 0) {
  }
  while (!stageDone) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&message);
    else
      std::this_thread::yield();
  }
  stage.join();
  EXPECT_TRUE(gActivatedInsideShow);
  EXPECT_EQ(gCloseRequests, 3);
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_FALSE(IsWindow(gControl));
  gControl = nullptr;
  DestroyWindow(main);
  EXPECT_TRUE(UnregisterClassA("ChainMain", nullptr));
  EXPECT_TRUE(UnregisterClassA("ChainControl", nullptr));
}

TEST_F(UserWindowsTest, SendNotifyDoesNotWaitAndAGoneThreadFailsTheSend) {
  HWND window = nullptr;
  std::atomic<bool> created{false};
  HANDLE proceed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    window = MakeTopLevel();
    created = true;
    WaitForSingleObject(proceed, INFINITE);
    DrainMessages();
    DestroyWindow(window);
  });
  while (!created) std::this_thread::yield();
  EXPECT_TRUE(SendNotifyMessageA(window, WM_USER + 5, 0, 0));
  EXPECT_FALSE(Received(window, WM_USER + 5));
  SetEvent(proceed);
  owner.join();
  EXPECT_TRUE(Received(window, WM_USER + 5));
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0);
  CloseHandle(proceed);
}

TEST_F(UserWindowsTest, DesktopInputBecomesMessagesOfTheWindowUnderIt) {
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND child = MakeChild(top, 50, 40, 30, 30);
  DrainMessages();
  using vpl::platform::InjectKey;
  using vpl::platform::InjectMouseButton;
  InjectMouseButton(top, POINT{60, 45}, 1, true, 1);
  InjectMouseButton(top, POINT{60, 45}, 1, false, 1);
  InjectMouseButton(top, POINT{60, 45}, 1, true, 2);
  InjectMouseButton(top, POINT{5, 5}, 2, true, 1);
  std::vector<MSG> mouse;
  MSG message;
  while (mouse.size() < 4 && GetMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST)) {
    mouse.push_back(message);
  }
  ASSERT_EQ(mouse.size(), 4u);
  EXPECT_EQ(mouse[0].hwnd, child);
  EXPECT_EQ(mouse[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(GET_X_LPARAM(mouse[0].lParam), 10);
  EXPECT_EQ(GET_Y_LPARAM(mouse[0].lParam), 5);
  EXPECT_EQ(mouse[1].message, WM_LBUTTONUP);
  EXPECT_EQ(mouse[2].message, WM_LBUTTONDBLCLK);
  EXPECT_EQ(mouse[3].hwnd, top);
  EXPECT_EQ(mouse[3].message, WM_RBUTTONDOWN);
  EXPECT_EQ(GetMessageTime(), static_cast<LONG>(mouse[3].time));

  SetFocus(child);
  InjectKey(top, VK_SHIFT, true);
  InjectKey(top, 'A', true);
  InjectKey(top, 'A', false);
  InjectKey(top, VK_SHIFT, false);
  std::vector<MSG> keys;
  while (keys.size() < 5 && GetMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST)) {
    TranslateMessage(&message);
    keys.push_back(message);
  }
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[1].hwnd, child);
  EXPECT_EQ(keys[1].message, WM_KEYDOWN);
  EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(keys[2].message, WM_CHAR);
  EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(keys[3].message, WM_KEYUP);
}

TEST_F(UserWindowsTest, ControlKeysTranslateToControlCodesAndCtrlSpaceToASpace) {
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  DrainMessages();
  using vpl::platform::InjectKey;
  SetFocus(top);
  InjectKey(top, VK_CONTROL, true);
  for (int key : {int{'A'}, VK_SPACE, int{'1'}}) {
    InjectKey(top, key, true);
    InjectKey(top, key, false);
  }
  InjectKey(top, VK_CONTROL, false);
  std::vector<WPARAM> characters;
  MSG message;
  // Eight key messages, each down translated as it comes.
  for (int keys = 0; keys < 8 && GetMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST);) {
    if (message.message == WM_CHAR) {
      characters.push_back(message.wParam);
      continue;
    }
    TranslateMessage(&message);
    ++keys;
  }
  while (PeekMessageA(&message, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    characters.push_back(message.wParam);
  }
  // Ctrl+1 types nothing.
  EXPECT_EQ(characters, (std::vector<WPARAM>{1, ' '}));
}

TEST_F(UserWindowsTest, ClosingFromTheDesktopDestroysThroughTheDefaultProcedure) {
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  DrainMessages();
  vpl::platform::InjectDesktopEvent(top, DesktopEvent::Close, 0, 0);
  // The desktop is pumped before the marker comes out of the queue.
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) && message.message != WM_USER) {
    DispatchMessageA(&message);
  }
  EXPECT_FALSE(IsWindow(top));
  auto messages = MessagesOf(top);
  auto close = std::find(messages.begin(), messages.end(), WM_SYSCOMMAND);
  ASSERT_NE(close, messages.end());
  EXPECT_EQ(*(close + 1), WM_CLOSE);
}

TEST_F(UserWindowsTest, ScreenCaptureFailsCleanlyWithoutAnXDisplay) {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver == nullptr || std::string(driver) != "offscreen") {
    GTEST_SKIP() << "needs the offscreen driver";
  }
  HWND top = Keep(MakeTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  HWND child = MakeChild(top, 0, 0, 10, 10);
  DrainMessages();
  std::vector<uint32_t> pixels;
  int width = -1;
  int height = -1;
  EXPECT_FALSE(vpl::platform::CaptureWindowOnScreen(top, pixels, width, height));
  EXPECT_FALSE(vpl::platform::CaptureWindowOnScreen(child, pixels, width, height));
  EXPECT_TRUE(pixels.empty());
  EXPECT_EQ(width, -1);
}

}  // namespace
