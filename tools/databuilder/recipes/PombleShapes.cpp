#include "tools/databuilder/recipes/PombleShapes.h"

#include "tools/databuilder/mesh/Lathe.h"
#include "tools/databuilder/mesh/Sweep.h"

#include <cmath>
#include <utility>

namespace databuilder {

namespace {

// Round detail for the big shapes, less for the small ones.
constexpr int32_t kSegments = 32;
constexpr int32_t kRings = 16;
constexpr int32_t kSmallSegments = 16;
constexpr int32_t kSmallRings = 8;

constexpr Vec3 kHeadCentre{0.0f, 5.9f, 0.0f};
constexpr float kHeadRadius = 1.7f;
constexpr Vec3 kTorsoCentre{0.0f, 2.75f, 0.0f};
constexpr float kShoulderX = 1.45f;
constexpr float kArmRestAngle = 0.5f;
constexpr float kArmLength = 1.6f;
constexpr float kFootX = 0.75f;
constexpr float kEyeY = 6.15f;
constexpr float kMouthY = 5.3f;

// Authored facing +z, built facing -z.
constexpr Vec3 kMirror{1.0f, 1.0f, -1.0f};

Vertex Mirrored(Vertex v) {
  v.position = v.position * kMirror;
  v.normal = v.normal * kMirror;
  return v;
}

// The mirror image keeps its fronts outside: each triangle winds back.
void MirrorMesh(Mesh& mesh) {
  for (Vertex& v : mesh.mVertices) v = Mirrored(v);
  for (size_t i = 0; i + 2 < mesh.mIndices.size(); i += 3) {
    std::swap(mesh.mIndices[i + 1], mesh.mIndices[i + 2]);
  }
}

// Turns a point (or a direction, with no pivot) about an axis through the
// pivot: axis 0 is x, 2 is z.
Vec3 Turn(Vec3 p, Vec3 pivot, int32_t axis, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  const Vec3 d = p - pivot;
  if (axis == 0) return pivot + Vec3{d.x, d.y * c - d.z * s, d.y * s + d.z * c};
  return pivot + Vec3{d.x * c - d.y * s, d.x * s + d.y * c, d.z};
}

Vertex TurnVertex(Vertex v, Vec3 pivot, int32_t axis, float angle) {
  v.position = Turn(v.position, pivot, axis, angle);
  v.normal = Turn(v.normal, Vec3{}, axis, angle);
  return v;
}

Mesh Ball(float radius, Vec3 scale, Vec3 centre) {
  const bool small = radius < 0.5f;
  Mesh mesh = Sphere(radius, small ? kSmallSegments : kSegments, small ? kSmallRings : kRings);
  mesh.Transform(scale, centre);
  return mesh;
}

// A point of the head's surface in front, lifted by the gap.
Vec3 OnFace(float x, float y, float gap) {
  const float dy = y - kHeadCentre.y;
  const float r = kHeadRadius + gap;
  return {x, y, std::sqrt(std::max(r * r - x * x - dy * dy, 0.0f))};
}

Vec3 EyeCentre(float side) { return OnFace(0.6f * side, kEyeY, -0.12f); }

MeshPart Part(Mesh mesh, const MaterialSpec& material) {
  return MeshPart{std::move(mesh), material};
}

// Blinking squashes the eyes (mesh parts 1 and up) onto their middle line.
Vertex Blink(const Vertex& vertex, int32_t meshPart, float amount) {
  Vertex v = vertex;
  if (meshPart > 0) v.position.y = kEyeY + (v.position.y - kEyeY) * (1.0f - 0.92f * amount);
  return v;
}

// The head tilts to the side while the smile grows wide.
Vertex HeadPose(const Vertex& vertex, int32_t meshPart, float amount) {
  Vertex v = vertex;
  if (meshPart == 1) {
    v.position.x *= 1.0f + 0.3f * amount;
    v.position.y = kMouthY + (v.position.y - kMouthY) * (1.0f + 0.8f * amount);
  }
  return TurnVertex(v, PombleJointPosition(PombleJoint::kHead), 2, 0.25f * amount);
}

Vertex TorsoPose(const Vertex& vertex, int32_t, float amount) {
  return TurnVertex(vertex, {0.0f, 1.0f, 0.0f}, 0, 0.3f * amount);
}

Vertex LeftArmPose(const Vertex& vertex, int32_t, float amount) {
  return TurnVertex(vertex, PombleJointPosition(PombleJoint::kLeftArm), 2, 2.0f * amount);
}

Vertex RightArmPose(const Vertex& vertex, int32_t, float amount) {
  return TurnVertex(vertex, PombleJointPosition(PombleJoint::kRightArm), 2, -2.0f * amount);
}

// A kick lifts the toes and swings the foot forward.
Vertex KickPose(Vertex vertex, PombleJoint joint, float amount) {
  vertex = TurnVertex(vertex, PombleJointPosition(joint), 0, -0.6f * amount);
  vertex.position = vertex.position + Vec3{0.0f, 0.25f * amount, 0.45f * amount};
  return vertex;
}

Vertex LeftFootPose(const Vertex& vertex, int32_t, float amount) {
  return KickPose(vertex, PombleJoint::kLeftFoot, amount);
}

Vertex RightFootPose(const Vertex& vertex, int32_t, float amount) {
  return KickPose(vertex, PombleJoint::kRightFoot, amount);
}

PombleMesh Eyes(const PombleColors& colors) {
  Mesh brows, whites, pupils, dots;
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 eye = EyeCentre(side);
    Mesh brow = Capsule(0.1f, 0.35f, 12, 4);
    for (Vertex& v : brow.mVertices) v = TurnVertex(v, {}, 2, 1.5708f - 0.2f * side);
    brow.Transform({1.0f, 1.0f, 1.0f}, OnFace(eye.x, kEyeY + 0.72f, -0.02f));
    brows.Append(brow);
    whites.Append(Ball(0.48f, {1.0f, 1.2f, 0.55f}, eye));
    pupils.Append(Ball(0.27f, {1.0f, 1.15f, 0.5f}, eye + Vec3{0.0f, -0.04f, 0.2f}));
    dots.Append(Ball(0.08f, {1.0f, 1.0f, 0.6f}, eye + Vec3{0.08f, 0.1f, 0.34f}));
  }
  return {{Part(brows, colors.body), Part(whites, colors.eyes), Part(pupils, colors.ink),
           Part(dots, colors.eyes)},
          0,
          2,
          Blink};
}

PombleMesh Head(const PombleColors& colors) {
  std::vector<Vec3> smile;
  for (int32_t i = 0; i <= 16; ++i) {
    const float a = -0.9f + 1.8f * static_cast<float>(i) / 16.0f;
    smile.push_back(OnFace(0.8f * std::sin(a), kMouthY + 0.4f * (1.0f - std::cos(a)), 0.0f));
  }
  Mesh stalks, balls;
  for (float side : {-1.0f, 1.0f}) {
    const std::vector<Vec3> stalk = {
        {0.5f * side, 7.3f, 0.0f}, {0.7f * side, 7.9f, 0.05f}, {0.95f * side, 8.35f, 0.1f}};
    stalks.Append(Sweep(stalk, 0.08f, 10, false));
    balls.Append(Ball(0.28f, {1.0f, 1.0f, 1.0f}, {1.0f * side, 8.5f, 0.1f}));
  }
  return {{Part(Ball(kHeadRadius, {1.0f, 0.95f, 0.95f}, kHeadCentre), colors.body),
           Part(Sweep(smile, 0.09f, 10, false), colors.ink), Part(stalks, colors.ink),
           Part(balls, colors.antennaBalls)},
          0,
          6,
          HeadPose};
}

PombleMesh Torso(const PombleColors& colors) {
  return {{Part(Ball(1.55f, {1.0f, 1.25f, 0.95f}, kTorsoCentre), colors.body),
           Part(Ball(0.95f, {1.0f, 1.15f, 0.4f}, kTorsoCentre + Vec3{0.0f, -0.2f, 1.2f}),
                colors.soles)},
          3,
          4,
          TorsoPose};
}

PombleMesh Arm(const PombleColors& colors, float side, int32_t code,
               Vertex (*pose)(const Vertex&, int32_t, float)) {
  const Vec3 shoulder{kShoulderX * side, PombleJointPosition(PombleJoint::kLeftArm).y, 0.0f};
  Mesh arm = Capsule(0.33f, kArmLength - 0.3f, 16, 6);
  arm.Transform({1.0f, 1.0f, 1.0f}, shoulder + Vec3{0.0f, -kArmLength / 2, 0.0f});
  Mesh hand = Ball(0.45f, {1.0f, 1.0f, 1.0f}, shoulder + Vec3{0.0f, -kArmLength, 0.0f});
  for (Mesh* mesh : {&arm, &hand}) {
    for (Vertex& v : mesh->mVertices) v = TurnVertex(v, shoulder, 2, kArmRestAngle * side);
  }
  return {{Part(arm, colors.body), Part(hand, colors.hands)}, code, 5, pose};
}

PombleMesh Foot(const PombleColors& colors, float side, int32_t code,
                Vertex (*pose)(const Vertex&, int32_t, float)) {
  return {{Part(Ball(0.6f, {1.0f, 0.6f, 1.4f}, {kFootX * side, 0.38f, 0.25f}), colors.body),
           Part(Ball(0.57f, {1.0f, 0.12f, 1.36f}, {kFootX * side, 0.08f, 0.25f}), colors.soles)},
          code,
          4,
          pose};
}

}  // namespace

