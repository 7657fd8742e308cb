#pragma once

#include <atomic>
#include <cstdint>

#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURect.h"
#include "foundation/uu/UURefCount.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMCursorTable.h"
#include "mm/stage/MMEvents.h"
#include "mm/stage/MMFramePacer.h"
#include "mm/tasks/MMTaskCallback.h"
#include "mm/tasks/MMTaskTime.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"
#include "platform/win32/user.h"

class MM3DDriverTextureMap;
class MM3DDriverTextureStrategy;

class MMAct;
class MMControlSurface;
class MMCursor;
class MMCursorController;
class MMDisplayModeStrategy;
class MMDrawingSurface;
class MMInputStrategy;
class MMStageSoundManager;
class MMStageControl;
class MMStageWindow;
class MMTaskClient;
class MMTaskManager;
class WinMMStageThread;

// The spine of the presentation: one per presentation window. It runs on a
// thread of its own with a message loop that waits only between idle frames
// (paced to the display), and whenever an update is requested runs a frame
// of three steps: Advance (switch acts when asked, run the task manager up
// to the frame's time), Notify (per-frame hooks, then the act draws) and
// Present (pause handling, the act presents, per-frame hooks, sound
// update). The application derives its own stage and supplies CreateNextAct.
class MMStage {
 public:
  // When an event notification runs in a frame.
  enum EventNotificationKind : int32_t { kAfterAdvance = 0, kAfterPresent = 1 };

  struct EventNotificationInfo {
    int32_t mKind;  // an EventNotificationKind
    UUCallback* mCallback;
    friend bool operator==(const EventNotificationInfo&, const EventNotificationInfo&) = default;
  };

  // firstFrameState values.
  static constexpr int32_t kFrameRunning = 0;
  static constexpr int32_t kFrameFirst = 1;
  static constexpr int32_t kFrameWaitingForPaint = 2;
  static constexpr int32_t kFramePaintSeen = 3;

  // On the window's thread: the thread is made suspended and the window
  // takes the stage. The stage owns the sound manager; without one it makes
  // its own for the window (MMMakeSoundManager).
  MMStage(MMStageWindow* window, const UURect& rect, MMStageSoundManager* soundManager);
  virtual ~MMStage();
  MMStage(const MMStage&) = delete;
  MMStage& operator=(const MMStage&) = delete;

  virtual MMCursor* GetCursor(int32_t id);
  // The stage thread's body.
  virtual void ThreadMain();
  // Activation and focus, from the stage control's hooks.
  virtual void AppActivated();
  virtual void AppDeactivated();
  virtual void WindowActivated();
  virtual void WindowDeactivated();
  virtual void GainFocus();
  virtual void LoseFocus();
  // Asked from the window's thread.
  virtual bool IsEventRegistered(int32_t id);
  // Input entry points, called by the input strategy.
  virtual void HandleMouse(const MMMouseEvent& event);
  virtual void HandleMouseLeave(int32_t clockTime);
  virtual void HandleRegisteredEvent(const MMRegisteredEvent& event);
  virtual void HandleKey(const MMKeyEvent& event);
  virtual void HandlePostedMessage(const MMPostedMessage& message);
  // Builds the next act; called after the old act has been destroyed.
  virtual MMAct* CreateNextAct() = 0;
  virtual MMStageControl* CreateStageControl(MMStageWindow* window, const UURect& rect);
  virtual void Init();
  virtual void MessageLoop();
  virtual void Teardown();
  virtual void UpdateLoop(int32_t time, bool draws);
  virtual void RunPendingUpdate();
  virtual void UpdateStep(int32_t time, bool draws);
  virtual void Advance(int32_t time);
  virtual void Notify(bool draws);
  virtual void Present(bool draws);

  void StartThread();
  bool IsStageThread() const;
  // The stage thread ran and has ended.
  bool HasThreadEnded() const;
  // The close handshake, on the window's thread.
  void StopThread();

  // A later request replaces an earlier one.
  void RequestUpdate(int32_t stageTime, bool draws);
  void RequestActSwitch() { mActSwitchPending = true; }
  void AddPause() { ++mPauseCount; }
  void RemovePause() { --mPauseCount; }

