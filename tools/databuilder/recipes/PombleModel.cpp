// Pomble's tree: under "ALL_SKELETONS" the joint skeleton, then the six
// part nodes, each holding per mesh a skin (every vertex rigidly on the
// part's joint) over a dense blend array (the first weight the part code,
// target 0 zero offsets, targets 1.. the pose from 0 to 1) over the mesh.
// Parts are skinned so that picking finds them where they are drawn. The
// ghost is the same body, unskinned and pale, with the six part nodes.

#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "tools/databuilder/recipes/ModelKinds.h"
#include "tools/databuilder/recipes/PombleClip.h"
#include "tools/databuilder/recipes/PombleShapes.h"

namespace databuilder {

namespace {

constexpr int32_t kPombleBudget = 12000;

PombleColors RecipeColors(const Recipe& recipe) {
  return {RecipeMaterial(recipe, "body", "bubblegum"), RecipeMaterial(recipe, "eyes", "cloud"),
          RecipeMaterial(recipe, "ink", "ink"),        RecipeMaterial(recipe, "hands", "cloud"),
          RecipeMaterial(recipe, "antennae", "sun"),   RecipeMaterial(recipe, "soles", "cream")};
}

void CheckPombleBudget(const Recipe& recipe, const std::vector<PombleBodyPart>& parts) {
  Mesh all;
  for (const PombleBodyPart& part : parts) {
    for (const PombleMesh& mesh : part.meshes) {
      for (const MeshPart& meshPart : mesh.parts) all.Append(meshPart.mesh);
    }
  }
  CheckBudget(recipe, all, kPombleBudget);
}

MM3DVector Offset(Vec3 to, Vec3 from, float w) {
  return MM3DVector(to.x - from.x, to.y - from.y, to.z - from.z, w);
}

// The blend array over the mesh: per part and block, target k moves each
// vertex to its pose at k / (targets - 1).
MM3DDisplayTreeNodeIndexedBlendShapeArray* MakeBlendArray(
    const PombleMesh& shape, const MM3DDisplayTreeNodeIndexedMesh& mesh) {
  MM3DMeshTargets<MM3DVector> positions, normals;
  for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
    positions.Append({});
    normals.Append({});
    for (const UURefCount<MM3DIndexedMeshVertexData>& block : mesh.GetPart(p).mBlocks) {
      MM3DTargetArrays<MM3DVector> blockPositions, blockNormals;
      for (int32_t t = 0; t < shape.targets; ++t) {
        const float amount =
            t == 0 ? 0.0f : static_cast<float>(t) / static_cast<float>(shape.targets - 1);
        UUGrowableArray<MM3DVector> targetPositions, targetNormals;
        for (int32_t v = 0; v < block->GetVertexCount(); ++v) {
          const MM3DVector& position = block->mPositions[v];
          const MM3DVector& normal = block->mNormals[v];
          Vertex rest;
          rest.position = {position.mX, position.mY, position.mZ};
          rest.normal = {normal.mX, normal.mY, normal.mZ};
          const Vertex posed = t == 0 ? rest : shape.Pose(rest, p, amount);
          targetPositions.Append(Offset(posed.position, rest.position, 0.0f));
          targetNormals.Append(Offset(posed.normal, rest.normal, 0.0f));
        }
        blockPositions.Append(std::move(targetPositions));
        blockNormals.Append(std::move(targetNormals));
      }
      positions[p].Append(std::move(blockPositions));
      normals[p].Append(std::move(blockNormals));
    }
  }
  UUGrowableArray<float> weights;
  weights.Append(static_cast<float>(shape.code));
  for (int32_t t = 1; t < shape.targets; ++t) weights.Append(0.0f);
  return new MM3DDisplayTreeNodeIndexedBlendShapeArray(std::move(weights), std::move(positions),
                                                       std::move(normals));
}

// Every vertex of the mesh rigidly on the joint, bound where it stands.
MM3DDisplayTreeNodeIndexedSkin* MakeSkin(const MM3DDisplayTreeNodeIndexedMesh& mesh,
                                         MM3DDisplayTreeNodeJoint* joint, Vec3 jointPosition) {
  MM3DSkinInfluences influences;
  for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
    influences.Append({});
    for (const UURefCount<MM3DIndexedMeshVertexData>& block : mesh.GetPart(p).mBlocks) {
      MM3DSkinInfluence influence{0, {}};
      for (int32_t v = 0; v < block->GetVertexCount(); ++v) {
        influence.mWeights.Append(MM3DSkinWeight{static_cast<uint16_t>(v), 1.0f});
      }
      UUGrowableArray<MM3DSkinInfluence> blockInfluences;
      blockInfluences.Append(std::move(influence));
      influences[p].Append(std::move(blockInfluences));
    }
  }
  UUGrowableArray<MM3DDisplayTreeNodeJoint*> joints;
  joints.Append(joint);
  UUGrowableArray<MM3DMatrix> binds;
  MM3DMatrix bind;
  MM3DMatrixTranslation(bind, -jointPosition.x, -jointPosition.y, -jointPosition.z);
  binds.Append(bind);
  return new MM3DDisplayTreeNodeIndexedSkin(std::move(influences), joints, std::move(binds));
}