Vec3 PombleJointPosition(PombleJoint joint) {
  switch (joint) {
    case PombleJoint::kHips:
      return {0.0f, 1.6f, 0.0f};
    case PombleJoint::kSpine:
      return {0.0f, 2.3f, 0.0f};
    case PombleJoint::kHead:
      return {0.0f, 4.4f, 0.0f};
    case PombleJoint::kLeftArm:
      return {kShoulderX, 3.6f, 0.0f};
    case PombleJoint::kRightArm:
      return {-kShoulderX, 3.6f, 0.0f};
    case PombleJoint::kLeftFoot:
      return {kFootX, 0.75f, 0.0f};
    case PombleJoint::kRightFoot:
      return {-kFootX, 0.75f, 0.0f};
  }
  return {};
}

int32_t PombleJointParent(PombleJoint joint) {
  switch (joint) {
    case PombleJoint::kHips:
      return -1;
    case PombleJoint::kSpine:
    case PombleJoint::kLeftFoot:
    case PombleJoint::kRightFoot:
      return static_cast<int32_t>(PombleJoint::kHips);
    default:
      return static_cast<int32_t>(PombleJoint::kSpine);
  }
}

std::vector<PombleBodyPart> MakePombleParts(const PombleColors& colors) {
  std::vector<PombleBodyPart> parts;
  parts.push_back({"_head", PombleJoint::kHead, {Eyes(colors), Head(colors)}});
  parts.push_back({"_torso", PombleJoint::kSpine, {Torso(colors)}});
  parts.push_back({"_L_arm", PombleJoint::kLeftArm, {Arm(colors, 1.0f, 1, LeftArmPose)}});
  parts.push_back({"_R_arm", PombleJoint::kRightArm, {Arm(colors, -1.0f, 2, RightArmPose)}});
  parts.push_back({"_L_foot", PombleJoint::kLeftFoot, {Foot(colors, 1.0f, 4, LeftFootPose)}});
  parts.push_back({"_R_foot", PombleJoint::kRightFoot, {Foot(colors, -1.0f, 5, RightFootPose)}});
  for (PombleBodyPart& part : parts) {
    for (PombleMesh& mesh : part.meshes) {
      for (MeshPart& meshPart : mesh.parts) MirrorMesh(meshPart.mesh);
    }
  }
  return parts;
}

Vertex PombleMesh::Pose(const Vertex& vertex, int32_t meshPart, float amount) const {
  return Mirrored(pose(Mirrored(vertex), meshPart, amount));
}

}  // namespace databuilder