  void AddEventNotification(int32_t kind, UUCallback* callback);
  void RemoveEventNotification(int32_t kind, UUCallback* callback);
  bool HasEventNotification(int32_t kind, UUCallback* callback) const;
  void FireEventNotifications(int32_t kind);

  void SetDisplayModeStrategy(MMDisplayModeStrategy* strategy);
  void SetBackSurface(MMDrawingSurface* surface);
  void Set3DDisplay(const UURefCount<MM3DDriver>& driver, const UURefCount<MM3DRenderer>& renderer,
                    const UURefCount<MM3DPipeline>& pipeline,
                    MM3DDriverTextureStrategy* textureStrategy);
  // Draws with another device for a while, the texture strategy staying:
  // the outgoing device keeps its textures for its return, so switching
  // back and forth between two devices loads no texture again.
  void Switch3DDisplay(const UURefCount<MM3DDriver>& driver,
                       const UURefCount<MM3DRenderer>& renderer,
                       const UURefCount<MM3DPipeline>& pipeline);
  bool LacksDisplay() const;
  void PresentIfComplete();
  void RestoreDisplayMode();
  void AddDirtyRegion(const MMRegion& region);
  UURect GetLocalRect() const;
  int32_t ToStageTime(int32_t clockTime) const { return mTaskBase + clockTime - mClockBase; }
  int32_t ToClockTime(int32_t stageTime) const { return stageTime + mClockBase - mTaskBase; }
  // Used when the stage cannot go on (no display): the run ends as failed.
  void QuitApplication();
  MMTaskCallback MakeQuitCallback();
  void OnPaint();
  bool AgreeToClose();

  // Registered events (ids posted to the stage by the window's commands).
  void RegisterEvent(int32_t id, const MMTaskCallback& callback);
  void UnregisterEvent(int32_t id);

  bool TakeFocus();
  void SetFocusAct(MMAct* act);

