#pragma once
// A molecule that embeds child scenes, each with its own clock, sound group
// and enclosure, in its own scene. It hosts those scenes and their views,
// shows every child view through a view visual in its own enclosure,
// forwards its scene's activation and pause events to the child scenes and
// passes the keyboard focus down to its focus child scene. Child views and
// child scenes are destroyed before the molecule.

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURect.h"
#include "mm/stage/MMMolecule.h"
#include "mm/stage/MMSceneServices.h"
#include "mm/stage/MMVisual.h"

class MMView;

class MMSceneParentMolecule : public MMMolecule {
 public:
  // Shows one child view in the molecule's enclosure, at the view's
  // rectangle (enclosure coordinates of the parent).
  class ViewVisual : public MMVisual {
   public:
    explicit ViewVisual(MMView* view);

    // Takes the visual out of its enclosure before deletion.
    void Detach();
    // Only while the view is shown and the region meets its rectangle.
    void Draw(const MMDrawContext& context) override;
    // Only while shown, the view shown and its rectangle holding the point.
    void HitTest(UUPoint point, MMMouseTarget& target) override;
    // Remembers the view's visibility.
    void SyncVisibility();

    MMView* GetView() const { return mView; }
    MMVisibility GetViewVisibility() const { return mViewVisibility; }

   protected:
    void AttachToEnclosure(MMEnclosure* enclosure) override;
    // Moves the view to the depth as well.
    void StoreDepth(int32_t depth) override;
    void StoreVisibility(MMVisibility visibility) override;

   private:
    bool IsViewShown() const;
    // The view's rectangle, when in an enclosure and the view is shown.
    void InvalidateView() const;

    MMView* mView;
    MMVisibility mViewVisibility;
  };

  explicit MMSceneParentMolecule(MMScene* scene);
  ~MMSceneParentMolecule() override;

  void GainFocus() override;
  void LoseFocus() override;
  // The focus child scene's answer; false without one.
  bool HandleKey(const MMKeyEvent& event) override;

  // The hosts to construct child scenes and child views with.
  MMSceneServices* GetSceneServices() { return &mSceneServices; }
  MMViewServices* GetViewServices() { return &mViewServices; }
  const UUList<MMScene*>& GetChildScenes() const { return mChildScenes; }
  const UUList<UUOwned<ViewVisual>>& GetViewVisuals() const { return mViewVisuals; }

  // Scene services.
  void AddScene(MMScene* scene) { mChildScenes.PushBack(scene); }
  // A scene that goes while it is the focus scene leaves none.
  void RemoveScene(MMScene* scene);
  // The old focus scene loses the focus, the new one gains it when the
  // molecule has it.
  void SetFocusScene(MMScene* scene);
  MMScene* GetFocusScene() const { return mFocusScene; }

  // View services.
  void AddView(MMView* view);
  // The view must be one of the molecule's.
  void RemoveView(MMView* view);
  // Each view visual takes its view's depth; the enclosure re-sorts.
  void SortViews();
  // Invalidates the views whose visibility changed since last looked at.
  void VisibilityChanged();
  // In the parent enclosure's coordinates; nothing while hidden.
  void Invalidate(const UURect& rect);

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  using Forwarder = void (MMSceneParentMolecule::*)();
  using NotificationCallback = UUClassCallback<MMSceneParentMolecule, Forwarder>;
  static constexpr int32_t kNotificationCount = 8;
  // Indexed by notification kind.
  static const Forwarder kForwarders[kNotificationCount];

  void ForwardAppActivated();
  void ForwardAppDeactivated();
  void ForwardWindowActivated();
  void ForwardWindowDeactivated();
  void ForwardStagePaused();
  void ForwardStageResumed();
  void ForwardPause();
  void ForwardResume();
  void ForwardToChildren(void (MMScene::*operation)());

  MMClassSceneServices<MMSceneParentMolecule> mSceneServices{this};
  UUList<MMScene*> mChildScenes;
  MMScene* mFocusScene = nullptr;
  MMClassViewServices<MMSceneParentMolecule> mViewServices{this};
  UUList<UUOwned<ViewVisual>> mViewVisuals;
  UUOwned<NotificationCallback> mNotifications[kNotificationCount];
};
