#pragma once

#include <cstdint>

#include "foundation/uu/UUList.h"
#include "foundation/uu/UURect.h"
#include "mm/stage/MMEvents.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMSceneServices.h"

class AFPalette;
class MM2DTransitionEffect;
class MMDisplayModeStrategy;
class MMScene;
class MMStage;
class MMView;

// One screen of the presentation. It holds the lists of its scenes and
// views (the derived act creates and destroys them), routes the mouse to the
// view under the pointer and the keys to its focus scene, broadcasts
// activation and pauses to its scenes, and draws and presents frames.
class MMAct {
 public:
  // Makes the strategy current on the stage, so the display exists when the
  // derived act builds its scenes and views.
  MMAct(MMStage* stage, MMDisplayModeStrategy* strategy);
  virtual ~MMAct();
  MMAct(const MMAct&) = delete;
  MMAct& operator=(const MMAct&) = delete;

  // Before deletion: gives up the stage's keyboard focus.
  virtual void Detach();
  virtual void SetDefaultTransition(MM2DTransitionEffect* effect) = 0;
  virtual MM2DTransitionEffect* GetDefaultTransition() = 0;
  virtual void SetNextTransition(MM2DTransitionEffect* effect) = 0;
  virtual MM2DTransitionEffect* GetNextTransition() = 0;
  // Null clears it.
  virtual void SetPalette(const AFPalette* palette) = 0;
  virtual const AFPalette* GetPalette() = 0;
  // A paint outside a frame: the last picture again.
  virtual void Repaint() = 0;
  virtual void Present() = 0;
  virtual void Draw() = 0;
  virtual void AppActivated();
  virtual void AppDeactivated();
  virtual void WindowActivated();
  virtual void WindowDeactivated();
  virtual void GainFocus();
  virtual void LoseFocus();
  virtual void Pause();
  virtual void Resume();
  virtual void HandleMouse(const MMMouseEvent& event);
  virtual void HandleMouseLeave();
  virtual void HandleKey(const MMKeyEvent& event);
  virtual void HandlePostedMessage(const MMPostedMessage&) {}
  virtual void Invalidate(const UURect& rect) = 0;

  MMStage* GetStage() const { return mStage; }
  MMAct* GetAct() { return this; }
  MMSceneServices* GetSceneServices() { return &mSceneServices; }
  MMViewServices* GetViewServices() { return &mViewServices; }
  bool HasFocus() const { return mHasFocus; }
  bool IsMouseCaptured() const { return mMouseCaptured; }
  const MMMouseTarget& GetMouseTarget() const { return mMouseTarget; }
  const UUList<MMScene*>& GetScenes() const { return mScenes; }
  const UUList<MMView*>& GetViews() const { return mViews; }

  void TakeFocus();
  void SetFocusScene(MMScene* scene);
  MMScene* GetFocusScene() const { return mFocusScene; }
  void SetMouseTarget(const MMMouseTarget& target);

  void AddScene(MMScene* scene) { mScenes.PushBack(scene); }
  void RemoveScene(MMScene* scene) { mScenes.Remove(scene); }
  void AddView(MMView* view);
  void RemoveView(MMView* view) { mViews.Remove(view); }
  void SortViews();
  void VisibilityChanged() {}

 private:
  void Broadcast(void (MMScene::*operation)());
  MMMouseTarget HitTest(const MMMouseEvent& event);
  void ShowDefaultCursor();

  MMStage* mStage;
  bool mHasFocus = false;
  MMScene* mFocusScene = nullptr;
  UUList<MMScene*> mScenes;
  UUList<MMView*> mViews;
  bool mMouseCaptured = false;
  MMMouseTarget mMouseTarget;
  MMClassSceneServices<MMAct> mSceneServices{this};
  MMClassViewServices<MMAct> mViewServices{this};
};
