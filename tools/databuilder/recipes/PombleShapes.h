#pragma once
// Pomble's body, cut into the six parts the child switches on: each part
// is one or two meshes of smooth shapes in the standing pose (about 8
// tall on y 0), the joint it hangs from and the poses its blend targets
// walk through. The shapes are authored facing +z and then mirrored to
// face -z, towards the creation area's camera, its left arm at +x on the
// camera's right.

#include "tools/databuilder/mesh/ModelBuilder.h"

#include <cstdint>
#include <vector>

namespace databuilder {

// The joints, in skeleton order: hips, spine, head, arms, feet.
enum class PombleJoint : int32_t {
  kHips,
  kSpine,
  kHead,
  kLeftArm,
  kRightArm,
  kLeftFoot,
  kRightFoot
};
constexpr int32_t kPombleJointCount = 7;

struct PombleColors {
  MaterialSpec body;
  MaterialSpec eyes;
  MaterialSpec ink;
  MaterialSpec hands;
  MaterialSpec antennaBalls;
  MaterialSpec soles;
};

// One mesh of a part, its blend code and targets: target k holds the pose
// at k / (targets - 1); a pose moves a vertex of the given mesh part.
struct PombleMesh {
  std::vector<MeshPart> parts;
  int32_t code = 0;
  int32_t targets = 1;
  Vertex (*pose)(const Vertex& vertex, int32_t meshPart, float amount) = nullptr;

  // The posed vertex, facing as the mesh faces.
  Vertex Pose(const Vertex& vertex, int32_t meshPart, float amount) const;
};

struct PombleBodyPart {
  const char* name;
  PombleJoint joint;
  std::vector<PombleMesh> meshes;
};

// Where each joint stands in the standing pose, and its parent (-1 for
// the hips).
Vec3 PombleJointPosition(PombleJoint joint);
int32_t PombleJointParent(PombleJoint joint);

// The six parts in tree order: head (the eyes first), torso, arms, feet.
std::vector<PombleBodyPart> MakePombleParts(const PombleColors& colors);

}  // namespace databuilder
