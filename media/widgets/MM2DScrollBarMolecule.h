#pragma once

#include "media/widgets/MM2DScrollBarVisual.h"
#include "mm/stage/MMMolecule.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>

class MM2DScrollBarMolecule;

// Turns presses on a scroll bar into value changes: the arrows step by a
// line, the track by a page, both repeating while held after 500 ms, and
// the thumb is dragged.
class MM2DScrollBarInterpreter : public MMStandardMouseInterpreter {
 public:
  static constexpr int32_t kRepeatDelay = 500;

  MM2DScrollBarInterpreter(MMAct* act, MM2DScrollBarMolecule* molecule,
                           MM2DScrollBarVisual* visual);

  // Answers whether a part is held.
  bool HandleMouse(const MMMouseEvent& event) override;
  // A press in progress ends without changing the value.
  void MouseLeave() override;

  MMScrollBarPart GetPressedPart() const { return mPressedPart; }

 private:
  void BeginPress(MMScrollBarPart part, const MMMouseEvent& event);
  void ContinuePress(MMScrollBarPart part, const MMMouseEvent& event);
  void EndPress(const MMMouseEvent& event);

  MM2DScrollBarMolecule* mMolecule;
  MM2DScrollBarVisual* mVisual;
  int32_t mNextRepeatTime = 0;
  MMScrollBarPart mPressedPart = kMMScrollBarNone;
};

// A value from 0 to a maximum shown by a scroll bar whose thumb is as long
// as the page is of the whole. Each change of the value posts the change
// binding.
class MM2DScrollBarMolecule : public MMMolecule {
 public:
  // Takes the visual: maximum 0, page size 1.
  MM2DScrollBarMolecule(MMScene* scene, MM2DScrollBarVisual* visual, int32_t depth);
  MM2DScrollBarMolecule(MMScene* scene, MM2DScrollBarVisual* visual, int32_t maximum,
                        int32_t pageSize, int32_t depth);
  ~MM2DScrollBarMolecule() override;

  // The value goes back to 0.
  void SetMaximum(int32_t maximum);
  void SetPageSize(int32_t pageSize);
  virtual void SetValue(int32_t value);
  void SetValueIfChanged(int32_t value);
  // The thumb placed for the value.
  void SyncThumb();
  // With live tracking (or forced), the value where the thumb is.
  void TakeValueFromThumb(bool forced);
  // One step for a pressed part, kept within 0 to the maximum.
  void Step(MMScrollBarPart part);
  // The visual at the depth with a new interpreter (the old one goes).
  void AttachVisual(int32_t depth);

  void SetChangeBinding(const MMTaskCallback& binding) { mChangeBinding = binding; }
  // Off: the value follows a dragged thumb only when it is released.
  void SetLiveTracking(bool live) { mLiveTracking = live; }

  int32_t GetValue() const { return mValue; }
  int32_t GetMaximum() const { return mMaximum; }
  int32_t GetPageSize() const { return mPageSize; }
  MM2DScrollBarVisual* GetVisual() const { return mVisual; }
  MM2DScrollBarInterpreter* GetInterpreter() const { return mInterpreter; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  void ResizeThumb();
  int32_t ThumbOffsetOf(int32_t value) const;

  MM2DScrollBarVisual* mVisual;
  MM2DScrollBarInterpreter* mInterpreter = nullptr;
  int32_t mMaximum;
  int32_t mLineStep = 1;
  int32_t mPageSize;
  MMTaskCallback mChangeBinding;
  bool mLiveTracking = false;
  bool mProportionalThumb = true;
  int32_t mValue = 0;
};
