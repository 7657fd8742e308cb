#pragma once
// The primitive shape tool: the press makes the chosen library model at
// the pointer, dragging sizes it and the release places it in the
// creation. A Shift release keeps the width and height and lets the depth
// follow the pointer's height, without a button, until the next press
// places it. A click without movement discards the object. An object not
// yet placed when the tool goes is deleted with it.

#include "app/creation/VPLTool.h"
#include "app/creation/VPLToolDragPlane.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DModel.h"

#include <memory>

class VPLObjCreationUser;

class VPLToolShapePrimitive : public VPLTool {
 public:
  enum Phase : int32_t { kIdle = 0, kSizing = 1, kShapingDepth = 2 };

  VPLToolShapePrimitive(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                        MMResourceId soundScript);
  ~VPLToolShapePrimitive() override;

  VPLToolEnums GetToolType() const override { return kVPLToolShapePrimitive; }
  bool OnMouse(const VPLPickEvent& event) override;
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;
  virtual void FinishSizing(const VPLSegment& segment, bool alternate);
  virtual void ShapeDepth(const VPLSegment& segment, bool alternate);
  virtual void Place(const VPLSegment& segment, bool alternate);

  Phase GetPhase() const { return mPhase; }
  // The object being made; null when none.
  VPLObjCreationUser* GetNewObject() const { return mNewObject.get(); }

 private:
  // The model of the area's selected library row; null when the row is
  // outside the list or the model does not load.
  UURefCount<MM3DModel> SelectedModel() const;
  void OnPress(const VPLPickEvent& event, const VPLSegment& segment, bool alternate);
  void OnRelease(const VPLPickEvent& event, const VPLSegment& segment, bool alternate);
  // A click: the object goes, with the release sound.
  void Discard(bool alternate);
  void DeleteNewObject();

  Phase mPhase = kIdle;
  int32_t mPressX = 0;
  int32_t mPressY = 0;
  VPLToolDragPlane mPlane;
  MM3DVector mStart{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mRelease{0.0f, 0.0f, 0.0f, 1.0f};
  float mWidth = 0.0f;
  float mHeight = 0.0f;
  float mDepth = 0.0f;
  float mFacing = 0.0f;
  std::unique_ptr<VPLObjCreationUser> mNewObject;
};
