#include "mm/stage/MMAct.h"

#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"

namespace {

constexpr int32_t kArrowCursorId = 0;

bool ViewBefore(MMView* const* a, MMView* const* b) { return (*a)->GetDepth() < (*b)->GetDepth(); }

bool RectContains(const UURect& rect, int32_t x, int32_t y) {
  return x >= rect.mLeft && x < rect.mRight && y >= rect.mTop && y < rect.mBottom;
}

}  // namespace

MMAct::MMAct(MMStage* stage, MMDisplayModeStrategy* strategy) : mStage(stage) {
  mStage->SetDisplayModeStrategy(strategy);
}

MMAct::~MMAct() {
  mScenes.Clear();
  mViews.Clear();
}

void MMAct::Detach() {
  if (mStage->GetFocusAct() == this) mStage->SetFocusAct(nullptr);
}

void MMAct::Broadcast(void (MMScene::*operation)()) {
  for (MMScene* scene : mScenes) (scene->*operation)();
}

void MMAct::AppActivated() { Broadcast(&MMScene::AppActivated); }
void MMAct::AppDeactivated() { Broadcast(&MMScene::AppDeactivated); }
void MMAct::WindowActivated() { Broadcast(&MMScene::WindowActivated); }
void MMAct::WindowDeactivated() { Broadcast(&MMScene::WindowDeactivated); }
void MMAct::Pause() { Broadcast(&MMScene::StagePaused); }
void MMAct::Resume() { Broadcast(&MMScene::StageResumed); }

void MMAct::GainFocus() {
  mHasFocus = true;
  if (mFocusScene != nullptr) mFocusScene->GainFocus();
}

void MMAct::LoseFocus() {
  if (mFocusScene != nullptr) mFocusScene->LoseFocus();
  mHasFocus = false;
}

void MMAct::TakeFocus() {
  if (mHasFocus) return;
  mStage->TakeFocus();
  mStage->SetFocusAct(this);
}

void MMAct::SetFocusScene(MMScene* scene) {
  if (scene == mFocusScene) return;
  if (mFocusScene != nullptr && mFocusScene->HasFocus()) mFocusScene->LoseFocus();
  mFocusScene = scene;
  if (mFocusScene != nullptr && mHasFocus) mFocusScene->GainFocus();
}

void MMAct::HandleKey(const MMKeyEvent& event) {
  if (mFocusScene != nullptr) mFocusScene->HandleKey(event);
}

void MMAct::AddView(MMView* view) {
  mViews.PushBack(view);
  SortViews();
}

void MMAct::SortViews() { mViews.Sort(ViewBefore); }

void MMAct::ShowDefaultCursor() {
  mStage->GetCursorController()->ShowCursor(mStage->GetCursor(kArrowCursorId));
}

void MMAct::SetMouseTarget(const MMMouseTarget& target) {
  if (target.mTarget == mMouseTarget.mTarget) return;
  if (mMouseTarget.mTarget != nullptr) mMouseTarget.mTarget->MouseLeave();
  mMouseCaptured = false;
  mMouseTarget = target;
  if (mMouseTarget.mTarget != nullptr) {
    mMouseTarget.mTarget->MouseEnter();
  } else {
    ShowDefaultCursor();
  }
}

// The views from the top layer down, until one of them decides.
MMMouseTarget MMAct::HitTest(const MMMouseEvent& event) {
  MMMouseTarget record;
  for (UUUntypedListNode* node = mViews.End()->mPrevious; node != mViews.End();
       node = node->mPrevious) {
    MMView* view = UUList<MMView*>::ValueOf(node);
    if (!view->IsVisible() || !RectContains(view->GetRect(), event.mX, event.mY)) continue;
    view->HitTest(UUPoint{event.mX, event.mY}, record);
    if (record.mStatus != kMMTargetSearching) break;
  }
  return record.mStatus == kMMTargetFound ? record : MMMouseTarget();
}

void MMAct::HandleMouse(const MMMouseEvent& event) {
  if (!mMouseCaptured) SetMouseTarget(HitTest(event));
  if (mMouseTarget.mStatus != kMMTargetFound) {
    ShowDefaultCursor();
    return;
  }
  MMMouseEvent converted = event;
  UUPoint point{event.mX, event.mY};
  mMouseTarget.StageToTarget(point);
  converted.mX = point.mX;
  converted.mY = point.mY;
  MMMouseInterpreter* interpreter = mMouseTarget.mTarget;
  mMouseCaptured = interpreter->HandleMouse(converted);
  mStage->GetCursorController()->ShowCursor(interpreter->GetCursor());
}

void MMAct::HandleMouseLeave() {
  if (mMouseTarget.mTarget == nullptr) return;
  mMouseTarget.mTarget->MouseLeave();
  mMouseCaptured = false;
  mMouseTarget.Reset();
  ShowDefaultCursor();
}
