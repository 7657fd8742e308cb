#pragma once
// Panels, palettes, option rows and dialogs: one object with a frame model
// of its own that owns child buttons built from a layout table (each row
// tagged 9 names a button definition) and passes hit tests to them. The
// controller adds the hover and capture routing the scene does for its
// top-level objects; the non-scrolling controller makes its children a
// radio set.

#include "app/objects/VPLUpAlphaHiliteObject.h"

#include <cstdint>
#include <memory>
#include <vector>

class VPLObjEventGrp : public VPLUpAlphaHiliteObject {
 public:
  // The tag of a child row in a layout.
  static constexpr int16_t kChildTag = 9;
  // The glow of the groups' and the palette's hovered children.
  static const MM3DColor kHoverGlow;
  static const MM3DColor kNormalGlow;

  // The children are built by Build, not here.
  VPLObjEventGrp(MMScene* scene, const UURefCount<MM3DModel>& model,
                 MMResourceId layout = kMMNoResource,
                 const MMTaskCallback& callback = MMTaskCallback());
  ~VPLObjEventGrp() override;

  // Null, or with deep the child that takes the event (else the group).
  virtual VPLObjEvent* FindChild(const VPLPickEvent& event, bool deep);
  virtual void AddChild(std::unique_ptr<VPLObjEvent> child);
  // Deletes the child when it is one of this group's.
  virtual void RemoveChild(VPLObjEvent* child);
  // Null past the children.
  virtual VPLObjEvent* GetChild(int16_t index) const;
  virtual void Build() { Build(MMTaskCallback()); }
  // One child per row tagged 9 of the layout, each with the callback.
  virtual void Build(const MMTaskCallback& callback);
  // A toggle when the definition has another look, else a button; the
  // group takes the definition's placement. No child without a model.
  virtual void MakeChild(const MMTaskCallback& callback, MMResourceId definition);

  VPLObjEvent* FindTarget(const VPLPickEvent& event) override;
  // The children's transparency at rest, and the group's own.
  void SetBaseAlphaAll(float transparency);
  void SetHoverChildren(bool hover) { mHoverChildren = hover; }
  int16_t GetChildCount() const { return static_cast<int16_t>(mChildren.size()); }
  MMResourceId GetLayout() const { return mLayout; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;
  // The number of rows tagged 9, and the definition the i-th names.
  int32_t CountChildRows() const;
  MMResourceId ChildDefinition(int32_t i) const;

 private:
  bool mHoverChildren = false;
  std::vector<std::unique_ptr<VPLObjEvent>> mChildren;
  MMResourceId mLayout;
};

// Routes hover and capture to its children and presents itself to its own
// host as the target of all of them.
class VPLObjEventGrpCtrl : public VPLObjEventGrp {
 public:
  using VPLObjEventGrp::VPLObjEventGrp;

  // Its own hit test, or any child's.
  bool HitTest(const VPLSegment& ray) const override;
  bool PreFilter(const VPLPickEvent& event) override;
  void OnHoverOff() override;
  VPLObjEvent* FindTarget(const VPLPickEvent& event) override;
  // The child goes from the routing too.
  void RemoveChild(VPLObjEvent* child) override;

  VPLObjEvent* GetCurrentChild() const { return mCurrentChild; }
  bool IsCaptured() const { return mCaptured; }

 protected:
  // Forgets the current child (after its children were replaced).
  void ForgetCurrentChild();

 private:
  VPLObjEvent* mCurrentChild = nullptr;
  bool mCaptured = false;
};

// Its children are a radio set: clicking child i selects index i one task
// run later.
class VPLObjEventGrpCtrlNonScroll : public VPLObjEventGrpCtrl {
 public:
  using VPLObjEventGrpCtrl::VPLObjEventGrpCtrl;

  void Build() override;
  // Shows the chosen child's first frame; an index past the children (a
  // stored one from a changed layout) is ignored.
  virtual void Select(int16_t index);
  int16_t GetSelected() const { return mSelected; }

 protected:
  int16_t mSelected = 0;
};
