#pragma once
// A logical sound channel: a sound being played as scenes see it. It keeps
// time on the program clock, so that it plays on silently, ends on time and
// comes back at the right place when it has no device buffer (the device is
// suspended, or none could be made). Requests and controls are carried out
// by Update, which the sound manager calls every frame on the stage thread;
// the physical channel it holds, if any, makes it audible.

#include "mm/tasks/MMTaskCallback.h"

#include <atomic>
#include <cstdint>
#include <memory>

class MMPhysicalSoundChannel;
class MMSoundGroup;
class MMSoundManager;

// An object a channel calls at the end of each of its frames.
class MMSoundChannelFrameHook {
 public:
  virtual ~MMSoundChannelFrameHook() = default;
  virtual void Frame() = 0;
};

class MMLogicalSoundChannel {
 public:
  enum PauseState : int32_t {
    kRunning = 0,
    kPausedOnDevice = 1,      // the physical channel was paused
    kPausedWithoutDevice = 2  // only the position is kept
  };
  static constexpr int32_t kFullVolume = 1024;
  static constexpr int32_t kCentre = 0;
  static constexpr int32_t kOwnRate = 0x10000;

  // Joins the group's and the manager's lists, with the group's counts.
  explicit MMLogicalSoundChannel(MMSoundGroup* group);
  // Gives up the physical channel and leaves both lists.
  virtual ~MMLogicalSoundChannel();
  MMLogicalSoundChannel(const MMLogicalSoundChannel&) = delete;
  MMLogicalSoundChannel& operator=(const MMLogicalSoundChannel&) = delete;

  // Stops a playing sound and drops a pending request.
  virtual void Stop();
  virtual void OnPause() {}
  virtual void OnResume() {}
  // Gives the physical channel up.
  virtual void OnSuspend();
  virtual void OnUnsuspend() {}
  virtual void OnStart() {}
  // A new physical channel, not yet attached, or null.
  virtual MMPhysicalSoundChannel* AcquirePhysicalChannel() = 0;
  virtual bool IsFinished();
  // Not playing, not looping, at time 0.
  virtual void Reset();
  // Whether the sound is over, when no physical channel is held.
  virtual bool IsFinishedWithoutChannel() = 0;

  // The frame's step: finishes, starts requested plays, follows the pause
  // state and takes a physical channel when one is missing.
  void Update();
  // A request to play from the position (ms), carried out by Update.
  void RequestPlay(int32_t milliseconds, bool loop);
  // A looping sound plays out to its end once.
  void StopLooping();
  // Stored as given; a held physical channel applies a change at once.
  void SetVolume(int32_t volume);
  void SetPan(int32_t pan);
  void SetPitch(int32_t pitch);
  // Counted; Update pauses or resumes the device.
  void Pause();
  void Resume();
  // Counted; suspending gives the physical channel up at once, and Update
  // takes a new one when the count is back at 0.
  void Suspend();
  void Unsuspend();
  // Milliseconds into the sound, 0 when not playing.
  int32_t GetElapsed() const;
  void SetFinishCallback(const MMTaskCallback& callback) { mFinishCallback = callback; }
  // Takes the hook over; the previous one is deleted.
  void SetFrameHook(MMSoundChannelFrameHook* hook) { mFrameHook.reset(hook); }

  // Releases the held physical channel and holds the new one (or none) if
  // its buffer can be made; volume, pan and pitch are applied to it.
  void AttachPhysicalChannel(MMPhysicalSoundChannel* channel);
  // Brings the time base and the device in line with the pause count.
  void ApplyPauseState();
  // Plays from the position (ms): on the device when a physical channel
  // is held, and on the clock.
  void SetPosition(int32_t milliseconds);

  // Read on the pulse thread by a streamed refill.
  bool IsPlaying() const { return mPlaying.load(std::memory_order_acquire); }
  bool IsLooping() const { return mLooping.load(std::memory_order_acquire); }
  int32_t GetVolume() const { return mVolume; }
  int32_t GetPan() const { return mPan; }
  int32_t GetPitch() const { return mPitch; }
  MMSoundGroup* GetGroup() const { return mGroup; }
  MMSoundManager* GetManager() const { return mManager; }
  MMPhysicalSoundChannel* GetPhysicalChannel() const { return mPhysical; }
  PauseState GetPauseState() const { return mPauseState; }
  int32_t GetPauseCount() const { return mPauseCount; }
  int32_t GetSuspendCount() const { return mSuspendCount; }

 protected:
  // The time into the sound, while playing.
  int32_t Elapsed() const;
  // The program clock in milliseconds.
  static int32_t Now();

 private:
  struct PlayRequest {
    bool mPending = false;
    bool mLoop = false;
    int32_t mPosition = 0;
  };

  // Takes the request: playing from its position.
  void Start();
  // Without a physical channel and not suspended: takes one.
  void TakePhysicalChannel();

  std::atomic<bool> mPlaying{false};
  std::atomic<bool> mLooping{false};
  // Running: the clock value at the sound's start; paused: the elapsed
  // time.
  int32_t mTimeBase = 0;
  PlayRequest mRequest;
  MMPhysicalSoundChannel* mPhysical = nullptr;
  PauseState mPauseState = kRunning;
  int32_t mVolume = kFullVolume;
  int32_t mPan = kCentre;
  int32_t mPitch = kOwnRate;
  MMSoundGroup* mGroup;
  MMSoundManager* mManager;
  std::unique_ptr<MMSoundChannelFrameHook> mFrameHook;
  MMTaskCallback mFinishCallback;
  int32_t mPauseCount;
  int32_t mSuspendCount;
};
