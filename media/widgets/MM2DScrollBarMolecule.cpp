#include "media/widgets/MM2DScrollBarMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMEnclosure.h"

#include <algorithm>
#include <climits>

namespace {

// A page below nothing would make the thumb's whole nothing or less.
int32_t PageOrNothing(int32_t pageSize) { return std::max(pageSize, 0); }

}  // namespace

MM2DScrollBarInterpreter::MM2DScrollBarInterpreter(MMAct* act, MM2DScrollBarMolecule* molecule,
                                                   MM2DScrollBarVisual* visual)
    : MMStandardMouseInterpreter(act, MMTaskCallback(), nullptr),
      mMolecule(molecule),
      mVisual(visual) {}

bool MM2DScrollBarInterpreter::HandleMouse(const MMMouseEvent& event) {
  const MMScrollBarPart part = mVisual->HitPart(event.mX, event.mY);
  if (Matches(event)) {
    EndPress(event);
    if (part != kMMScrollBarNone) BeginPress(part, event);
  } else if (mPressedPart != kMMScrollBarNone && (event.mFlags & kMMMouseButtonDown) != 0) {
    ContinuePress(part, event);
  } else {
    EndPress(event);
  }
  return mPressedPart != kMMScrollBarNone;
}

void MM2DScrollBarInterpreter::BeginPress(MMScrollBarPart part, const MMMouseEvent& event) {
  mPressedPart = part;
  if (part == kMMScrollBarThumb) {
    mVisual->BeginThumbDrag(event.mX, event.mY);
    return;
  }
  mMolecule->Step(part);
  mVisual->SetPressedPart(part);
  mNextRepeatTime = event.mTime + kRepeatDelay;
}

void MM2DScrollBarInterpreter::ContinuePress(MMScrollBarPart part, const MMMouseEvent& event) {
  if (mPressedPart == kMMScrollBarThumb) {
    mVisual->DragThumb(event.mX, event.mY);
    mMolecule->TakeValueFromThumb(false);
    return;
  }
  if (part != mPressedPart) {
    mVisual->SetPressedPart(kMMScrollBarNone);
    return;
  }
  mVisual->SetPressedPart(part);
  // The repeat time stays: after the first delay every event steps once.
  if (event.mTime > mNextRepeatTime) mMolecule->Step(part);
}

void MM2DScrollBarInterpreter::EndPress(const MMMouseEvent& event) {
  if (mPressedPart == kMMScrollBarThumb && (event.mFlags & kMMMouseRelease) != 0) {
    mMolecule->TakeValueFromThumb(true);
  }
  mVisual->SetPressedPart(kMMScrollBarNone);
  mPressedPart = kMMScrollBarNone;
}

void MM2DScrollBarInterpreter::MouseLeave() {
  mPressedPart = kMMScrollBarNone;
  mVisual->SetPressedPart(kMMScrollBarNone);
  MMStandardMouseInterpreter::MouseLeave();
}

MM2DScrollBarMolecule::MM2DScrollBarMolecule(MMScene* scene, MM2DScrollBarVisual* visual,
                                             int32_t depth)
    : MM2DScrollBarMolecule(scene, visual, 0, 1, depth) {}

MM2DScrollBarMolecule::MM2DScrollBarMolecule(MMScene* scene, MM2DScrollBarVisual* visual,
                                             int32_t maximum, int32_t pageSize, int32_t depth)
    : MMMolecule(scene), mVisual(visual), mMaximum(maximum), mPageSize(PageOrNothing(pageSize)) {
  AttachVisual(depth);
}

MM2DScrollBarMolecule::~MM2DScrollBarMolecule() {
  GetEnclosure()->RemoveVisual(mVisual);
  mVisual->SetInterpreter(nullptr);
  mInterpreter->Detach();
  delete mInterpreter;
  delete mVisual;
}

void MM2DScrollBarMolecule::AttachVisual(int32_t depth) {
  if (mInterpreter != nullptr) {
    GetEnclosure()->RemoveVisual(mVisual);
    mInterpreter->Detach();
    delete mInterpreter;
  }
  mInterpreter = new (ALGlobalAllocator) MM2DScrollBarInterpreter(GetAct(), this, mVisual);
  mVisual->SetDepth(depth);
  mVisual->SetInterpreter(mInterpreter);
  GetEnclosure()->AddVisual(mVisual);
}

void MM2DScrollBarMolecule::ResizeThumb() {
  if (mMaximum > 0) {
    const int64_t whole = std::min(int64_t{mMaximum} + mPageSize, int64_t{INT32_MAX});
    mVisual->SetProportion(static_cast<int32_t>(whole), mPageSize);
  } else {
    mVisual->SetProportion(0, 0);
  }
}

void MM2DScrollBarMolecule::SetMaximum(int32_t maximum) {
  mMaximum = maximum;
  if (mProportionalThumb) ResizeThumb();
  mValue = 0;
  mVisual->SetThumbOffset(0);
}

void MM2DScrollBarMolecule::SetPageSize(int32_t pageSize) {
  mPageSize = PageOrNothing(pageSize);
  if (mProportionalThumb) ResizeThumb();
}

int32_t MM2DScrollBarMolecule::ThumbOffsetOf(int32_t value) const {
  if (mMaximum == 0) return 0;
  return static_cast<int32_t>(int64_t{value} * mVisual->GetFreeTrack() / mMaximum);
}

void MM2DScrollBarMolecule::SetValue(int32_t value) {
  mValue = value;
  mVisual->SetThumbOffset(ThumbOffsetOf(value));
  mChangeBinding.Post();
}

void MM2DScrollBarMolecule::SetValueIfChanged(int32_t value) {
  if (value != mValue) SetValue(value);
}

void MM2DScrollBarMolecule::SyncThumb() { mVisual->SetThumbOffset(ThumbOffsetOf(mValue)); }

void MM2DScrollBarMolecule::TakeValueFromThumb(bool forced) {
  if (!mLiveTracking && !forced) return;
  const int32_t freeTrack = mVisual->GetFreeTrack();
  if (mMaximum == 0 || freeTrack == 0) {
    SetValueIfChanged(0);
    return;
  }
  SetValueIfChanged(
      static_cast<int32_t>(int64_t{mMaximum} * mVisual->GetThumbOffset() / freeTrack));
}

void MM2DScrollBarMolecule::Step(MMScrollBarPart part) {
  int64_t value = mValue;
  switch (part) {
    case kMMScrollBarFirstArrow:
      value -= mLineStep;
      break;
    case kMMScrollBarTrackBefore:
      value -= mPageSize - 1;
      break;
    case kMMScrollBarTrackAfter:
      value += mPageSize - 1;
      break;
    case kMMScrollBarSecondArrow:
      value += mLineStep;
      break;
    default:
      return;
  }
  SetValueIfChanged(
      static_cast<int32_t>(std::clamp(value, int64_t{0}, int64_t{std::max(0, mMaximum)})));
}

void MM2DScrollBarMolecule::ApplyVisibility(MMVisibility visibility) {
  if (visibility == kMMHidden) mInterpreter->ReleaseMouseTarget();
  MMMolecule::ApplyVisibility(visibility);
  mVisual->SetVisibility(visibility);
}
