// The stage end to end on its own thread: a 2D act whose scene draws boxes
// and text, the user's mouse and keys from the desktop, an act switch asked
// from the window's thread, and the close handshake.

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "StageTestSupport.h"
#include "foundation/al/ALMilliseconds.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskClient.h"
#include "platform/win32/testhooks.h"
#include "tests/support/DesktopTestSupport.h"

namespace {

using vpl::test::PumpUntil;
using vpl::test::PumpUntilSet;
using vpl::test::ScreenOnX;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kInk = 0x000000;

// The scene: a white stage, a box in the act's colour, a blue box and a
// word in black.
constexpr UURect kStageRect(0, 0, 640, 480);
constexpr UURect kActBox(20, 20, 120, 120);
constexpr UURect kBlueBox(200, 50, 300, 150);
constexpr UURect kTextBox(40, 300, 400, 360);
constexpr int32_t kTextBaselineAboveBottom = 10;
constexpr POINT kInActBox{60, 60};
constexpr POINT kInBlueBox{250, 100};
constexpr POINT kOnBackground{400, 200};
// Black pixels of the word, counted on every second column of its box.
constexpr int kLeastInk = 50;

// The first act shows red, the next ones green; this posted wParam asks
// for the next act.
constexpr uint32_t kFirstActColour = kRed;
constexpr uint32_t kNextActColour = kGreen;
constexpr WPARAM kSwitchAct = 1;

constexpr POINT kPressAt{100, 100};
constexpr POINT kReleaseAt{150, 120};
// The stage's code for the left arrow key.
constexpr int16_t kLeftArrowCode = 10;

AFColor ColorOf(uint32_t rgb) {
  return AFColor(AFRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                       static_cast<uint8_t>(rgb)));
}

// What the stage thread reports to the test's thread.
struct DemoReport {
  std::mutex mutex;
  std::vector<MMMouseEvent> mouse;
  std::vector<int32_t> mouseStageTimes;
  std::vector<MMKeyEvent> keys;
  StageLog log;
  HANDLE presented = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE keysArrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE taskRan = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ~DemoReport() {
    CloseHandle(presented);
    CloseHandle(keysArrived);
    CloseHandle(taskRan);
  }
  void Note(std::string entry) {
    std::lock_guard lock(mutex);
    log.push_back(std::move(entry));
  }
};

// Paints the scene on the stage's back surface.
class BoxScene : public MMScene {
 public:
  BoxScene(MMAct* act, uint32_t boxColour)
      : MMScene(act->GetSceneServices(), nullptr), mColour(boxColour) {}
  void Paint(MMDrawingSurface& surface) {
    surface.FillRect(kStageRect, ColorOf(kWhite));
    surface.FillRect(kActBox, ColorOf(mColour));
    surface.FillRect(kBlueBox, ColorOf(kBlue));
    MMSystemFont font("DejaVu Sans", 32, 700, false, false);
    MMTextStyle style;
    style.mFont = &font;
    style.mColor = ColorOf(kInk);
    surface.DrawText("Plorvia", kTextBox.mLeft, kTextBox.mBottom - kTextBaselineAboveBottom, style);
  }

 private:
  uint32_t mColour;
};

// This posted wParam asks the act for a task that falls due kTaskDelay
// milliseconds later and sets the report's event when it runs.
constexpr WPARAM kScheduleTask = 2;
constexpr int32_t kTaskDelay = 50;

class SetEventCallback : public UUCallback {
 public:
  explicit SetEventCallback(HANDLE event) : mEvent(event) {}
  void Invoke() override { SetEvent(mEvent); }

 private:
  HANDLE mEvent;
};

class DemoAct : public MM2DAct {
 public:
  DemoAct(MMStage* stage, DemoReport& report, std::string name, uint32_t colour)
      : MM2DAct(stage, &MMStandard2DDisplayModeStrategy()),
        mReport(report),
        mName(std::move(name)),
        mScene(this, colour) {
    TakeFocus();
    mReport.Note(mName + "-built");
  }
  ~DemoAct() override { mReport.Note(mName + "-deleted"); }