std::vector<MM3DDisplayTreeNodeJoint*> AddSkeleton(ModelBuilder& builder,
                                                   MM3DDisplayTreeNodeWithChildren* parent) {
  std::vector<MM3DDisplayTreeNodeJoint*> joints;
  for (int32_t j = 0; j < kPombleJointCount; ++j) {
    const auto joint = static_cast<PombleJoint>(j);
    const int32_t up = PombleJointParent(joint);
    Vec3 local = PombleJointPosition(joint);
    if (up >= 0) local = local - PombleJointPosition(static_cast<PombleJoint>(up));
    auto* node = builder.AddNode(new MM3DDisplayTreeNodeJoint,
                                 up >= 0 ? joints[static_cast<size_t>(up)] : parent);
    node->SetTranslation(MM3DVector(local.x, local.y, local.z, 1.0f));
    joints.push_back(node);
  }
  return joints;
}

void AddInterest(ModelBuilder& builder, MM3DDisplayTreeNodeJoint* spine) {
  auto* interest = builder.AddTransform(spine);
  builder.AddNamedNode("_pombleInterest", interest);
  builder.AddNode(new MM3DDisplayTreeNodeLocator(MM3DVector(0.0f, 1.2f, 0.0f, 1.0f)), interest);
}

MM3DDisplayTreeNodeSRTTransform* AddSkeletonsNode(ModelBuilder& builder) {
  auto* all = builder.AddTransform(nullptr);
  builder.AddNamedNode("ALL_SKELETONS", all);
  return all;
}

}  // namespace

void MakePomble(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  std::vector<PombleBodyPart> parts = MakePombleParts(RecipeColors(recipe));
  CheckPombleBudget(recipe, parts);
  auto* all = AddSkeletonsNode(builder);
  const std::vector<MM3DDisplayTreeNodeJoint*> joints = AddSkeleton(builder, all);
  AddInterest(builder, joints[static_cast<size_t>(PombleJoint::kSpine)]);
  MM3DDisplayTreeNodeIndexedBlendShapeArray* eyes = nullptr;
  for (PombleBodyPart& part : parts) {
    auto* node = builder.AddTransform(all);
    builder.AddNamedNode(part.name, node);
    const auto j = static_cast<size_t>(part.joint);
    for (PombleMesh& shape : part.meshes) {
      UUOwned<MM3DDisplayTreeNodeIndexedMesh> mesh = builder.MakeMesh(std::move(shape.parts));
      auto* skin =
          builder.AddNode(MakeSkin(*mesh, joints[j], PombleJointPosition(part.joint)), node);
      auto* blend = builder.AddNode(MakeBlendArray(shape, *mesh), skin);
      builder.AddNode(mesh.Release(), blend);
      if (eyes == nullptr) eyes = blend;
    }
  }
  AnimatePomble(builder, joints, eyes);
}

void MakePombleGhost(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  PombleColors colors;
  MaterialSpec pale = RecipeMaterial(recipe, "color", "paleblue");
  pale.transparency = static_cast<float>(RecipeNumber(recipe, "transparency", 0.6));
  colors = {pale, pale, pale, pale, pale, pale};
  std::vector<PombleBodyPart> parts = MakePombleParts(colors);
  CheckPombleBudget(recipe, parts);
  auto* all = AddSkeletonsNode(builder);
  for (PombleBodyPart& part : parts) {
    auto* node = builder.AddTransform(all);
    builder.AddNamedNode(part.name, node);
    Mesh whole;
    for (PombleMesh& shape : part.meshes) {
      for (MeshPart& meshPart : shape.parts) whole.Append(meshPart.mesh);
    }
    builder.AddMesh({MeshPart{std::move(whole), pale}}, node);
  }
}

}  // namespace databuilder
