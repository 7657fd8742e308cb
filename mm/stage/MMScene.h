#pragma once

#include <cstdint>

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUList.h"

class MMMolecule;
class MMSceneServices;
class MMStageSoundGroup;
class MMStage;
class MMTaskClient;
struct MMKeyEvent;

// The events molecules can register callbacks for.
enum MMSceneNotificationKind : int32_t {
  kMMSceneAppActivated = 0,
  kMMSceneAppDeactivated = 1,
  kMMSceneWindowActivated = 2,
  kMMSceneWindowDeactivated = 3,
  kMMSceneStagePaused = 4,
  kMMSceneStageResumed = 5,
  kMMScenePaused = 6,
  kMMSceneResumed = 7
};

// A unit of behaviour inside an act: its own clock and sound group, the
// molecule that receives keys, and callbacks for activation and pauses.
class MMScene {
 public:
  struct NotificationRegistration {
    UUCallback* mCallback;
    int32_t mKind;
    friend bool operator==(const NotificationRegistration&,
                           const NotificationRegistration&) = default;
  };

  // Registers with the host, then makes its clock on the stage's task
  // manager and its sound group on the stage's sound manager.
  MMScene(MMSceneServices* host, void* userData);
  virtual ~MMScene();
  MMScene(const MMScene&) = delete;
  MMScene& operator=(const MMScene&) = delete;

  virtual void ResignFocus();
  virtual bool HandleKey(const MMKeyEvent& event);
  virtual void AppActivated();
  virtual void AppDeactivated();
  virtual void WindowActivated();
  virtual void WindowDeactivated();
  virtual void GainFocus();
  virtual void LoseFocus();
  virtual void StagePaused();
  virtual void StageResumed();
  virtual void PauseClock();
  virtual void ResumeClock();

  MMStage* GetStage() const;
  MMSceneServices* GetHost() const { return mHost; }
  MMTaskClient* GetTaskClient() const { return mTaskClient; }
  // Null while the stage runs without a sound manager.
  MMStageSoundGroup* GetSoundGroup() const { return mSoundGroup; }
  void* GetUserData() const { return mUserData; }
  bool HasFocus() const { return mHasFocus; }
  MMMolecule* GetFocusMolecule() const { return mFocusMolecule; }
  int32_t GetPauseDepth() const { return mPauseDepth; }

  bool TakeFocus();
  void SetFocusMolecule(MMMolecule* molecule);
  // Nested; the outermost pause and resume stop and restart the clock.
  void Pause();
  void Resume();

  // The scene does not own the callbacks.
  void AddNotification(UUCallback* callback, int32_t kind);
  void RemoveNotification(UUCallback* callback, int32_t kind);
  bool HasNotification(UUCallback* callback, int32_t kind) const;
  bool HasNotificationCallback(UUCallback* callback) const;
  void FireNotifications(int32_t kind);

 private:
  MMSceneServices* mHost;
  MMTaskClient* mTaskClient;
  MMStageSoundGroup* mSoundGroup;
  bool mHasFocus = false;
  MMMolecule* mFocusMolecule = nullptr;
  void* mUserData;
  int32_t mPauseDepth = 0;
  UUList<NotificationRegistration> mNotifications;
};
