#include "mm/stage/MMStage.h"

#include "foundation/af/AFApplication.h"
#include "foundation/al/ALMilliseconds.h"
#include "foundation/al/ALThread.h"
#include "foundation/uu/UUDisplayMode.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/resources/MMResourceCollection.h"
#include "mm/stage/MMAct.h"
#include "mm/stage/MMCursor.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMSoundManager.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageMessages.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/stage/win/WinMMStageThread.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm/tasks/MMTaskTime.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "platform/win32/gdi.h"

#include <algorithm>

namespace {

constexpr int32_t kArrowCursorId = 0;
constexpr int32_t kIBeamCursorId = 1;
constexpr int32_t kWaitCursorId = 2;
constexpr int32_t kHiddenCursorId = 3;

// Tear-down hook first where the class has one, then delete.
template <typename T>
void Destroy(T*& object) {
  UUOwned<T>{std::exchange(object, nullptr)}.Reset();
}

}  // namespace

MMStage::MMStage(MMStageWindow* window, const UURect& rect, MMStageSoundManager* soundManager)
    : mWindow(window),
      mRect(rect),
      mSoundManager(soundManager != nullptr ? soundManager
                                            : MMMakeSoundManager(window->GetHandle())) {
  mThread = new (ALGlobalAllocator) WinMMStageThread(this);
  mWindow->SetStage(this);
  mCursorController = new (ALGlobalAllocator) MMCursorController(this);
  mTaskManager = new (ALGlobalAllocator) MMTaskManager();
  mTaskClient = new (ALGlobalAllocator) MMTaskClient(mTaskManager);
  mInputStrategy.Reset(new (ALGlobalAllocator) MMLockstepInputStrategy(this));
  mTextureMap = new (ALGlobalAllocator) MM3DDriverTextureMap;
}

// The act goes first: its scenes still use the task manager, the sound
// manager and the cursors while they are destroyed.
MMStage::~MMStage() {
  DestroyAct();
  mInputStrategy.Reset();
  mRegisteredEvents.Clear();
  mCursors.Clear();
  delete std::exchange(mCursorController, nullptr);
  delete std::exchange(mSoundManager, nullptr);
  delete std::exchange(mTaskClient, nullptr);
  delete std::exchange(mTaskManager, nullptr);
  Release3DDisplay();
  delete std::exchange(mTextureMap, nullptr);
  DeleteSurfaces();
  mPendingNotifications.Clear();
  mVisitedNotifications.Clear();
  delete std::exchange(mThread, nullptr);
  DestroyControl();
}

// ---- Thread ---------------------------------------------------------------

void MMStage::StartThread() { mThread->Start(); }

bool MMStage::IsStageThread() const { return ALCurrentThread() == mThread; }

bool MMStage::HasThreadEnded() const { return mThread->GetState() == kALThreadFinished; }

// Until the stage thread has made its control there is no one to ask; a
// thread that ended (or never started) needs no asking, and one whose
// control has no window ends by itself.
void MMStage::StopThread() {
  if (mThread->GetState() == kALThreadCreated) return;
  for (;;) {
    MMStageControl* control = mControl.load();
    if (control != nullptr && SendMessageA(control->GetHandle(), MMWM_CLOSE_STAGE, 0, 0) != 0)
      break;
    if (mThread->GetState() != kALThreadRunning) break;
    ALYield();
  }
  mThread->WaitForExit();
}

// Without a control window nothing can be shown and no one can ask the
// stage to close: the thread ends at once.
void MMStage::ThreadMain() {
  Init();
  if (!HasControlWindow()) return;
  mActSwitchPending = true;
  UpdateLoop(mTaskManager->GetNow(), true);
  MessageLoop();
  Teardown();
}

void MMStage::Init() {
  GdiSetBatchLimit(1);
  AttachThreadInput(GetCurrentThreadId(), GetWindowThreadProcessId(mWindow->GetHandle(), nullptr),
                    TRUE);
  DestroyControl();
  mControl = CreateStageControl(mWindow, mRect);
  if (!HasControlWindow()) return;
  if (mSoundManager != nullptr) mSoundManager->Unsuspend();
  TakeClockBase();
  FillCursorTable();
  mCursorController->SetCursor(GetCursor(kArrowCursorId));
  GetControl()->SetVisibleIfChanged(true);
}

