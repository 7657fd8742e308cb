#include "app/shell/VPLApplication.h"

#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLLibrarySketches.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLStage.h"
#include "app/shell/VPLTextureCollectionFromFile.h"
#include "app/shell/VPLTextureCollectionFromSketchHandle.h"
#include "foundation/af/AFError.h"
#include "media/startup/MMResourceFiles.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/gdi.h"
#include "platform/win32/user.h"

#include <utility>

VPLApplication* VPLCurrentApplication = nullptr;

namespace {

std::atomic<bool> gSessionEnding{false};

constexpr int32_t kClientWidth = 800;
constexpr int32_t kClientHeight = 600;
constexpr char kWindowClassName[] = "VPL3DWindowClass";
constexpr char kWindowTitle[] = "VPL3D";
constexpr uint32_t kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr uint16_t kTextCollection = 2;
constexpr uint16_t kCreditsCollection = 3;
constexpr UINT kDataErrorMessage = 100;
constexpr UINT kCloseRetryMilliseconds = 100;

AFWindowClass VPLMainWindowClass{
    .mStyle = CS_OWNDC,
    .mClassExtra = 0,
    .mWindowExtra = 0,
    .mIconFromModule = true,
    .mIconName = MAKEINTRESOURCEA(1),
    .mSmallIconName = nullptr,
    .mCursorFromModule = true,
    .mCursorName = "emptyCursor.cur",
    .mBackground = nullptr,
    .mMenuName = nullptr,
    .mClassName = kWindowClassName,
    .mWindowProc = AFWindowProc,
};

AFWindowDescription VPLMainWindowDescription{
    .mWindowClass = &VPLMainWindowClass,
    .mLeft = 0,
    .mTop = 0,
    .mRight = 640,
    .mBottom = 480,
    .mStyle = kWindowStyle,
    .mExStyle = 0,
};

// The client area, centred on the screen; a popup has no frame, so it is
// the window's rectangle too.
void CentreDescription() {
  const int32_t left = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
  const int32_t top = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
  VPLMainWindowDescription.mLeft = left;
  VPLMainWindowDescription.mTop = top;
  VPLMainWindowDescription.mRight = left + kClientWidth;
  VPLMainWindowDescription.mBottom = top + kClientHeight;
}

// The close a person gives the window: the window of the program, wherever
// it is in its life, when it exists.
void CloseMainWindow() {
  if (const HWND window = FindWindowA(kWindowClassName, nullptr)) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

}  // namespace

void VPLEndSession() {
  gSessionEnding = true;
  CloseMainWindow();
}

bool VPLSessionEnding() { return gSessionEnding; }

void VPLResetSessionEndingForTest() { gSessionEnding = false; }

VPLApplication::VPLApplication(ALAllocator* allocator, int32_t) : AFApplication(allocator) {
  VPLCurrentApplication = this;
}

VPLApplication::~VPLApplication() {
  if (VPLCurrentApplication == this) VPLCurrentApplication = nullptr;
}

// The collections are made even when a data file is missing, so that the
// end of the run finds what it takes down.
bool VPLApplication::Initialize() {
  const bool started = AFApplication::Initialize() && MMStartResourceFiles();
  mUserTextures = std::make_unique<VPLTextureCollectionFromFile>();
  mTextTextures = std::make_unique<RU3DTextureCollectionFromString>(kTextCollection);
  mCreditsTextures = std::make_unique<RU3DTextureCollectionFromCreditsScript>(kCreditsCollection);
  mSketchTextures = std::make_unique<VPLTextureCollectionFromSketchHandle>();
  return started;
}

void VPLApplication::Terminate() {
  mUserTextures.reset();
  mTextTextures.reset();
  mCreditsTextures.reset();
  mSketchTextures.reset();
  MMStopResourceFiles();
  AFApplication::Terminate();
}

bool VPLApplication::OpenDefault() {
  CentreDescription();
  VPLMainWindowClass.mBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (const HWND running = FindWindowA(kWindowClassName, nullptr)) {
    SetForegroundWindow(running);
    return false;
  }
  mMainWindow = new (GetAllocator()) MMStageWindow(VPLMainWindowDescription);
  mMainWindow->SetTitle(kWindowTitle);
  if (!OpenPreferences() || !SetUpUserFolders()) {
    RecordFailure();
    return false;
  }
  const UURect rect(VPLMainWindowDescription.mLeft, VPLMainWindowDescription.mTop,
                    VPLMainWindowDescription.mRight, VPLMainWindowDescription.mBottom);
  mStage = new (GetAllocator()) VPLStage(mMainWindow, rect);
  FillServices();
  mStage->StartThread();
  return true;
}

// A store without its name cannot keep the child's settings: the data
// files are damaged, and the program says so rather than vanish.
bool VPLApplication::OpenPreferences() {
  mPreferences = std::make_unique<VPLPreferences>();
  if (mPreferences->Open() && mPreferences->IsValid()) return true;
  VPLShowStringAlert(kDataErrorMessage, mMainWindow->GetHandle());
  return false;
}

bool VPLApplication::OpenDocument(const UUDirectory&, const char*) { return false; }

void VPLApplication::FillServices() {
  VPLServices& services = VPLGetServices();
  services.mSoundSetIndex = &mSoundSetIndex;
  services.mPreferences = mPreferences.get();
  services.mStringTextures = mTextTextures.get();
  services.mImageTextures = mCreditsTextures.get();
  services.mUserTextures = mUserTextures.get();
  services.mQuit = [this] { Quit(); };
  services.mRenderToSurface = [stage = mStage](MMSurface& surface, int32_t time, bool white) {
    return stage->RenderToSurface(surface, time, white);
  };
  services.mRandom = &VPLProgramRandom();
  services.mMovieExporterStarted = VPLQuickTimeStarted != 0;
  if (mLibrary) mLibrarySketches = std::make_unique<VPLLibrarySketches>(*mLibrary);
  VPLGetCreationServices().mSketches = mLibrarySketches.get();
}

void VPLApplication::Quit() {
  PostThreadMessageA(GetThreadId(), WM_QUIT, 0, 0);
  mQuit = true;
}

void VPLApplication::RunMessageLoop() {
  TakeMessages();
  if (mCloseTimer != 0) KillTimer(nullptr, std::exchange(mCloseTimer, 0));
}

void VPLApplication::TakeMessages() {
  for (;;) {
    if (AFErrorPending()) PostQuitMessage(0);
    KeepClosingWhileTheSessionEnds();
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      // Quit from the stage thread ends the loop once the queue is empty.
      if (mQuit) return;
      WaitMessage();
      continue;
    }
    if (message.message == WM_QUIT) return;
    if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == mCloseTimer) {
      CloseMainWindow();
      continue;
    }
    AFWindow* active = GetActiveWindow();
    if (active == nullptr || active->GetAccelerators() == nullptr ||
        !TranslateAcceleratorA(active->GetHandle(), active->GetAccelerators(), &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// A window whose stage is still starting refuses a close, and a request
// may come before the window exists: while the session ends, the close is
// asked for again at every tick until the window is gone.
void VPLApplication::KeepClosingWhileTheSessionEnds() {
  if (mCloseTimer != 0 || !VPLSessionEnding()) return;
  mCloseTimer = SetTimer(nullptr, 0, kCloseRetryMilliseconds, nullptr);
  CloseMainWindow();
}

void VPLApplication::CloseAllWindows() {
  AFApplication::CloseAllWindows();
  mStage = nullptr;
  mMainWindow = nullptr;
  EmptyServices();
  mPreferences.reset();
  mLibrary.reset();
  mLogFile.Close();
}

void VPLApplication::EmptyServices() {
  VPLServices& services = VPLGetServices();
  services.mSoundSetIndex = nullptr;
  services.mPreferences = nullptr;
  services.mStringTextures = nullptr;
  services.mImageTextures = nullptr;
  services.mUserTextures = nullptr;
  services.mQuit = nullptr;
  services.mRenderToSurface = nullptr;
  services.mRandom = nullptr;
  services.mMovieExporterStarted = false;
  VPLGetCreationServices().mSketches = nullptr;
  mLibrarySketches.reset();
}
