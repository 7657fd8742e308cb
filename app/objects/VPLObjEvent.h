#pragma once
// A clickable object: it takes the mouse as pick events and tells a press,
// a click (the release over it), a drag, a double-click and a release
// outside apart by one state machine, calling one hook for each. Its hit
// shape is a flat rectangle around its meshes, refined by their triangles.
// Its host (the interface scene or a group) decides hover and capture: it
// calls the hover hooks and hands every event to the object holding the
// mouse.

#include "app/objects/VPLObj.h"
#include "app/objects/VPLPickEvent.h"
#include "mm/tasks/MMTaskCallback.h"

class VPLObjEvent : public VPLObj {
 public:
  VPLObjEvent(MMScene* scene, const UURefCount<MM3DModel>& model,
              const MMTaskCallback& callback = MMTaskCallback());

  // Flat in x-y at the meshes' nearest z; rebuilt whenever the object moves.
  void BuildBounds() override { BuildHitShape(); }
  void BuildHitShape();

  // True when the object wants the following events too.
  virtual bool HandleEvent(const VPLPickEvent& event);
  // Each may consume the event before or after the state machine.
  virtual bool PreFilter(const VPLPickEvent& /*event*/) { return false; }
  virtual bool PostFilter(const VPLPickEvent& /*event*/) { return false; }
  virtual void OnHoverOn() {}
  virtual void OnHoverOff() {}
  virtual void OnPress(const VPLPickEvent& /*event*/) {}
  // The release over the object: a click.
  virtual void OnRelease(const VPLPickEvent& /*event*/) {}
  virtual void OnDoubleClick() {}
  virtual void OnDrag(const VPLPickEvent& /*event*/) {}
  virtual void OnReleaseOutside(const VPLPickEvent& /*event*/) {}
  // This object when its hit test takes the event's ray, else null.
  virtual VPLObjEvent* FindTarget(const VPLPickEvent& event);

  // The transparency while not hovered, applied at once.
  void SetBaseAlpha(float transparency);
  void SetCallback(const MMTaskCallback& callback) { mCallback = callback; }
  const MMTaskCallback& GetCallback() const { return mCallback; }
  bool IsPressed() const { return mPressed; }

 protected:
  // Queues the callback for the task manager's next run; withdrawn if the
  // object goes first. An empty callback posts nothing.
  void FireCallback() const { PostOwned(mCallback); }

  bool mHovered = false;
  float mNormalAlpha = 0.0f;
  float mHoverAlpha = 0.0f;
  // Glow colours; all zeros count as not set.
  MM3DColor mNormalColor{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DColor mHoverColor{0.0f, 0.0f, 0.0f, 0.0f};

 private:
  void HandleOver(const VPLPickEvent& event);
  void HandleOutside(const VPLPickEvent& event);

  bool mPressed = false;
  MMTaskCallback mCallback;
};
