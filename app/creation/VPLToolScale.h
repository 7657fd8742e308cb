#pragma once
// The scale tool: the pressed object grows as the pointer rises above the
// press point on a vertical plane through the world's axis, up to four
// times, and shrinks as it falls; with Shift the height follows the
// vertical travel and the width and depth the travel along the world's x.

#include "app/creation/VPLTool.h"
#include "app/creation/VPLToolDragPlane.h"

class VPLToolScale : public VPLToolObjectBased {
 public:
  using VPLToolObjectBased::VPLToolObjectBased;

  // The factor of an offset: 1 + 0.3 v up to 4 above, 1 + 0.099 v below.
  static float Factor(float offset);

  VPLToolEnums GetToolType() const override { return kVPLToolScale; }
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

 private:
  // The character sizes silently.
  bool Sounds() const;

  MM3DVector mHit{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mStart{0.0f, 0.0f, 0.0f, 1.0f};
  VPLToolDragPlane mPlane;
};
