#pragma once
// Mouse interpreters turn the events that reach one visual into behaviour:
// whether an event counts, whether the mouse stays captured, what is
// highlighted, and which callback binding is posted. Firing never calls the
// action directly: the binding runs later as a task of its scene.

#include "mm/stage/MMEvents.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>

class MMAct;
class MMCursor;
class MMHighlightable;
class MMStage;

// Every standard interpreter matches exactly the events with the press bit
// (presses and double clicks) unless its owner changes its mask.
constexpr int32_t kMMDefaultEventMask = kMMMousePress;
constexpr int32_t kMMDefaultEventValue = kMMMousePress;

class MMMouseInterpreter {
 public:
  // A null cursor means the stage's cursor 0.
  MMMouseInterpreter(MMAct* act, MMCursor* cursor);
  virtual ~MMMouseInterpreter() = default;
  MMMouseInterpreter(const MMMouseInterpreter&) = delete;
  MMMouseInterpreter& operator=(const MMMouseInterpreter&) = delete;

  // Before deletion: when this is the act's target, the act's target
  // becomes empty (this gets its MouseLeave), so the act never keeps a
  // pointer to a deleted interpreter.
  virtual void Detach() { ReleaseMouseTarget(); }
  virtual void MouseEnter() {}
  // Answers whether the interpreter keeps the mouse captured.
  virtual bool HandleMouse(const MMMouseEvent& event) = 0;
  virtual void MouseLeave() {}

  // What Detach does, for molecules that hide themselves.
  void ReleaseMouseTarget();
  // Shown while the interpreter is the act's target.
  MMCursor* GetCursor() const { return mCursor; }
  MMAct* GetAct() const { return mAct; }
  MMStage* GetStage() const;

 private:
  MMAct* mAct;
  MMCursor* mCursor;
};

// An interpreter that fires one callback binding for the events whose
// flags, masked, equal its value.
class MMStandardMouseInterpreter : public MMMouseInterpreter {
 public:
  MMStandardMouseInterpreter(MMAct* act, const MMTaskCallback& binding, MMCursor* cursor);

  virtual bool Matches(const MMMouseEvent& event) const { return (event.mFlags & mMask) == mValue; }
  // An empty binding posts nothing.
  virtual void Fire() { mBinding.Post(); }

  void SetBinding(const MMTaskCallback& binding) { mBinding = binding; }
  const MMTaskCallback& GetBinding() const { return mBinding; }
  void SetEventMask(int32_t mask, int32_t value) {
    mMask = mask;
    mValue = value;
  }

 private:
  int32_t mMask = kMMDefaultEventMask;
  int32_t mValue = kMMDefaultEventValue;
  MMTaskCallback mBinding;
};

// Fires on every matching event and never captures.
class MMSingleEventInterpreter : public MMStandardMouseInterpreter {
 public:
  explicit MMSingleEventInterpreter(MMAct* act)
      : MMSingleEventInterpreter(act, MMTaskCallback(), nullptr) {}
  MMSingleEventInterpreter(MMAct* act, const MMTaskCallback& binding, MMCursor* cursor)
      : MMStandardMouseInterpreter(act, binding, cursor) {}

  bool HandleMouse(const MMMouseEvent& event) override;
};

// A single-event interpreter that also posts bindings when the mouse
// enters and leaves it (both empty until its owner sets them).
class MMTrackActivationInterpreter : public MMSingleEventInterpreter {
 public:
  MMTrackActivationInterpreter(MMAct* act, const MMTaskCallback& binding, MMCursor* cursor)
      : MMSingleEventInterpreter(act, binding, cursor) {}

  void MouseEnter() override { mEnterBinding.Post(); }
  void MouseLeave() override { mLeaveBinding.Post(); }
  void SetEnterBinding(const MMTaskCallback& binding) { mEnterBinding = binding; }
  void SetLeaveBinding(const MMTaskCallback& binding) { mLeaveBinding = binding; }

 private:
  MMTaskCallback mEnterBinding;
  MMTaskCallback mLeaveBinding;
};

// A single-event interpreter that highlights its target while the mouse is
// over it.
class MMHighlightInterpreter : public MMSingleEventInterpreter {
 public:
  MMHighlightInterpreter(MMAct* act, MMHighlightable* highlight, const MMTaskCallback& binding,
                         MMCursor* cursor)
      : MMSingleEventInterpreter(act, binding, cursor), mHighlight(highlight) {}

  void MouseEnter() override;
  void MouseLeave() override;

 private:
  MMHighlightable* mHighlight;
};