void MMStage::FillCursorTable() {
  mCursors.Set(kArrowCursorId, new (ALGlobalAllocator)
                                   MMCursor(mCursorController, LoadCursorA(nullptr, IDC_ARROW)));
  mCursors.Set(kIBeamCursorId, new (ALGlobalAllocator)
                                   MMCursor(mCursorController, LoadCursorA(nullptr, IDC_IBEAM)));
  mCursors.Set(kWaitCursorId,
               new (ALGlobalAllocator) MMCursor(mCursorController, LoadCursorA(nullptr, IDC_WAIT)));
  mCursors.Set(kHiddenCursorId, new (ALGlobalAllocator) MMCursor(mCursorController, nullptr));
}

void MMStage::Teardown() {
  mCursorController->SetCursor(nullptr);
  mCursors.Clear();
  if (mSoundManager != nullptr) mSoundManager->Suspend();
}

MMStageControl* MMStage::CreateStageControl(MMStageWindow* window, const UURect& rect) {
  return new (ALGlobalAllocator) MMStageControl(window, rect, this);
}

MMCursor* MMStage::GetCursor(int32_t id) { return mCursors.Get(id); }

// ---- Message loop and frames --------------------------------------------

// Between messages the loop runs idle passes (with the lockstep strategy
// each draws a frame), paced to the display; in between it waits for a
// message or the next idle pass.
void MMStage::MessageLoop() {
  for (;;) {
    MSG message;
    const bool took = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    if (took) {
      HACCEL accelerators = mWindow->GetAccelerators();
      if (accelerators == nullptr ||
          TranslateAcceleratorA(mWindow->GetHandle(), accelerators, &message) == 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    } else if (mPendingUpdateTime == kMMNever && TimeUntilIdlePass() == 0) {
      mIdlePacer.FrameStarted(ALMilliseconds());
      StrategyIdleTick();
    }
    if (mQuitting) return;
    if (mPaused && mPauseCount <= 0) {
      UpdateLoop(mTaskManager->GetNow(), true);
    } else if (mPendingUpdateTime != kMMNever) {
      RunPendingUpdate();
    }
    if (!took && mPendingUpdateTime == kMMNever) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, TimeUntilIdlePass(), QS_ALLINPUT);
    }
  }
}

// While the window is hidden or minimised nothing is seen, so an idle pass
// waits also for the next task to fall due: tasks, films and sound go on
// without frames that show nothing.
DWORD MMStage::TimeUntilIdlePass() const {
  const uint32_t now = ALMilliseconds();
  const int32_t untilFrame = mIdlePacer.TimeUntilDue(now);
  HWND window = mWindow->GetHandle();
  if (IsWindowVisible(window) && !IsIconic(window)) return static_cast<DWORD>(untilFrame);
  const int32_t due = mPaused ? kMMNever : mTaskManager->GetNextDueTime();
  if (due == kMMNever) return INFINITE;
  const int64_t untilTask =
      static_cast<int64_t>(due) + mClockBase - mTaskBase - static_cast<int32_t>(now);
  return static_cast<DWORD>(std::clamp<int64_t>(untilTask, untilFrame, INT32_MAX));
}

void MMStage::RequestUpdate(int32_t stageTime, bool draws) {
  mPendingUpdateTime = stageTime;
  mPendingUpdateDraws = draws;
}

void MMStage::RunPendingUpdate() {
  const int32_t time = std::exchange(mPendingUpdateTime, kMMNever);
  UpdateLoop(time, mPendingUpdateDraws);
}

void MMStage::UpdateLoop(int32_t time, bool draws) {
  do {
    UpdateStep(time, draws);
  } while (!mPaused && !mQuitting && mActSwitchPending);
}

void MMStage::UpdateStep(int32_t time, bool draws) {
  mInUpdateStep = true;
  switch (mFirstFrameState) {
    case kFrameRunning:
      Advance(time);
      mDrawing = true;
      Notify(draws);
      Present(draws);
      mDrawing = false;
      break;
    case kFrameFirst:
      Advance(time);
      mDrawing = true;
      Notify(draws);
      mWindow->SetVisibleIfChanged(true);
      mFirstFrameState = kFrameWaitingForPaint;
      break;
    case kFramePaintSeen:
      Present(draws);
      mDrawing = false;
      mFirstFrameState = kFrameRunning;
      break;
    default:
      break;
  }
  mInUpdateStep = false;
}

void MMStage::DestroyAct() { Destroy(mAct); }

void MMStage::SwitchAct(int32_t time) {
  mCursorController->BeginBusy();
  DestroyAct();
  if (time != kMMNever) mTaskManager->RunUntil(time);
  MMAct* next = CreateNextAct();
  DestroyAct();
  mAct = next;
  mActSwitchPending = false;
  if (mAct != nullptr) {
    MMResourceCollection::PurgeAllUnreferenced();
    mTextureMap->LoadAll();
    MMResourceCollection::ReloadAllReferenced();
  }
  mCursorController->EndBusy();
  mClockResetPending = true;
}

