#pragma once
// The invisible vertical plane the drag tools move the pointer on: it
// holds the vertical direction and the horizontal direction at right
// angles to the camera's position, so it faces a camera that looks at the
// world's vertical axis. The move and rotate tools lay it through the
// object, the scale and primitive tools through the world's axis. Also the
// yaw angles the tools derive from horizontal directions, safe for a camera
// standing right above the axis.

#include "app/objects/VPLPicking.h"
#include "mm3d/MM3DVector.h"

class VPLToolDragPlane {
 public:
  // The quarter turn of the planes: 1.5708, a hair more than pi / 2.
  static constexpr float kQuarterTurn = 1.5708f;

  // Three points at the origin: a plane that meets nothing until a tool
  // lays one.
  VPLToolDragPlane() = default;
  // Through the point and facing the camera.
  static VPLToolDragPlane Through(const MM3DVector& point, const MM3DVector& camera);
  static VPLToolDragPlane ThroughAxis(const MM3DVector& camera);

  // Where the segment meets the plane; false when it does not (also for a
  // camera above the axis, whose plane has no horizontal direction).
  bool Meet(const VPLSegment& segment, MM3DVector& out) const;

  const MM3DVector& A() const { return mA; }
  const MM3DVector& B() const { return mB; }
  const MM3DVector& C() const { return mC; }

 private:
  VPLToolDragPlane(const MM3DVector& a, const MM3DVector& b, const MM3DVector& c)
      : mA(a), mB(b), mC(c) {}

  MM3DVector mA{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mB{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mC{0.0f, 0.0f, 0.0f, 1.0f};
};

// The camera position turned a quarter turn about the vertical axis.
MM3DVector VPLSideOf(const MM3DVector& camera);

// The yaw whose cosine is one component of the unit horizontal direction of
// (x, z), negated when the sign test holds. The direction without length
// gives 0, and the cosine is clamped, so no NaN comes out.
struct VPLFlatDirection {
  // (x, 0, z) made unit length; zero stays zero.
  VPLFlatDirection(float x, float z);
  float mX = 0.0f;
  float mZ = 0.0f;
  bool mValid = false;
};
float VPLYaw(const VPLFlatDirection& direction, float cosine, bool negate);
