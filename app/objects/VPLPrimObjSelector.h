#pragma once
// The primitive shape picker: a one-cell model grid whose shape spins about
// its y axis at 15 degrees a second and is chosen by a double-click. Its
// scene ticks it while it lives.

#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"

class VPLSceneBase;

class VPLPrimObjSelector : public VPLObjEventGrpCtrlScrollScriptedModels {
 public:
  static constexpr float kTurnRate = 0.2617994f;

  VPLPrimObjSelector(VPLSceneBase* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
                     const MMTaskCallback& callback, MMResourceId modelList);

  // A double-click button, placed by its definition's position; the grid
  // keeps its own placement.
  void MakeChild(const MMTaskCallback& callback, MMResourceId definition) override;
  void Tick(int32_t now) override;

 private:
  int32_t mLastTick;
};
