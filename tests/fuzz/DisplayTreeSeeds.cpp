// Writes the display-tree fuzzer's seed corpus with the engine's own
// writers: a tree holding a node of every kind with delayed references
// before and after their targets, a null one and one to a node outside
// the file, a small tree of transforms without references, and a skinned
// arm with meshes below every deformer kind, nested, and an instance.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "mm3d/MM3DDisplayTreeNodeInstancedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/fuzz/DisplayTreeFile.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DStreams.h"

#include <cstdio>
#include <memory>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;

template <typename Node, typename... Args>
Node* Add(MM3DDisplayTreeNodeWithChildren& parent, Args&&... args) {
  Node* node = new Node(std::forward<Args>(args)...);
  parent.AddChild(Owned(node));
  return node;
}

MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  return matrix;
}

bool WriteSeed(const UUDirectory& directory, const char* name, DisplayTreeFile& file) {
  ByteWriter writer;
  if (!file.Write(writer)) return false;
  UUFile out(directory, name, kUUFileCreate, UUFileOptions());
  return out.Write(writer.mBytes.data(), static_cast<uint32_t>(writer.mBytes.size()));
}

template <typename Target, typename Reference>
void AddReference(std::vector<std::unique_ptr<Reference>>& references, Target* target) {
  references.push_back(std::make_unique<Reference>());
  references.back()->Set(target);
}

