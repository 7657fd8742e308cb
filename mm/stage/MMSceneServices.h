#pragma once
// How scenes and views reach the object that hosts them (an act, or a
// scene-parent molecule) without knowing what it is.

#include "foundation/uu/UURect.h"

class MMAct;
class MMScene;
class MMView;

class MMSceneServices {
 public:
  virtual void AddScene(MMScene* scene) = 0;
  virtual void RemoveScene(MMScene* scene) = 0;
  virtual void TakeFocus() = 0;
  virtual void SetFocusScene(MMScene* scene) = 0;
  virtual MMScene* GetFocusScene() = 0;
  virtual MMAct* GetAct() = 0;

 protected:
  ~MMSceneServices() = default;
};

class MMViewServices {
 public:
  virtual MMAct* GetAct() = 0;
  virtual void AddView(MMView* view) = 0;
  virtual void RemoveView(MMView* view) = 0;
  virtual void SortViews() = 0;
  virtual void VisibilityChanged() = 0;
  virtual void Invalidate(const UURect& rect) = 0;

 protected:
  ~MMViewServices() = default;
};

// Forwards each service to the host's operation of the same name.
template <typename Host>
class MMClassSceneServices final : public MMSceneServices {
 public:
  explicit MMClassSceneServices(Host* host) : mHost(host) {}
  void AddScene(MMScene* scene) override { mHost->AddScene(scene); }
  void RemoveScene(MMScene* scene) override { mHost->RemoveScene(scene); }
  void TakeFocus() override { mHost->TakeFocus(); }
  void SetFocusScene(MMScene* scene) override { mHost->SetFocusScene(scene); }
  MMScene* GetFocusScene() override { return mHost->GetFocusScene(); }
  MMAct* GetAct() override { return mHost->GetAct(); }

 private:
  Host* mHost;
};

template <typename Host>
class MMClassViewServices final : public MMViewServices {
 public:
  explicit MMClassViewServices(Host* host) : mHost(host) {}
  MMAct* GetAct() override { return mHost->GetAct(); }
  void AddView(MMView* view) override { mHost->AddView(view); }
  void RemoveView(MMView* view) override { mHost->RemoveView(view); }
  void SortViews() override { mHost->SortViews(); }
  void VisibilityChanged() override { mHost->VisibilityChanged(); }
  void Invalidate(const UURect& rect) override { mHost->Invalidate(rect); }

 private:
  Host* mHost;
};
