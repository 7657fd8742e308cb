#pragma once
// The rotate tool: sideways travel on a vertical plane through the pressed
// object turns it about the vertical axis, one full turn per 30 units; with
// Shift, vertical travel also tips it about the world's x and z axes.

#include "app/creation/VPLTool.h"
#include "app/creation/VPLToolDragPlane.h"
#include "mm3d/MM3DMatrix.h"

class VPLToolRotate : public VPLToolObjectBased {
 public:
  using VPLToolObjectBased::VPLToolObjectBased;

  VPLToolEnums GetToolType() const override { return kVPLToolRotate; }
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 private:
  // The three angles of a travel on the plane.
  MM3DVector Angles(const MM3DVector& travel, bool alternate) const;

  MM3DVector mHit{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mPreviousHit{0.0f, 0.0f, 0.0f, 1.0f};
  VPLToolDragPlane mPlane;
  // Turns the plane's horizontal direction onto -x.
  MM3DMatrix mYaw;
};
