// Writes the display-tree fuzzer's seed corpus with the engine's own
// writers: a tree holding a node of every kind with delayed references
// before and after their targets, a null one and one to a node outside
// the file, and a small tree of transforms without references.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/fuzz/DisplayTreeFile.h"
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

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  const bool written = WriteEveryKind(directory) && WriteTransforms(directory);
  MM3DDatabase::FreeReferenceTables();
  return written ? 0 : 1;
}