void MMStage::Advance(int32_t time) {
  if (mPaused) return;
  if (mActSwitchPending) SwitchAct(time);
  if (time != kMMNever) mTaskManager->RunUntil(time);
}

void MMStage::Notify(bool draws) {
  if (!draws) return;
  FireEventNotifications(kAfterAdvance);
  if (CanDrawAct()) mAct->Draw();
}

void MMStage::TakeClockBase() {
  mClockBase = static_cast<int32_t>(ALMilliseconds());
  mTaskBase = mTaskManager->GetNow();
}

void MMStage::Present(bool draws) {
  if (!draws) return;
  const bool pauseNow = mPauseCount > 0 && !mPaused;
  const bool resumeNow = mPauseCount == 0 && mPaused;
  if (resumeNow) {
    mPaused = false;
    TakeClockBase();
  }
  if (pauseNow) {
    if (mSoundManager != nullptr) mSoundManager->Pause();
    if (mAct != nullptr) mAct->Pause();
  } else if (resumeNow) {
    if (mSoundManager != nullptr) mSoundManager->Resume();
    if (mAct != nullptr) mAct->Resume();
  }
  PresentIfComplete();
  if (!mPaused && !resumeNow) FireEventNotifications(kAfterPresent);
  if (!mPaused) {
    if (mClockResetPending) {
      TakeClockBase();
      mClockResetPending = false;
    }
    if (mSoundManager != nullptr) mSoundManager->Update();
  }
  if (pauseNow) mPaused = true;
}

// ---- Event notifications --------------------------------------------------

void MMStage::AddEventNotification(int32_t kind, UUCallback* callback) {
  mPendingNotifications.PushBack(EventNotificationInfo{kind, callback});
}

bool MMStage::FindNotification(const EventNotificationInfo& entry,
                               UUList<EventNotificationInfo>*& list,
                               UUUntypedListNode*& node) const {
  for (auto* candidate : {&mPendingNotifications, &mVisitedNotifications}) {
    node = UUListFind(candidate->Begin(), candidate->End(), entry);
    if (node != candidate->End()) {
      list = const_cast<UUList<EventNotificationInfo>*>(candidate);
      return true;
    }
  }
  return false;
}

void MMStage::RemoveEventNotification(int32_t kind, UUCallback* callback) {
  UUList<EventNotificationInfo>* list = nullptr;
  UUUntypedListNode* node = nullptr;
  if (FindNotification(EventNotificationInfo{kind, callback}, list, node)) list->Erase(node);
}

bool MMStage::HasEventNotification(int32_t kind, UUCallback* callback) const {
  UUList<EventNotificationInfo>* list = nullptr;
  UUUntypedListNode* node = nullptr;
  return FindNotification(EventNotificationInfo{kind, callback}, list, node);
}

// Each entry moves to the visited list before its callback runs, so that a
// callback may add registrations (visited in the same walk) and remove any.
void MMStage::FireEventNotifications(int32_t kind) {
  while (!mPendingNotifications.IsEmpty()) {
    UUUntypedListNode* first = mPendingNotifications.Begin();
    const EventNotificationInfo entry = UUList<EventNotificationInfo>::ValueOf(first);
    mVisitedNotifications.Anchor()->Splice(mVisitedNotifications.End(),
                                           mPendingNotifications.Anchor(), first, first->mNext);
    if (entry.mKind == kind) entry.mCallback->Invoke();
  }
  mPendingNotifications.SpliceAll(mPendingNotifications.End(), mVisitedNotifications);
}

// ---- Display ----------------------------------------------------------------

bool MMStage::HasControlWindow() const {
  MMStageControl* control = GetControl();
  return control != nullptr && control->GetHandle() != nullptr;
}

bool MMStage::HasDisplay() const {
  return (mFrontSurface != nullptr && mBackSurface != nullptr) ||
         (mDriver && mRenderer && mPipeline && mTextureStrategy != nullptr);
}

bool MMStage::LacksDisplay() const { return !HasDisplay(); }

void MMStage::PresentIfComplete() {
  if (!CanDrawAct()) return;
  mAct->Present();
  mDirtyRegion.Clear();
}

void MMStage::RestoreDisplayMode() {
  if (mDisplayStrategy != nullptr && mFrontSurface != nullptr && mBackSurface != nullptr &&
      mDisplayStrategy->GetMode() == kMMDisplayFullScreen) {
    UUDisplayMode::Restore();
  }
}

