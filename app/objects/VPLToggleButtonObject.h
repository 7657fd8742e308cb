#pragma once
// A button with two looks, off and on, each its own model and definition:
// every click flips it, and the on look stands 0.05 nearer the viewer. The
// transform nodes of both looks live in their own models' trees, placed
// once, so flipping only swaps the model shown.

#include "app/objects/VPLUpAlphaHiliteObject.h"

class VPLToggleButtonObject : public VPLUpAlphaHiliteObject {
 public:
  // How far the on look stands nearer the viewer.
  static constexpr float kOnLift = 0.05f;

  // The off look is the model given and the off definition; the on look is
  // the model of the on definition's tag 0. An on id of -1 never shows on.
  VPLToggleButtonObject(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId offId,
                        MMResourceId onId, const MMTaskCallback& callback, MMResourceId definition);

  void OnRelease(const VPLPickEvent& event) override;
  // Selects the look of the model first; with rebuild the model gets fresh
  // nodes of its own.
  void SetModel(const UURefCount<MM3DModel>& model, bool rebuild) override;
  void CreateTransformNodes() override;
  // The hidden look's nodes go too.
  void RemoveTransformNodes() override;
  virtual void SetState(bool on);
  virtual bool GetState() const { return mState; }
  // Puts the on look's nodes into its model and places them; the shown
  // look's nodes and definition are then the current ones.
  virtual void PrepareLooks();

 protected:
  TransformNodes NodesInModel(const UURefCount<MM3DModel>& model) const override;

 private:
  bool IsOnModel(const UURefCount<MM3DModel>& model) const {
    return mOnModel.Get() != nullptr && model.Get() == mOnModel.Get();
  }
  // Shows a look's model with its definition, keeping the transparency and
  // the position, the latter moved in z.
  void ShowLook(const UURefCount<MM3DModel>& model, float lift);

  bool mState = false;
  UURefCount<MM3DModel> mOnModel;
  UURefCount<MM3DModel> mOffModel;
  MMResourceId mOnId;
  MMResourceId mOffId;
  TransformNodes mOffNodes;
  TransformNodes mOnNodes;
};
