#pragma once
// A dialog is not a window: it is a group of 3D objects in the current
// scene (a backdrop model with buttons, toggles and labels on it) that
// takes every click and key while it is shown. It registers itself as a
// key handler of the interface scene that shows it and may own a text
// panel, an object whose texture is a text (or a credits page).

#include "app/objects/VPLObjEventGrp.h"

#include <memory>

class VPLSceneUIBase;

class VPL3DDialogBase : public VPLObjEventGrpCtrl {
 public:
  // The layout's row naming the text panel's model.
  static constexpr int16_t kTextPanelTag = 8;
  // The dialogs' key-handler priority.
  static constexpr int32_t kKeyPriority = 1;
  // The rectangle every text and picture is drawn into.
  static constexpr int32_t kTextureSide = 256;

  // With a text and a layout naming a text panel, the panel shows the text.
  // The children are built by Build, which the owner calls.
  VPL3DDialogBase(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model, MMResourceId layout,
                  const char* text);
  ~VPL3DDialogBase() override;

  // Every key is taken.
  bool HandleKey(const MMKeyEvent& event) override;
  // Wherever the mouse is: no click passes the dialog.
  bool HitTest(const VPLSegment& ray) const override;
  // Every mouse event is taken.
  bool HandleEvent(const VPLPickEvent& event) override;

  // A new panel of the model the layout's first tag-8 row names; false
  // without a layout, without such a row or without its model.
  bool BuildTextPanel();
  // False without a panel or when the text cannot be drawn.
  bool SetText(const char* text);
  // The credits page on the panel, in the panel's own aspect; false
  // without a panel.
  bool SetImage(int16_t page);
  // Hides every shown child; ShowAll shows every child. The panel stays.
  void HideAll();
  void ShowAll();

  VPLObj* GetTextPanel() const { return mTextPanel.get(); }
  VPLSceneUIBase* GetOwner() const { return mOwner; }

  // Draws the text, in the string list's font and size and the interface
  // text colour, into the object's 256 x 256 text texture. False when the
  // font cannot be made (a size that is not a positive number included).
  static bool RenderLabel(VPLObj& label, const char* text);

 private:
  // As tall as a text texture and as wide as the panel's shape asks.
  UURect PageRect() const;

  std::unique_ptr<VPLObj> mTextPanel;
  VPLSceneUIBase* mOwner;
};
