#pragma once
// The move tool: the pressed object follows the pointer on a vertical
// plane through it that faces the camera; with Shift it keeps its height
// and pointer travel up the screen takes it away from the camera.

#include "app/creation/VPLTool.h"
#include "app/creation/VPLToolDragPlane.h"
#include "mm3d/MM3DMatrix.h"

class VPLToolMove : public VPLToolObjectBased {
 public:
  using VPLToolObjectBased::VPLToolObjectBased;

  VPLToolEnums GetToolType() const override { return kVPLToolMove; }
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 private:
  // Where the step takes the object; false when the segment misses the
  // plane or the Shift travel is nothing, and the object stays.
  bool Step(const VPLSegment& segment, bool alternate, MM3DVector& to);

  MM3DVector mHit{0.0f, 0.0f, 0.0f, 1.0f};
  VPLToolDragPlane mPlane;
  // The plane's horizontal direction onto the x axis, and back onto the
  // horizontal direction from the camera towards the world's axis.
  MM3DMatrix mViewYaw;
  MM3DMatrix mDragYaw;
};
