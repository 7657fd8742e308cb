#pragma once
// The settings dialogs' base: a dialog with an OK action (Apply) and a
// Cancel action (Close), reached by its buttons and by Enter and Escape.
// OK writes or acts and closes; Cancel closes without a change. Each
// action runs at most once, and none runs after the dialog is gone: its
// buttons' callbacks and its close are withdrawn with it.

#include "app/objects/VPL3DDialogBase.h"
#include "app/objects/VPLObjEventGrp.h"

#include <memory>

class VPLToggleButtonObject;

class VPL3DDialog : public VPL3DDialogBase {
 public:
  // The transparency of toggles and option groups at rest.
  static constexpr float kControlAlpha = 0.35f;

  using VPL3DDialogBase::VPL3DDialogBase;

  // Escape closes, Enter applies; every key is taken.
  bool HandleKey(const MMKeyEvent& event) override;
  // Writes or acts, then closes. Nothing in the base.
  virtual void Apply() {}
  // The owner removes the dialog on the next run of the scene's tasks.
  virtual void Close();

  // OK: Apply, unless the dialog is already closing.
  void Accept();
  bool IsClosing() const { return mClosing; }

 protected:
  // A button of the definition calling the action one task run later.
  void AddButton(MMResourceId definition, void (VPL3DDialog::*action)());
  void AddOkCancel(MMResourceId ok, MMResourceId cancel);
  // A toggle of the two looks showing the state, appended to the children.
  VPLToggleButtonObject* AddToggle(MMResourceId off, MMResourceId on, int32_t state);
  // An object of the definition's model showing a text of the string
  // list; the dialog owns it. Null without a model.
  std::unique_ptr<VPLObj> MakeLabel(MMResourceId definition, int16_t textEntry) const;
  // The option group of the layout, built, at the controls' transparency.
  template <typename Group>
  std::unique_ptr<Group> MakeOptionGroup(MMResourceId layout) const;

 private:
  bool mClosing = false;
};

// Only OK and Cancel; OK closes too.
class VPL3DImportDialog : public VPL3DDialog {
 public:
  static constexpr MMResourceId kOkButton = 342;
  static constexpr MMResourceId kCancelButton = 343;

  using VPL3DDialog::VPL3DDialog;

  void Build() override { AddOkCancel(kOkButton, kCancelButton); }
  void Apply() override { Close(); }
};

// The model of the definition's tag 0; empty without one.
UURefCount<MM3DModel> VPLDefinitionModel(MMResourceId definition);

template <typename Group>
std::unique_ptr<Group> VPL3DDialog::MakeOptionGroup(MMResourceId layout) const {
  const UURefCount<MM3DModel> model = VPLDefinitionModel(layout);
  if (!model) return nullptr;
  auto group = std::make_unique<Group>(GetOwner(), model, layout);
  group->Build();
  group->SetBaseAlphaAll(kControlAlpha);
  return group;
}
