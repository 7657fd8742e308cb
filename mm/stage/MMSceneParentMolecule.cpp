#include "mm/stage/MMSceneParentMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMView.h"

MMSceneParentMolecule::ViewVisual::ViewVisual(MMView* view)
    : MMVisual(view->GetDepth()), mView(view), mViewVisibility(view->GetVisibility()) {}

void MMSceneParentMolecule::ViewVisual::Detach() {
  if (GetEnclosure() != nullptr) GetEnclosure()->RemoveVisual(this);
}

bool MMSceneParentMolecule::ViewVisual::IsViewShown() const {
  return GetVisibility() == kMMShown && mView->IsVisible();
}

void MMSceneParentMolecule::ViewVisual::Draw(const MMDrawContext& context) {
  if (IsViewShown() && context.mRegion.IntersectsRect(mView->GetRect())) {
    mView->Draw(context.mRegion);
  }
}

void MMSceneParentMolecule::ViewVisual::HitTest(UUPoint point, MMMouseTarget& target) {
  const UURect rect = mView->GetRect();
  if (IsViewShown() && rect.mLeft <= point.mX && point.mX < rect.mRight && rect.mTop <= point.mY &&
      point.mY < rect.mBottom) {
    mView->HitTest(point, target);
  }
}

void MMSceneParentMolecule::ViewVisual::SyncVisibility() {
  mViewVisibility = mView->GetVisibility();
}

void MMSceneParentMolecule::ViewVisual::InvalidateView() const {
  if (GetEnclosure() != nullptr && mView->IsVisible()) GetEnclosure()->Invalidate(mView->GetRect());
}

void MMSceneParentMolecule::ViewVisual::AttachToEnclosure(MMEnclosure* enclosure) {
  InvalidateView();
  MMVisual::AttachToEnclosure(enclosure);
  InvalidateView();
}

void MMSceneParentMolecule::ViewVisual::StoreDepth(int32_t depth) {
  MMVisual::StoreDepth(depth);
  mView->SetDepth(depth);
  InvalidateView();
}

void MMSceneParentMolecule::ViewVisual::StoreVisibility(MMVisibility visibility) {
  MMVisual::StoreVisibility(visibility);
  InvalidateView();
}

const MMSceneParentMolecule::Forwarder MMSceneParentMolecule::kForwarders[kNotificationCount] = {
    &MMSceneParentMolecule::ForwardAppActivated,
    &MMSceneParentMolecule::ForwardAppDeactivated,
    &MMSceneParentMolecule::ForwardWindowActivated,
    &MMSceneParentMolecule::ForwardWindowDeactivated,
    &MMSceneParentMolecule::ForwardStagePaused,
    &MMSceneParentMolecule::ForwardStageResumed,
    &MMSceneParentMolecule::ForwardPause,
    &MMSceneParentMolecule::ForwardResume};

MMSceneParentMolecule::MMSceneParentMolecule(MMScene* scene) : MMMolecule(scene) {
  for (int32_t kind = 0; kind < kNotificationCount; ++kind) {
    mNotifications[kind].Reset(new (ALGlobalAllocator)
                                   NotificationCallback(this, kForwarders[kind]));
    scene->AddNotification(mNotifications[kind].Get(), kind);
  }
}

MMSceneParentMolecule::~MMSceneParentMolecule() {
  for (int32_t kind = 0; kind < kNotificationCount; ++kind) {
    GetScene()->RemoveNotification(mNotifications[kind].Get(), kind);
  }
}

void MMSceneParentMolecule::GainFocus() {
  MMMolecule::GainFocus();
  if (mFocusScene != nullptr) mFocusScene->GainFocus();
}

void MMSceneParentMolecule::LoseFocus() {
  if (mFocusScene != nullptr) mFocusScene->LoseFocus();
  MMMolecule::LoseFocus();
}

bool MMSceneParentMolecule::HandleKey(const MMKeyEvent& event) {
  return mFocusScene != nullptr && mFocusScene->HandleKey(event);
}

void MMSceneParentMolecule::RemoveScene(MMScene* scene) {
  mChildScenes.Remove(scene);
  if (scene == mFocusScene) mFocusScene = nullptr;
}

void MMSceneParentMolecule::SetFocusScene(MMScene* scene) {
  if (scene == mFocusScene) return;
  if (mFocusScene != nullptr && mFocusScene->HasFocus()) mFocusScene->LoseFocus();
  mFocusScene = scene;
  if (mFocusScene != nullptr && HasFocus()) mFocusScene->GainFocus();
}

// A view added while the molecule is hidden starts hidden too.
void MMSceneParentMolecule::AddView(MMView* view) {
  auto* visual = new (ALGlobalAllocator) ViewVisual(view);
  mViewVisuals.PushBack(UUOwned<ViewVisual>(visual));
  visual->SetVisibility(GetVisibility());
  GetEnclosure()->AddVisual(visual);
}

void MMSceneParentMolecule::RemoveView(MMView* view) {
  for (UUUntypedListNode* node = mViewVisuals.Begin(); node != mViewVisuals.End();
       node = node->mNext) {
    if (mViewVisuals.ValueOf(node)->GetView() == view) {
      mViewVisuals.Erase(node);
      return;
    }
  }
}

void MMSceneParentMolecule::SortViews() {
  for (UUOwned<ViewVisual>& visual : mViewVisuals) visual->SetDepth(visual->GetView()->GetDepth());
}

void MMSceneParentMolecule::VisibilityChanged() {
  for (UUOwned<ViewVisual>& visual : mViewVisuals) {
    const MMView* view = visual->GetView();
    if (view->GetVisibility() == visual->GetViewVisibility()) continue;
    if (visual->GetEnclosure() != nullptr) visual->GetEnclosure()->Invalidate(view->GetRect());
    visual->SyncVisibility();
  }
}

void MMSceneParentMolecule::Invalidate(const UURect& rect) {
  if (GetVisibility() == kMMShown) GetEnclosure()->Invalidate(rect);
}

void MMSceneParentMolecule::ApplyVisibility(MMVisibility visibility) {
  MMMolecule::ApplyVisibility(visibility);
  for (UUOwned<ViewVisual>& visual : mViewVisuals) visual->SetVisibility(visibility);
}

void MMSceneParentMolecule::ForwardToChildren(void (MMScene::*operation)()) {
  for (MMScene* scene : mChildScenes) (scene->*operation)();
}

void MMSceneParentMolecule::ForwardAppActivated() { ForwardToChildren(&MMScene::AppActivated); }
void MMSceneParentMolecule::ForwardAppDeactivated() { ForwardToChildren(&MMScene::AppDeactivated); }
void MMSceneParentMolecule::ForwardWindowActivated() {
  ForwardToChildren(&MMScene::WindowActivated);
}
void MMSceneParentMolecule::ForwardWindowDeactivated() {
  ForwardToChildren(&MMScene::WindowDeactivated);
}
void MMSceneParentMolecule::ForwardStagePaused() { ForwardToChildren(&MMScene::StagePaused); }
void MMSceneParentMolecule::ForwardStageResumed() { ForwardToChildren(&MMScene::StageResumed); }
void MMSceneParentMolecule::ForwardPause() { ForwardToChildren(&MMScene::Pause); }
void MMSceneParentMolecule::ForwardResume() { ForwardToChildren(&MMScene::Resume); }