bool WriteEveryKind(const UUDirectory& directory) {
  DisplayTreeFile file;
  MM3DDisplayTreeNodeSRTTransform outside;
  AddReference(file.mNodeReferences, static_cast<MM3DDisplayTreeNode*>(&outside));
  AddReference(file.mNodeReferences, static_cast<MM3DDisplayTreeNode*>(nullptr));

  auto* root = new MM3DDisplayTreeNodeRoot;
  file.mTrees.emplace_back(root);
  auto* light = Add<MM3DDisplayTreeNodeLight>(*root, file.GetLights()[0]);
  auto* ambient = Add<MM3DDisplayTreeNodeLight>(*light, file.GetLights()[1]);
  auto* transform = Add<MM3DDisplayTreeNodeTransform>(*ambient, Translation(0, 0, 10));
  auto* srt = Add<MM3DDisplayTreeNodeSRTTransform>(*transform);
  srt->SetRotatePivotX(1);
  srt->SetRotationZ(0.5f);
  auto* joint = Add<MM3DDisplayTreeNodeJoint>(*srt);
  joint->SetScaleX(2);
  auto* childJoint = Add<MM3DDisplayTreeNodeJoint>(*joint);
  childJoint->SetOrientY(0.25f);
  auto* box = Add<MM3DDisplayTreeNodeCullingBoundingBox>(*transform, MM3DVector(-1, -1, -1, 1),
                                                         MM3DVector(1, 1, 1, 1));
  MM3DOrientedBox oriented;
  oriented.SetFromAxisAligned(MM3DVector(-100, -1, 5, 1), MM3DVector(0, 1, 6, 1));
  auto* turned = Add<MM3DDisplayTreeNodeOrientedCullingBoundingBox>(*box, oriented);
  Add<MM3DDisplayTreeNodeLocator>(*turned, MM3DVector(1, 2, 3, 1));
  Add<MM3DDisplayTreeNodeWithVisibility>(*turned, 0);
  Add<MM3DDisplayTreeNodeSpline>(*root, file.GetSplines()[0]);
  Add<MM3DDisplayTreeNodeDistance>(*root, MM3DVector(0, 0, 0, 1), MM3DVector(1, 1, 1, 1));
  const float values[16] = {1, 2, 3, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
  Add<MM3DDisplayTreeNodeBoundingData>(*root, values);
  Add<MM3DDisplayTreeNodeSphereData>(*root, MM3DVector(0, 0, 5, 1), 2.0f);

  AddReference(file.mJointReferences, childJoint);
  AddReference(file.mNodeReferences, static_cast<MM3DDisplayTreeNode*>(box));
  return WriteSeed(directory, "every-kind", file);
}

bool WriteTransforms(const UUDirectory& directory) {
  DisplayTreeFile file;
  auto* top = new MM3DDisplayTreeNodeTransform(Translation(1, 0, 0));
  file.mTrees.emplace_back(top);
  Add<MM3DDisplayTreeNodeTransform>(*Add<MM3DDisplayTreeNodeTransform>(*top, Translation(0, 2, 0)),
                                    Translation(0, 0, 3));
  file.mTrees.emplace_back(new MM3DDisplayTreeNodeJoint);
  return WriteSeed(directory, "transforms", file);
}

using Vectors = std::vector<MM3DVector>;

const Vectors kArm = {{0, 0, 0, 1}, {2, 0, 0, 1}, {4, 1, 0, 1}};
const Vectors kUp = {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

// A mesh of one block of the arm for each material, below the node.
MM3DDisplayTreeNodeIndexedMesh* AddMesh(MM3DDisplayTreeNodeWithChildren& parent,
                                        DisplayTreeFile& file, int32_t partCount) {
  auto* mesh = Add<MM3DDisplayTreeNodeIndexedMesh>(parent);
  for (int32_t p = 0; p < partCount; ++p) {
    MM3DIndexedMeshPart part;
    part.mMaterial = file.GetMaterials()[1 - p];
    part.mBlocks.Append(MakeBlock(kArm, kUp));
    mesh->AddPart(part);
  }
  return mesh;
}

MM3DSkinInfluences ArmInfluences() {
  UUGrowableArray<MM3DSkinInfluence> block;
  block.Append(MM3DSkinInfluence{0, MakeArray<MM3DSkinWeight>({{0, 1.0f}, {1, 0.5f}})});
  block.Append(MM3DSkinInfluence{1, MakeArray<MM3DSkinWeight>({{1, 0.5f}, {2, 1.0f}})});
  UUGrowableArray<UUGrowableArray<MM3DSkinInfluence>> part;
  part.Append(std::move(block));
  MM3DSkinInfluences influences;
  influences.Append(std::move(part));
  return influences;
}

bool WriteMeshes(const UUDirectory& directory) {
  DisplayTreeFile file;
  auto* root = new MM3DDisplayTreeNodeRoot;
  file.mTrees.emplace_back(root);
  auto* shoulder = Add<MM3DDisplayTreeNodeJoint>(*root);
  auto* elbow = Add<MM3DDisplayTreeNodeJoint>(*shoulder);
  elbow->SetTranslationX(2);
  elbow->SetRotationZ(0.5f);
  MM3DDisplayTreeNodeIndexedMesh* mesh = AddMesh(*root, file, 2);
  Add<MM3DDisplayTreeNodeInstancedMesh>(
      *Add<MM3DDisplayTreeNodeTransform>(*root, Translation(3, 0, 0)), mesh);
  Add<MM3DDisplayTreeNodeInstancedMesh>(*root);

  auto* skin = Add<MM3DDisplayTreeNodeIndexedSkin>(
      *root, ArmInfluences(), MakeArray<MM3DDisplayTreeNodeJoint*>({shoulder, elbow}),
      MakeArray<MM3DMatrix>({MM3DMatrixIdentity, Translation(-2, 0, 0)}));
  AddMesh(*skin, file, 1);
  auto* dense = Add<MM3DDisplayTreeNodeIndexedBlendShapeArray>(
      *skin, MakeArray<float>({0.5f, -1.0f}),
      OneBlockTargets<MM3DVector>({{{1, 0, 0, 0}, {0, 1, 0, 0}}, {{0, 0, 1, 0}}}),
      OneBlockTargets<MM3DVector>({{{1, 0, 0, 0}}, {}}));
  AddMesh(*dense, file, 1);
  auto* sparse = Add<MM3DDisplayTreeNodeIndexedBlendShape>(
      *dense, MakeArray<float>({1.0f}),
      OneBlockTargets<MM3DBlendShapeDelta>({{{{0, 2, 0, 0}, 2}, {{1, 0, 0, 0}, 2}}}),
      OneBlockTargets<MM3DBlendShapeDelta>({{{{0, 0, 1, 0}, 0}}}));
  auto* shape = Add<MM3DDisplayTreeNodeIndexedShape>(
      *sparse, 0.5f,
      OneBlockTargets<MM3DVector>({kArm, {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 2, 0, 1}}}));
  AddMesh(*shape, file, 2);
  return WriteSeed(directory, "meshes", file);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  const bool written =
      WriteEveryKind(directory) && WriteTransforms(directory) && WriteMeshes(directory);
  MM3DDatabase::FreeReferenceTables();
  return written ? 0 : 1;
}
