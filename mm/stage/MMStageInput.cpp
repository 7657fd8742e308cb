// The stage's input entry points, activation and focus forwarding,
// registered events, input-strategy access and coordinate conversions.

#include "mm/stage/MMAct.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"

// ---- Input ------------------------------------------------------------------

void MMStage::HandleMouse(const MMMouseEvent& event) {
  mLastMouseEvent = event;
  mMouseInside = true;
  if (mAct != nullptr) mAct->HandleMouse(MMMouseEvent(event));
}

void MMStage::HandleMouseLeave(int32_t) {
  mMouseInside = false;
  if (mAct != nullptr) mAct->HandleMouseLeave();
}

// The callback is posted after the lock is left, so that it may register or
// unregister ids itself.
void MMStage::HandleRegisteredEvent(const MMRegisteredEvent& event) {
  mLock.Enter();
  const MMTaskCallback binding = mRegisteredEvents.Get(event.mEventId);
  mLock.Leave();
  if (binding.GetClient() != nullptr) binding.Post();
}

void MMStage::HandleKey(const MMKeyEvent& event) {
  if (mFocusAct != nullptr) mFocusAct->HandleKey(event);
}

void MMStage::HandlePostedMessage(const MMPostedMessage& message) {
  if (mAct != nullptr) mAct->HandlePostedMessage(message);
}

void MMStage::RegisterEvent(int32_t id, const MMTaskCallback& callback) {
  mLock.Enter();
  mRegisteredEvents.Insert(id, callback);
  mLock.Leave();
}

void MMStage::UnregisterEvent(int32_t id) {
  mLock.Enter();
  mRegisteredEvents.Erase(id);
  mLock.Leave();
}

bool MMStage::IsEventRegistered(int32_t id) {
  mLock.Enter();
  const bool registered = mRegisteredEvents.Contains(id);
  mLock.Leave();
  return registered;
}

// ---- Activation and focus -----------------------------------------------------

void MMStage::AppActivated() {
  if (mAct != nullptr) mAct->AppActivated();
  if (mDisplayStrategy != nullptr) mDisplayStrategy->AppActivated(this);
}

void MMStage::AppDeactivated() {
  if (mDisplayStrategy != nullptr) mDisplayStrategy->AppDeactivated(this);
  if (mAct != nullptr) mAct->AppDeactivated();
}

void MMStage::WindowActivated() {
  if (mAct != nullptr) mAct->WindowActivated();
}

void MMStage::WindowDeactivated() {
  if (mAct != nullptr) mAct->WindowDeactivated();
}

void MMStage::GainFocus() {
  mHasFocus = true;
  if (mFocusAct != nullptr) mFocusAct->GainFocus();
}

void MMStage::LoseFocus() {
  if (mFocusAct != nullptr) mFocusAct->LoseFocus();
  mHasFocus = false;
}

bool MMStage::TakeFocus() {
  if (mHasFocus) return true;
  if (GetControl() != nullptr) mWindow->SetFocusControl(GetControl());
  return mHasFocus;
}

void MMStage::SetFocusAct(MMAct* act) {
  if (act == mFocusAct) return;
  if (mFocusAct != nullptr && mFocusAct->HasFocus()) mFocusAct->LoseFocus();
  mFocusAct = act;
  if (mFocusAct != nullptr && mHasFocus) mFocusAct->GainFocus();
}

// ---- Input strategy ------------------------------------------------------------
// Each call holds its own reference, so that replacing the strategy during
// the call does not delete it under the caller.

void MMStage::SetInputStrategy(MMInputStrategy* strategy) { mInputStrategy.Reset(strategy); }

void MMStage::StrategyIdleTick() {
  const UURefCount<MMInputStrategy> strategy = mInputStrategy;
  if (strategy) strategy->IdleTick();
}

void MMStage::StrategyMouseLeave(int32_t clockTime) {
  const UURefCount<MMInputStrategy> strategy = mInputStrategy;
  if (strategy) strategy->MouseLeave(clockTime);
}

bool MMStage::StrategyHandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
  const UURefCount<MMInputStrategy> strategy = mInputStrategy;
  return strategy && strategy->HandleMessage(window, message, wParam, lParam, result);
}

void MMStage::StrategyRegisteredEvent(int32_t id, int32_t clockTime) {
  const UURefCount<MMInputStrategy> strategy = mInputStrategy;
  if (strategy) strategy->HandleRegisteredEvent(id, clockTime);
}

void MMStage::StrategyPostedMessage(WPARAM wParam, LPARAM lParam, int32_t clockTime) {
  const UURefCount<MMInputStrategy> strategy = mInputStrategy;
  if (strategy) strategy->HandlePostedMessage(wParam, lParam, clockTime);
}

// ---- Coordinates ------------------------------------------------------------------

UUPoint MMStage::ControlOrigin() const {
  MMStageControl* control = GetControl();
  return control != nullptr ? MMRectFromWin32(control->GetRect()).GetTopLeft() : mRect.GetTopLeft();
}

void MMStage::StageToWindow(UUPoint& point) const {
  const UUPoint origin = ControlOrigin();
  point = UUPoint{point.mX + origin.mX, point.mY + origin.mY};
}

void MMStage::StageToWindow(UURect& rect) const { rect.Offset(ControlOrigin()); }

void MMStage::StageToWindow(MMRegion& region) const { region.Offset(ControlOrigin()); }

void MMStage::WindowToStage(UUPoint& point) const {
  const UUPoint origin = ControlOrigin();
  point = UUPoint{point.mX - origin.mX, point.mY - origin.mY};
}

void MMStage::WindowToStage(UURect& rect) const {
  const UUPoint origin = ControlOrigin();
  rect.Offset(UUPoint{-origin.mX, -origin.mY});
}

void MMStage::WindowToStage(MMRegion& region) const {
  const UUPoint origin = ControlOrigin();
  region.Offset(UUPoint{-origin.mX, -origin.mY});
}