  void SetInputStrategy(MMInputStrategy* strategy);
  void StrategyIdleTick();
  void StrategyMouseLeave(int32_t clockTime);
  bool StrategyHandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);
  void StrategyRegisteredEvent(int32_t id, int32_t clockTime);
  void StrategyPostedMessage(WPARAM wParam, LPARAM lParam, int32_t clockTime);

  // Stage and surface coordinates coincide; window coordinates are the
  // client coordinates of the window that hosts the control.
  void StageToSurface(UUPoint&) const {}
  void StageToSurface(UURect&) const {}
  void StageToSurface(MMRegion&) const {}
  void SurfaceToStage(UUPoint&) const {}
  void SurfaceToStage(UURect&) const {}
  void SurfaceToStage(MMRegion&) const {}
  void StageToWindow(UUPoint& point) const;
  void StageToWindow(UURect& rect) const;
  void StageToWindow(MMRegion& region) const;
  void WindowToStage(UUPoint& point) const;
  void WindowToStage(UURect& rect) const;
  void WindowToStage(MMRegion& region) const;

  MMStageWindow* GetWindow() const { return mWindow; }
  MMStageControl* GetControl() const { return mControl.load(); }
  const UURect& GetRect() const { return mRect; }
  MMTaskManager* GetTaskManager() const { return mTaskManager; }
  MMTaskClient* GetTaskClient() const { return mTaskClient; }
  MMStageSoundManager* GetSoundManager() const { return mSoundManager; }
  MMCursorController* GetCursorController() const { return mCursorController; }
  MMControlSurface* GetFrontSurface() const { return mFrontSurface; }
  MMDrawingSurface* GetBackSurface() const { return mBackSurface; }
  const UURefCount<MM3DDriver>& GetDriver() const { return mDriver; }
  UURefCount<MM3DRenderer> GetRenderer() const { return mRenderer; }
  const UURefCount<MM3DPipeline>& GetPipeline() const { return mPipeline; }
  // The one map of the stage's life: its handles stay valid across display
  // changes, which only re-point it at the new driver.
  MM3DDriverTextureMap* GetTextureMap() const { return mTextureMap; }
  MM3DDriverTextureStrategy* GetTextureStrategy() const { return mTextureStrategy; }
  MMDisplayModeStrategy* GetDisplayStrategy() const { return mDisplayStrategy; }
  MMAct* GetAct() const { return mAct; }
  MMAct* GetFocusAct() const { return mFocusAct; }
  int32_t GetPauseCount() const { return mPauseCount; }
  bool IsPaused() const { return mPaused; }
  bool IsQuitting() const { return mQuitting; }
  bool IsDrawing() const { return mDrawing; }
  bool IsInUpdateStep() const { return mInUpdateStep; }
  bool IsActSwitchPending() const { return mActSwitchPending; }
  bool HasFocus() const { return mHasFocus; }
  bool IsMouseInside() const { return mMouseInside; }
  const MMMouseEvent& GetLastMouseEvent() const { return mLastMouseEvent; }
  int32_t GetFirstFrameState() const { return mFirstFrameState; }
  int32_t GetPendingUpdateTime() const { return mPendingUpdateTime; }
  bool GetPendingUpdateDraws() const { return mPendingUpdateDraws; }
  const MMRegion& GetDirtyRegion() const { return mDirtyRegion; }
  int32_t GetTaskBase() const { return mTaskBase; }
  int32_t GetClockBase() const { return mClockBase; }
  MMInputStrategy* GetInputStrategy() const { return mInputStrategy.Get(); }

 private:
  // Milliseconds until the next idle pass, INFINITE when none is due.
  DWORD TimeUntilIdlePass() const;
  bool HasControlWindow() const;
  bool HasDisplay() const;
  bool CanDrawAct() const { return mAct != nullptr && HasDisplay(); }
  void TakeClockBase();
  void DestroyAct();
  void SwitchAct(int32_t time);
  void Release3DDisplay();
  void DestroyControl();
  void DeleteSurfaces();
  void FillCursorTable();
  bool FindNotification(const EventNotificationInfo& entry, UUList<EventNotificationInfo>*& list,
                        UUUntypedListNode*& node) const;
  UUPoint ControlOrigin() const;

  MMStageWindow* mWindow;
  // Read by the close handshake on the window's thread.
  std::atomic<MMStageControl*> mControl{nullptr};
  WinMMStageThread* mThread = nullptr;
  UURect mRect;
  bool mQuitting = false;
  int32_t mPauseCount = 0;
  bool mPaused = false;
  int32_t mTaskBase = 0;
  int32_t mClockBase = 0;
  bool mClockResetPending = false;
  int32_t mFirstFrameState = kFrameFirst;
  bool mInUpdateStep = false;
  bool mDrawing = true;
  UUList<EventNotificationInfo> mPendingNotifications;
  UUList<EventNotificationInfo> mVisitedNotifications;
  MMMouseEvent mLastMouseEvent;
  bool mMouseInside = false;
  MMAct* mAct = nullptr;
  MMAct* mFocusAct = nullptr;
  MMRegion mDirtyRegion;
  MMControlSurface* mFrontSurface = nullptr;
  MMDrawingSurface* mBackSurface = nullptr;
  UURefCount<MM3DDriver> mDriver;
  UURefCount<MM3DRenderer> mRenderer;
  UURefCount<MM3DPipeline> mPipeline;
  MM3DDriverTextureMap* mTextureMap = nullptr;
  MM3DDriverTextureStrategy* mTextureStrategy = nullptr;
  MMDisplayModeStrategy* mDisplayStrategy = nullptr;
  MMTaskManager* mTaskManager = nullptr;
  MMTaskClient* mTaskClient = nullptr;
  MMStageSoundManager* mSoundManager = nullptr;
  MMCursorController* mCursorController = nullptr;
  MMCursorTable mCursors;
  mutable ALCriticalSection mLock;
  MMTaskCallbackMap mRegisteredEvents;
  bool mActSwitchPending = false;
  UURefCount<MMInputStrategy> mInputStrategy;
  MMFramePacer mIdlePacer;
  int32_t mPendingUpdateTime = kMMNever;
  bool mPendingUpdateDraws = true;
  bool mHasFocus = false;
};