  void Draw() override {
    if (mPainted) return;
    mScene.Paint(*GetStage()->GetBackSurface());
    Invalidate(GetStage()->GetLocalRect());
    MM2DAct::Draw();
    mPainted = true;
  }
  void Present() override {
    const bool anything = GetStage()->GetDirtyRegion().GetCount() != 0;
    MM2DAct::Present();
    if (anything) SetEvent(mReport.presented);
  }
  void HandleMouse(const MMMouseEvent& event) override {
    std::lock_guard lock(mReport.mutex);
    mReport.mouse.push_back(event);
    mReport.mouseStageTimes.push_back(GetStage()->ToStageTime(event.mTime));
  }
  void HandleKey(const MMKeyEvent& event) override {
    std::lock_guard lock(mReport.mutex);
    mReport.keys.push_back(event);
    if (event.mCharacter != 0) SetEvent(mReport.keysArrived);
  }
  void HandlePostedMessage(const MMPostedMessage& message) override {
    if (message.mWParam == kSwitchAct) GetStage()->RequestActSwitch();
    if (message.mWParam == kScheduleTask) {
      MMTaskClient* client = GetStage()->GetTaskClient();
      client->ScheduleTask(
          UURefCount<UUCallback>(new (ALGlobalAllocator) SetEventCallback(mReport.taskRan)),
          client->GetTime() + kTaskDelay);
    }
  }

 private:
  DemoReport& mReport;
  std::string mName;
  BoxScene mScene;
  bool mPainted = false;
};

class DemoStage : public MMStage {
 public:
  DemoStage(MMStageWindow* window, DemoReport& report)
      : MMStage(window, kStageRect, nullptr), mReport(report) {}
  MMAct* CreateNextAct() override {
    ++mActs;
    return new (ALGlobalAllocator) DemoAct(this, mReport, "act" + std::to_string(mActs),
                                           mActs == 1 ? kFirstActColour : kNextActColour);
  }

 private:
  DemoReport& mReport;
  int mActs = 0;
};

// The press, release and double-click bits: an idle tick repeats the last
// event without them while the pointer rests.
constexpr int32_t kMouseChangeFlags = kMMMousePress | kMMMouseRelease | kMMMouseDoubleClick;

// The injected events, from the first one at the given point: drops what
// came before it (a real X server reports where its own pointer rests when
// the window appears) and the repeats the idle ticks make.
std::vector<MMMouseEvent> InjectedEvents(const std::vector<MMMouseEvent>& events, POINT first) {
  std::vector<MMMouseEvent> kept;
  for (const MMMouseEvent& event : events) {
    if (kept.empty() && (event.mX != first.x || event.mY != first.y)) continue;
    if (!kept.empty()) {
      const MMMouseEvent& last = kept.back();
      if (event.mX == last.mX && event.mY == last.mY &&
          event.mFlags == (last.mFlags & ~kMouseChangeFlags))
        continue;
    }
    kept.push_back(event);
  }
  return kept;
}

// A stage on its own thread, its first act's frame presented.
class MMStageDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mWindow = MakeStageWindow();
    auto* stage = new (ALGlobalAllocator) DemoStage(mWindow, mReport);
    stage->StartThread();
    ASSERT_TRUE(PumpUntilSet(mReport.presented));
    mTop = mWindow->GetHandle();
    mControl = mWindow->GetStageControl()->GetHandle();
  }
  void TearDown() override { Close(); }

  // The close handshake, then the stage goes with the window.
  void Close() {
    delete mWindow;
    mWindow = nullptr;
  }
  uint32_t Shown(POINT point) const { return vpl::platform::WindowPixelAt(mControl, point); }
  // A repaint of the window (an expose on a real display) may come after
  // the frame was presented; it shows the same picture.
  bool PumpUntilShown(POINT point, uint32_t colour) {
    return PumpUntil([&] { return Shown(point) == colour; });
  }
  bool MouseReleased() {
    std::lock_guard lock(mReport.mutex);
    return std::any_of(mReport.mouse.begin(), mReport.mouse.end(), [](const MMMouseEvent& event) {
      return (event.mFlags & kMMMouseRelease) != 0;
    });
  }

  DemoReport mReport;
  MMStageWindow* mWindow = nullptr;
  HWND mTop = nullptr;
  HWND mControl = nullptr;
};

TEST_F(MMStageDemoTest, TheFirstActsSceneReachesTheWindow) {
  EXPECT_TRUE(PumpUntilShown(kInActBox, kFirstActColour));
  EXPECT_EQ(Shown(kInBlueBox), kBlue);
  EXPECT_EQ(Shown(kOnBackground), kWhite);
  int inked = 0;
  for (int y = kTextBox.mTop; y < kTextBox.mBottom; ++y) {
    for (int x = kTextBox.mLeft; x < kTextBox.mRight; x += 2) {
      if (Shown(POINT{x, y}) == kInk) ++inked;
    }
  }
  EXPECT_GT(inked, kLeastInk);
}

// The stage control fills the window's client area; the desktop shows new
// pixels at the window thread's next message call.
TEST_F(MMStageDemoTest, TheFirstActsSceneReachesTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  ASSERT_TRUE(PumpUntilShown(kInActBox, kFirstActColour));
  ScreenOnX screen;
  ASSERT_TRUE(screen.CaptureUntil(mTop, kInActBox.x, kInActBox.y, kFirstActColour));
  EXPECT_EQ(screen.At(kInBlueBox.x, kInBlueBox.y), kBlue);
}

