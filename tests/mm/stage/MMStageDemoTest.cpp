// The stage end to end on its own thread: a 2D act whose scene draws boxes
// and text, the user's mouse and keys from the desktop, an act switch asked
// from the window's thread, and the close handshake.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <vector>

#include "StageTestSupport.h"
#include "foundation/al/ALMilliseconds.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStageControl.h"
#include "platform/win32/testhooks.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr UURect kTextBox(40, 300, 400, 360);

// What the stage thread reports to the test's thread.
struct DemoReport {
  std::mutex mutex;
  std::vector<MMMouseEvent> mouse;
  std::vector<int32_t> mouseStageTimes;
  std::vector<MMKeyEvent> keys;
  StageLog log;
  HANDLE presented = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE keysArrived = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ~DemoReport() {
    CloseHandle(presented);
    CloseHandle(keysArrived);
  }
  void Note(std::string entry) {
    std::lock_guard lock(mutex);
    log.push_back(std::move(entry));
  }
};

// Paints coloured boxes and a line of text on the stage's back surface.
class BoxScene : public MMScene {
 public:
  BoxScene(MMAct* act, uint32_t boxColour)
      : MMScene(act->GetSceneServices(), nullptr), mColour(boxColour) {}
  void Paint(MMDrawingSurface& surface) {
    surface.FillRect(UURect(0, 0, 640, 480), AFColor(AFRGB(255, 255, 255)));
    surface.FillRect(UURect(20, 20, 120, 120),
                     AFColor(AFRGB((mColour >> 16) & 0xFF, (mColour >> 8) & 0xFF, mColour & 0xFF)));
    surface.FillRect(UURect(200, 50, 300, 150), AFColor(AFRGB(0, 0, 255)));
    MMSystemFont font("DejaVu Sans", 32, 700, false, false);
    MMTextStyle style;
    style.mFont = &font;
    style.mColor = AFColor(AFRGB(0, 0, 0));
    surface.DrawText("Plorvia", kTextBox.mLeft, kTextBox.mBottom - 10, style);
  }

 private:
  uint32_t mColour;
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
    if (message.mWParam == 1) GetStage()->RequestActSwitch();
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
      : MMStage(window, UURect(0, 0, 640, 480), nullptr), mReport(report) {}
  MMAct* CreateNextAct() override {
    ++mActs;
    return new (ALGlobalAllocator)
        DemoAct(this, mReport, "act" + std::to_string(mActs), mActs == 1 ? kRed : kGreen);
  }

 private:
  DemoReport& mReport;
  int mActs = 0;
};

void Drain() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Pumps the window's thread (the stage thread asks it to show the window
// and to run activation) until the condition holds, waiting a little
// between checks on an event that is never set; false after 20 seconds.
bool PumpUntil(const std::function<bool()>& done) {
  static const HANDLE pacing = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const uint32_t deadline = ALMilliseconds() + 20000;
  for (;;) {
    Drain();
    if (done()) return true;
    if (static_cast<int32_t>(deadline - ALMilliseconds()) < 0) return false;
    WaitForSingleObject(pacing, 5);
  }
}

bool PumpUntilSet(HANDLE event) {
  return PumpUntil([&] { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; });
}

// A repaint of the window (an expose on a real display) may come after the
// frame was presented; it shows the same picture.
bool PumpUntilPixel(HWND window, POINT point, uint32_t colour) {
  return PumpUntil([&] { return vpl::platform::WindowPixelAt(window, point) == colour; });
}

// The injected events, from the first one at the given point: drops what
// came before it (a real X server reports where its own pointer rests when
// the window appears) and the repeats the idle ticks make while the pointer
// rests: the same point with the press, release and double-click bits gone.
std::vector<MMMouseEvent> InjectedEvents(const std::vector<MMMouseEvent>& events, POINT first) {
  std::vector<MMMouseEvent> kept;
  for (const MMMouseEvent& event : events) {
    if (kept.empty() && (event.mX != first.x || event.mY != first.y)) continue;
    if (!kept.empty()) {
      const MMMouseEvent& last = kept.back();
      if (event.mX == last.mX && event.mY == last.mY && event.mFlags == (last.mFlags & ~0x86))
        continue;
    }
    kept.push_back(event);
  }
  return kept;
}

