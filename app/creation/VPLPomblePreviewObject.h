#pragma once
// The character tool's preview: a second Pomble with a pose visual of its
// own, showing the chosen part alone. It is hit where its posed shape is;
// a double-click sets the parts it hides back to pose 0.

#include "app/objects/VPLObjButton.h"

class VPLObjButtonToolPomble;
class VPLPombleVisual;

class VPLPomblePreviewObject : public VPLObjButton {
 public:
  // Takes the poses of the character, when there is one.
  VPLPomblePreviewObject(MMScene* scene, const UURefCount<MM3DModel>& model,
                         const MMTaskCallback& callback, const VPLPombleVisual* character);

  bool HitTest(const VPLSegment& ray) const override;
  void OnDoubleClick() override;

  VPLPombleVisual& GetPoseVisual() const { return *mPoseVisual; }
  void SetTool(VPLObjButtonToolPomble* tool) { mTool = tool; }

 private:
  VPLPombleVisual* mPoseVisual;
  VPLObjButtonToolPomble* mTool = nullptr;
};