void MMStage::DeleteSurfaces() {
  Destroy(mFrontSurface);
  Destroy(mBackSurface);
}

// The texture map stays, with its entries and handles: only its driver
// textures go, while their driver is still there.
void MMStage::Release3DDisplay() {
  mTextureMap->SetDriver(nullptr, nullptr);
  delete std::exchange(mTextureStrategy, nullptr);
  mPipeline.Reset();
  mRenderer.Reset();
  mDriver.Reset();
}

void MMStage::SetDisplayModeStrategy(MMDisplayModeStrategy* strategy) {
  if (strategy == nullptr || strategy == mDisplayStrategy) return;
  RestoreDisplayMode();
  DeleteSurfaces();
  const bool hadDriver = mDisplayStrategy != nullptr && mDriver;
  Release3DDisplay();
  if (hadDriver && GetControl() != nullptr) GetControl()->RecreateWindow();
  mDisplayStrategy = strategy;
  strategy->Apply(this);
  if (mBackSurface != nullptr && GetControl() != nullptr) {
    mFrontSurface = new (ALGlobalAllocator) MMControlSurface(GetControl()->GetHandle());
  }
  if (!HasDisplay() && mFrontSurface == nullptr) QuitApplication();
}

void MMStage::SetBackSurface(MMDrawingSurface* surface) {
  Destroy(mBackSurface);
  mBackSurface = surface;
}

void MMStage::Set3DDisplay(const UURefCount<MM3DDriver>& driver,
                           const UURefCount<MM3DRenderer>& renderer,
                           const UURefCount<MM3DPipeline>& pipeline,
                           MM3DDriverTextureStrategy* textureStrategy) {
  // The old driver textures go while their driver is still there; the
  // handles stay and get new ones from the new driver on demand.
  mTextureMap->SetDriver(nullptr, nullptr);
  mDriver = driver;
  mRenderer = renderer;
  mPipeline = pipeline;
  // The same strategy may be handed back when only the device changes.
  if (textureStrategy != mTextureStrategy) delete std::exchange(mTextureStrategy, textureStrategy);
  mTextureMap->SetDriver(mDriver.Get(), mTextureStrategy);
}

void MMStage::Switch3DDisplay(const UURefCount<MM3DDriver>& driver,
                              const UURefCount<MM3DRenderer>& renderer,
                              const UURefCount<MM3DPipeline>& pipeline) {
  mTextureMap->SwitchDriver(driver.Get());
  mDriver = driver;
  mRenderer = renderer;
  mPipeline = pipeline;
}

void MMStage::AddDirtyRegion(const MMRegion& region) {
  if (mBackSurface != nullptr && region.GetCount() != 0) mDirtyRegion.AddRegion(region);
}

UURect MMStage::GetLocalRect() const {
  const UURect rect = GetControl() != nullptr ? MMRectFromWin32(GetControl()->GetRect()) : mRect;
  return UURect(0, 0, rect.GetWidth(), rect.GetHeight());
}

void MMStage::QuitApplication() {
  if (AFCurrentApplication != nullptr) AFCurrentApplication->QuitAfterFailure();
}

MMTaskCallback MMStage::MakeQuitCallback() {
  return MMTaskCallback(mTaskClient,
                        new (ALGlobalAllocator) UUClassCallback<MMStage, void (MMStage::*)()>(
                            this, &MMStage::QuitApplication));
}

// ---- Painting and closing ---------------------------------------------------

void MMStage::OnPaint() {
  PAINTSTRUCT paint;
  BeginPaint(GetControl()->GetHandle(), &paint);
  if (mDrawing) {
    MMRegion whole;
    whole.Set(GetLocalRect());
    AddDirtyRegion(whole);
  } else if (mAct != nullptr) {
    mAct->Repaint();
  }
  EndPaint(GetControl()->GetHandle(), &paint);
  if (mFirstFrameState == kFrameWaitingForPaint) {
    mFirstFrameState = kFramePaintSeen;
    mClockBase = static_cast<int32_t>(ALMilliseconds());
    UpdateLoop(mTaskManager->GetNow(), true);
  } else if (mFirstFrameState == kFrameFirst) {
    mFirstFrameState = kFrameRunning;
  }
}

void MMStage::DestroyControl() {
  MMStageControl* control = mControl.exchange(nullptr);
  UUOwned<MMStageControl>{control}.Reset();
}

bool MMStage::AgreeToClose() {
  if (mInUpdateStep) return false;
  RestoreDisplayMode();
  mQuitting = true;
  DestroyAct();
  Release3DDisplay();
  DestroyControl();
  return true;
}
