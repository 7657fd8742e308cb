#pragma once
// The program's own stage for the shell's tests, its thread part run on
// the test's thread: the acts come from a maker the test gives, the child's
// mouse and keys go in through the stage control's input strategy, and
// each frame runs the queued callbacks first.

#include "app/shell/VPL2DDisplayStrategy.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLActIntro.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLDisplayModeStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLStage.h"
#include "app/shell/VPLTextureCollectionFromSketchHandle.h"
#include "foundation/af/AFWindow.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/stage/MMView.h"
#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/user.h"
#include "tests/app/shell/ShellTestFolder.h"
#include "tests/app/support/ProgramDataFiles.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace shell_test {

using app_fixtures::DataFolderName;
using app_fixtures::ProgramDataFiles;

class ProgramStage {
 public:
  // The act the stage's first frame shows; the test's maker gives a quiet
  // one for it, so that the first frame (which waits for the window's
  // paint) is over before the act under test may ask for the next.
  static constexpr int32_t kFirstAct = -1;

  // The maker stays the stage's until the stage goes. The stage then shows
  // the act of the number.
  ProgramStage(VPLActMaker* maker, int32_t act) {
    VPLSetActMaker(maker);
    mStage->Init();
    mStage->RequestAct(kFirstAct);
    mStage->UpdateLoop(Now(), true);
    vpl::test::DrainMessages();
    mStage->RequestAct(act);
    RunFrame();
  }
  // The stage thread never ran: the window's handshake has nothing to ask.
  ~ProgramStage() {
    delete mWindow;
    vpl::test::DrainMessages();
    VPLSetActMaker(nullptr);
  }
  ProgramStage(const ProgramStage&) = delete;
  ProgramStage& operator=(const ProgramStage&) = delete;

  VPLStage& Stage() const { return *mStage; }
  MMAct* Act() const { return mStage->GetAct(); }
  int32_t Now() const { return mStage->GetTaskManager()->GetNow(); }

  void Press(UUPoint at) { Send(WM_LBUTTONDOWN, MK_LBUTTON, at); }
  void Drag(UUPoint at) { Send(WM_MOUSEMOVE, MK_LBUTTON, at); }
  void Move(UUPoint at) { Send(WM_MOUSEMOVE, 0, at); }
  void Release(UUPoint at) { Send(WM_LBUTTONUP, 0, at); }
  // A key pressed alone (a virtual-key code).
  void Key(int virtualKey) { Send(WM_KEYDOWN, static_cast<WPARAM>(virtualKey), UUPoint{0, 0}); }
  // Runs the queued tasks (and an act switch the stage was asked for) and
  // draws a frame.
  void RunFrame() {
    mStage->RequestUpdate(Now(), true);
    mStage->RunPendingUpdate();
  }
  // The same at a stage time of the test's choosing: the clock moves only
  // when a test moves it.
  void RunFrameAt(int32_t time) {
    mStage->RequestUpdate(time, true);
    mStage->RunPendingUpdate();
  }

 private:
  void Send(UINT message, WPARAM wParam, UUPoint at) {
    LRESULT result = 0;
    mStage->GetInputStrategy()->HandleMessage(
        mStage->GetControl()->GetHandle(), message, wParam,
        MAKELPARAM(static_cast<WORD>(at.mX), static_cast<WORD>(at.mY)), result);
  }

  MMStageWindow* mWindow = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  VPLStage* mStage = new (ALGlobalAllocator) VPLStage(mWindow, UURect(0, 0, 800, 600));
};

// The program's own acts, with a quiet first act for the stage's first
// frame, so that a test starts on the creation act at once.
class CreationActMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t number) override {
    if (number == ProgramStage::kFirstAct) {
      // The program's own size from the start, as after its intro.
      return new (ALGlobalAllocator)
          RecordingInputAct(stage, mLog, "first", &VPLIntroDisplayStrategy());
    }
    return VPLGetProgramActMaker().MakeAct(stage, number);
  }
  bool AgreesToClose(MMAct* act) override { return VPLGetProgramActMaker().AgreesToClose(act); }
  // The stage's offscreen pictures and its slow-machine notice reach the
  // creation act as in the program.
  void TickCreation(MMAct* act, int32_t time) override {
    VPLGetProgramActMaker().TickCreation(act, time);
  }
  bool DrawCreationView(MMAct* act) override {
    return VPLGetProgramActMaker().DrawCreationView(act);
  }
  void ShowSlowMachineNotice(MMAct* act, bool shown) override {
    VPLGetProgramActMaker().ShowSlowMachineNotice(act, shown);
  }

 private:
  StageLog mLog;
};