// What the X server really shows of a window's client area, when the test
// runs under a real X display (VPL3D_XVFB set, under xvfb-run).
class Screenshot {
 public:
  bool Take(HWND window) {
    return vpl::platform::CaptureWindowOnScreen(window, mPixels, mWidth, mHeight);
  }
  uint32_t PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return 0xFFFFFFFF;
    return mPixels[static_cast<size_t>(y) * mWidth + x];
  }

 private:
  std::vector<uint32_t> mPixels;
  int mWidth = 0;
  int mHeight = 0;
};

bool WantsScreenshot() { return std::getenv("VPL3D_XVFB") != nullptr; }

TEST(MMStageDemoTest, AStageRunsActsOnItsThreadAndClosesThroughTheHandshake) {
  DemoReport report;
  MMStageWindow* window = MakeStageWindow();
  auto* stage = new (ALGlobalAllocator) DemoStage(window, report);
  stage->StartThread();
  ASSERT_TRUE(PumpUntilSet(report.presented));
  HWND top = window->GetHandle();
  HWND control = window->GetStageControl()->GetHandle();
  EXPECT_TRUE(PumpUntilPixel(control, POINT{60, 60}, kRed));
  EXPECT_EQ(vpl::platform::WindowPixelAt(control, POINT{250, 100}), kBlue);
  EXPECT_EQ(vpl::platform::WindowPixelAt(control, POINT{400, 200}), kWhite);
  int inked = 0;
  for (int y = kTextBox.mTop; y < kTextBox.mBottom; ++y) {
    for (int x = kTextBox.mLeft; x < kTextBox.mRight; x += 2) {
      if (vpl::platform::WindowPixelAt(control, POINT{x, y}) == 0) ++inked;
    }
  }
  EXPECT_GT(inked, 50);
  if (WantsScreenshot()) {
    // The stage control fills the window's client area; the desktop shows
    // new pixels at the window thread's next message call.
    Screenshot shot;
    for (int attempt = 0; attempt < 50; ++attempt) {
      Drain();
      ASSERT_TRUE(shot.Take(top));
      if (shot.PixelAt(60, 60) == kRed) break;
    }
    EXPECT_EQ(shot.PixelAt(60, 60), kRed);
    EXPECT_EQ(shot.PixelAt(250, 100), kBlue);
  }

  using vpl::platform::InjectKey;
  using vpl::platform::InjectMouseButton;
  using vpl::platform::InjectMouseMove;
  const uint32_t before = ALMilliseconds();
  InjectMouseMove(top, POINT{100, 100});
  InjectMouseButton(top, POINT{100, 100}, 1, true, 1);
  InjectMouseMove(top, POINT{150, 120});
  InjectMouseButton(top, POINT{150, 120}, 1, false, 1);
  InjectKey(top, VK_LEFT, true);
  InjectKey(top, VK_LEFT, false);
  InjectKey(top, 'A', true);
  InjectKey(top, 'A', false);
  ASSERT_TRUE(PumpUntilSet(report.keysArrived));
  {
    std::lock_guard lock(report.mutex);
    const std::vector<MMMouseEvent> mouse = InjectedEvents(report.mouse, POINT{100, 100});
    ASSERT_GE(mouse.size(), 4u);
    const int32_t expected[][3] = {
        {100, 100, 0x00}, {100, 100, 0x03}, {150, 120, 0x01}, {150, 120, 0x04}};
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(mouse[i].mX, expected[i][0]) << i;
      EXPECT_EQ(mouse[i].mY, expected[i][1]) << i;
      EXPECT_EQ(mouse[i].mFlags, expected[i][2]) << i;
      EXPECT_GE(mouse[i].mTime, static_cast<int32_t>(before)) << i;
    }
    EXPECT_TRUE(std::is_sorted(report.mouseStageTimes.begin(), report.mouseStageTimes.end()));
    ASSERT_EQ(report.keys.size(), 2u);
    EXPECT_EQ(report.keys[0].mKeyCode, 10);
    EXPECT_EQ(report.keys[1].mCharacter, 'a');
    EXPECT_GE(report.keys[0].mTime, mouse[3].mTime);
    EXPECT_LE(report.keys[0].mTime, report.keys[1].mTime);
  }

  window->PostToStage(1, 0);
  ASSERT_TRUE(PumpUntilSet(report.presented));
  EXPECT_TRUE(PumpUntilPixel(control, POINT{60, 60}, kGreen));

  delete window;  // the close handshake, then the stage goes
  EXPECT_EQ(report.log, (StageLog{"act1-built", "act1-deleted", "act2-built", "act2-deleted"}));
}

}  // namespace
