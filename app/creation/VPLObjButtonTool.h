#pragma once
// A button of the creation screen's tool palette. Exactly one of the
// palette's buttons is current: clicking another makes the screen release
// the old one (its options go, it turns see-through and shows its first
// frame) and engage the new one, which builds its options from the tables,
// chooses its tool in the creation area and turns opaque. A current button
// ignores the mouse. The options are the button's children.

#include "app/objects/VPLObjEventGrp.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "foundation/uu/UUCallback.h"

#include <cstdint>

class VPLCreationUIHooks;
class VPLDrawSizeButton;
class VPLSceneCreationArea;

// What every palette button stands on: the interface scene that shows it,
// the screen's hooks (which button is current) and the creation area whose
// tools and choices the options set. None is owned.
struct VPLToolPalette {
  VPLSceneUIBase* mScene = nullptr;
  VPLCreationUIHooks* mHooks = nullptr;
  VPLSceneCreationArea* mArea = nullptr;
};

class VPLObjButtonTool : public VPLObjEventGrp {
 public:
  // The transparency of a button that is not current.
  static constexpr float kReleasedAlpha = 0.35f;
  // The size selector's layout, shared by the draw and the magnet options.
  static constexpr MMResourceId kSizeLayout = 140;

  // With a definition the button shows its rest frame; -1 makes it silent
  // and still.
  VPLObjButtonTool(const VPLToolPalette& palette, const UURefCount<MM3DModel>& model,
                   const MMTaskCallback& callback, MMResourceId definition);

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnPress(const VPLPickEvent& event) override;
  // The click: this button becomes the current one.
  void OnRelease(const VPLPickEvent& event) override;
  void OnReleaseOutside(const VPLPickEvent& event) override;

  // Called by the screen only, alternately: Engage when the button becomes
  // current, Release when another one does.
  virtual void Engage();
  virtual void Release();
  virtual void OnSceneActivated() {}
  virtual void OnCreationReset() {}
  virtual void OnUndo() {}
  // After the colour sucker copied a material into the area's materializer.
  virtual void RefreshFromMaterializer() {}
  // The size selector of the tool (7 draw sizes, 12 or 17 magnet sizes),
  // showing the area's current size, appended to the options.
  virtual VPLDrawSizeButton* AddSizeButtons(MMResourceId layout, int32_t tool);

  bool IsCurrent() const { return mCurrent; }
  VPLSceneCreationArea& Area() const { return *mPalette.mArea; }
  VPLSceneUIBase* UIScene() const { return mPalette.mScene; }

  // The model named by tag 0 of a table of the kind.
  static UURefCount<MM3DModel> TableModel(MMResourceId table, int16_t kind);
  static UURefCount<MM3DModel> DefinitionModel(MMResourceId definition) {
    return TableModel(definition, kVPLButtonDefinition);
  }

 protected:
  // The end of an engage once the options stand: the area takes the tool
  // and this button becomes current.
  void EngageTool(int32_t tool);
  // A member of the concrete button, run as a task after the input.
  template <typename T>
  MMTaskCallback Callback(void (T::*member)()) {
    return MMTaskCallback(GetScene()->GetTaskClient(),
                          new UUClassCallback<T, void (T::*)()>(static_cast<T*>(this), member));
  }
  // Every option object goes.
  void RemoveAllChildren();
  // The look of a button that is not current: see-through, first frame.
  void ShowReleased();
  // Appends the option and answers it as its own type.
  template <typename T>
  T* Append(std::unique_ptr<T> child) {
    T* shown = child.get();
    AddChild(std::move(child));
    return shown;
  }

 private:
  // The first tag's range, else the second's, else the normal transparency.
  void ShowAtRest(int16_t firstTag, int16_t secondTag);
  bool IsSilent() const { return GetDefinition() == kMMNoResource; }

  VPLToolPalette mPalette;
  bool mCurrent = false;
};