// The intro for act 0, a recording act for any other.
class IntroActMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t number) override {
    if (number == 0) return new (ALGlobalAllocator) VPLActIntro(stage, &VPLIntroDisplayStrategy());
    return new (ALGlobalAllocator) RecordingInputAct(stage, mLog, "creation");
  }
  bool AgreesToClose(MMAct*) override { return true; }

 private:
  StageLog mLog;
};

// The select button's place on the palette in the stage's window, never
// black once the creation screen shows.
inline constexpr UUPoint kSelectButtonOnStage{40, 34};

// What the X server shows of the stage's window once the point is no
// longer black; false without an X display or when it never shows.
inline bool CaptureShown(ProgramStage& stage, vpl::test::ScreenOnX& screen, UUPoint point) {
  const HWND window = stage.Stage().GetWindow()->GetHandle();
  return vpl::test::PumpUntil([&] {
    stage.RunFrame();
    return screen.Capture(window) && screen.At(point.mX, point.mY) != 0 &&
           screen.At(point.mX, point.mY) != vpl::test::ScreenOnX::kOutside;
  });
}

// Keeps the capture as <name>.ppm in VPL_SCREENSHOT_DIR when it is set, for
// a person to look at.
inline void KeepScreenshot(const vpl::test::ScreenOnX& screen, const std::string& name) {
  const char* folder = std::getenv("VPL_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  std::ofstream file(std::filesystem::path(folder) / (name + ".ppm"), std::ios::binary);
  file << "P6\n" << screen.Width() << ' ' << screen.Height() << "\n255\n";
  for (int y = 0; y < screen.Height(); ++y) {
    for (int x = 0; x < screen.Width(); ++x) {
      const uint32_t pixel = screen.At(x, y);
      file.put(static_cast<char>(pixel >> 16 & 0xFF))
          .put(static_cast<char>(pixel >> 8 & 0xFF))
          .put(static_cast<char>(pixel & 0xFF));
    }
  }
}

// The stage pixel a world point of the view is drawn at.
inline UUPoint PointOnStage(MMView& view, const MM3DVector& world) {
  MM3DVector inView;
  view.GetViewMatrix().TransformPoint(inView, world);
  const MM3DVector screen = view.GetProjection().Project(inView, view.GetRect());
  return UUPoint{static_cast<int32_t>(screen.mX), static_cast<int32_t>(screen.mY)};
}

// The program's acts, the creation act's file screen over a library of
// its own: one sketchbook of two sketches, the first current.
class FileScreenActMaker : public CreationActMaker {
 public:
  FileScreenActMaker() {
    std::filesystem::create_directories(mFolder.Path() / "Library");
    UUDirectory library;
    UUGetSubdirectory(UUDirectory(vpl::platform::ToWindowsPath(mFolder.Path()).c_str()), "Library",
                      library);
    mLibrary = std::make_unique<VPLSketchbookLibrary>(library);
    mReady = mLibrary->Load(true) && AddSketches(2);
  }
  MMAct* MakeAct(VPLStage* stage, int32_t number) override {
    if (number != 1) return CreationActMaker::MakeAct(stage, number);
    return new (ALGlobalAllocator)
        VPLActCreation(stage, &VPLCreationDisplayStrategy(),
                       VPLFileScreenParts{.mLibrary = mLibrary.get(), .mThumbnails = &mThumbnails});
  }
  bool Ready() const { return mReady; }

 private:
  bool AddSketches(int32_t count) {
    VPLSketchbook* book = mLibrary->GetCurrentSketchbook();
    while (book != nullptr && book->GetSketchCount() < count) {
      VPLSketch* sketch = nullptr;
      if (!book->NewSketch(sketch)) return false;
    }
    return book != nullptr && book->SelectSketchAt(0);
  }

  ShellTestFolder mFolder{"act"};
  std::unique_ptr<VPLSketchbookLibrary> mLibrary;
  VPLTextureCollectionFromSketchHandle mThumbnails;
  bool mReady = false;
};

// A test of the program's stage as scripts/test's X display shows it, on
// the maker's act 1 (the creation act); skipped without the display.
template <typename Maker>
class ProgramStageOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!vpl::test::ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
    VPLOpenGLFirst = 1;
    mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  }
  void TearDown() override {
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }

  ProgramDataFiles mFiles;
  Maker mMaker;
  std::unique_ptr<ProgramStage> mStage;
};

}  // namespace shell_test