TEST_F(MMStageDemoTest, TheDesktopsMouseReachesTheActInOrder) {
  using vpl::platform::InjectMouseButton;
  using vpl::platform::InjectMouseMove;
  const auto before = static_cast<int32_t>(ALMilliseconds());
  InjectMouseMove(mTop, kPressAt);
  InjectMouseButton(mTop, kPressAt, 1, true, 1);
  InjectMouseMove(mTop, kReleaseAt);
  InjectMouseButton(mTop, kReleaseAt, 1, false, 1);
  ASSERT_TRUE(PumpUntil([&] { return MouseReleased(); }));

  struct Expected {
    POINT at;
    int32_t flags;
  };
  const Expected expected[] = {{kPressAt, 0},
                               {kPressAt, kMMMouseButtonDown | kMMMousePress},
                               {kReleaseAt, kMMMouseButtonDown},
                               {kReleaseAt, kMMMouseRelease}};
  std::lock_guard lock(mReport.mutex);
  const std::vector<MMMouseEvent> mouse = InjectedEvents(mReport.mouse, kPressAt);
  ASSERT_GE(mouse.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(mouse[i].mX, expected[i].at.x) << i;
    EXPECT_EQ(mouse[i].mY, expected[i].at.y) << i;
    EXPECT_EQ(mouse[i].mFlags, expected[i].flags) << i;
    EXPECT_GE(mouse[i].mTime, before) << i;
  }
  EXPECT_TRUE(std::is_sorted(mReport.mouseStageTimes.begin(), mReport.mouseStageTimes.end()));
}

TEST_F(MMStageDemoTest, TheDesktopsKeysReachTheActAsCodesAndCharacters) {
  using vpl::platform::InjectKey;
  const auto before = static_cast<int32_t>(ALMilliseconds());
  InjectKey(mTop, VK_LEFT, true);
  InjectKey(mTop, VK_LEFT, false);
  InjectKey(mTop, 'A', true);
  InjectKey(mTop, 'A', false);
  ASSERT_TRUE(PumpUntilSet(mReport.keysArrived));

  std::lock_guard lock(mReport.mutex);
  ASSERT_EQ(mReport.keys.size(), 2u);
  EXPECT_EQ(mReport.keys[0].mKeyCode, kLeftArrowCode);
  EXPECT_EQ(mReport.keys[1].mCharacter, 'a');
  EXPECT_GE(mReport.keys[0].mTime, before);
  EXPECT_LE(mReport.keys[0].mTime, mReport.keys[1].mTime);
}

TEST_F(MMStageDemoTest, AMessagePostedFromTheWindowsThreadSwitchesToTheNextAct) {
  mWindow->PostToStage(kSwitchAct, 0);
  ASSERT_TRUE(PumpUntilSet(mReport.presented));
  EXPECT_TRUE(PumpUntilShown(kInActBox, kNextActColour));
  Close();
  EXPECT_EQ(mReport.log, (StageLog{"act1-built", "act1-deleted", "act2-built", "act2-deleted"}));
}

TEST_F(MMStageDemoTest, ClosingTheWindowEndsTheStageAndItsAct) {
  Close();
  EXPECT_EQ(mReport.log, (StageLog{"act1-built", "act1-deleted"}));
}

// Tasks fall due while nothing is seen, each in its own pass, not all at
// once when the window comes back.
TEST_F(MMStageDemoTest, TasksRunWhileTheWindowIsHidden) {
  ShowWindow(mTop, SW_HIDE);
  mWindow->PostToStage(kScheduleTask, 0);
  EXPECT_TRUE(PumpUntilSet(mReport.taskRan));
}

TEST_F(MMStageDemoTest, TasksRunWhileTheWindowIsMinimised) {
  ShowWindow(mTop, SW_MINIMIZE);
  mWindow->PostToStage(kScheduleTask, 0);
  EXPECT_TRUE(PumpUntilSet(mReport.taskRan));
}

// A stage whose control got no window.
class WindowlessStage : public DemoStage {
 public:
  using DemoStage::DemoStage;
  MMStageControl* CreateStageControl(MMStageWindow*, const UURect&) override { return nullptr; }
};

TEST(MMStageWithoutControlTest, EndsAtOnceAndItsWindowCloses) {
  DemoReport report;
  MMStageWindow* window = MakeStageWindow();
  auto* stage = new (ALGlobalAllocator) WindowlessStage(window, report);
  stage->StartThread();
  const bool threadEnded = PumpUntil([&] { return stage->HasThreadEnded(); });
  EXPECT_TRUE(threadEnded);
  EXPECT_TRUE(window->CanClose());
  if (threadEnded) delete window;  // else the close handshake would wait forever
}

}  // namespace
