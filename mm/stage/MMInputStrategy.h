#pragma once

#include <cstdint>

#include "mm/stage/MMEvents.h"
#include "platform/win32/user.h"

class MMStage;

// Turns the stage control's messages into the stage's events and decides
// when frames are drawn. Stage thread only.
class MMInputStrategy {
 public:
  explicit MMInputStrategy(MMStage* stage) : mStage(stage) {}
  virtual ~MMInputStrategy() = default;
  MMInputStrategy(const MMInputStrategy&) = delete;
  MMInputStrategy& operator=(const MMInputStrategy&) = delete;

  virtual void IdleTick() = 0;
  virtual void MouseLeave(int32_t time) = 0;
  virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) = 0;
  virtual void HandleRegisteredEvent(int32_t id, int32_t time) = 0;
  virtual void HandlePostedMessage(WPARAM wParam, LPARAM lParam, int32_t time) = 0;
  virtual MMMouseEvent MakeMouseEvent(UINT message, WPARAM wParam, LPARAM lParam);
  virtual int32_t MouseFlags(UINT message, WPARAM wParam);
  virtual MMKeyEvent MakeCharEvent(UINT message, WPARAM wParam, LPARAM lParam);
  // False when the key has no translation.
  virtual bool TranslateKey(HWND window, UINT message, WPARAM virtualKey, LPARAM lParam,
                            MMKeyEvent& event);

  MMStage* GetStage() const { return mStage; }

 protected:
  // The stage time of a program-clock time, never before the task manager's
  // present time: a frame never goes back in time.
  int32_t StageTimeOf(int32_t clockTime) const;
  int32_t StageTimeOfMessage(uint32_t systemTime) const;
  static int32_t MessageClockTime();

 private:
  MMStage* mStage;
};

// Pushes every event to the stage at once and asks for an update at its
// time; the idle tick repeats the last mouse event, so a drag goes on while
// the pointer rests.
class MMPushInputStrategy : public MMInputStrategy {
 public:
  using MMInputStrategy::MMInputStrategy;

  void IdleTick() override;
  void MouseLeave(int32_t time) override;
  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  void HandleRegisteredEvent(int32_t id, int32_t time) override;
  void HandlePostedMessage(WPARAM wParam, LPARAM lParam, int32_t time) override;
  // Whether input events draw at once or leave drawing to the idle tick.
  virtual bool UpdatesImmediately() = 0;

  void SendMouseEvent(const MMMouseEvent& event, bool draws);
  void SendMouseLeave(int32_t time, bool draws);
  void SendKeyEvent(const MMKeyEvent& event, bool draws);
  void SendRegisteredEvent(const MMRegisteredEvent& event, bool draws);
  void SendPostedMessage(const MMPostedMessage& message, bool draws);

  bool HasLastMouseEvent() const { return mHasLastMouseEvent; }
  const MMMouseEvent& GetLastMouseEvent() const { return mLastMouseEvent; }

 private:
  // Idle ticks and the events that do not come from the user wait until
  // the first frame is on screen and while the stage is paused.
  bool IsStageReady() const;
  void RequestUpdateAt(int32_t clockTime, bool draws);

  bool mHasLastMouseEvent = false;
  MMMouseEvent mLastMouseEvent;
};

class MMLockstepInputStrategy : public MMPushInputStrategy {
 public:
  using MMPushInputStrategy::MMPushInputStrategy;
  bool UpdatesImmediately() override { return true; }
};

class MMLazyUpdateInputStrategy : public MMPushInputStrategy {
 public:
  using MMPushInputStrategy::MMPushInputStrategy;
  bool UpdatesImmediately() override { return false; }
};
