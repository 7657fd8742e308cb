#include "mm3d/MM3DDisplayTreeNodeFactory.h"

#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "mm3d/MM3DDisplayTreeNodeInstancedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"

namespace {

using NodeMaker = MM3DDisplayTreeNode* (*)();

template <typename Node>
MM3DDisplayTreeNode* Make() {
  return new Node;
}

// One maker per kind code; a kind whose class joins the engine puts its
// Make here.
constexpr NodeMaker kMakers[kMM3DNodeKindCount] = {
    /* kMM3DNodeRoot */ &Make<MM3DDisplayTreeNodeRoot>,
    /* kMM3DNodeWithVisibility */ &Make<MM3DDisplayTreeNodeWithVisibility>,
    /* kMM3DNodeTransform */ &Make<MM3DDisplayTreeNodeTransform>,
    /* kMM3DNodeSRTTransform */ &Make<MM3DDisplayTreeNodeSRTTransform>,
    /* kMM3DNodeJoint */ &Make<MM3DDisplayTreeNodeJoint>,
    /* kMM3DNodeLight */ &Make<MM3DDisplayTreeNodeLight>,
    /* kMM3DNodeSpline */ &Make<MM3DDisplayTreeNodeSpline>,
    /* kMM3DNodeLocator */ &Make<MM3DDisplayTreeNodeLocator>,
    /* kMM3DNodeDistance */ &Make<MM3DDisplayTreeNodeDistance>,
    /* kMM3DNodeBoundingData */ &Make<MM3DDisplayTreeNodeBoundingData>,
    /* kMM3DNodeCullingBoundingBox */ &Make<MM3DDisplayTreeNodeCullingBoundingBox>,
    /* kMM3DNodeOrientedCullingBoundingBox */ &Make<MM3DDisplayTreeNodeOrientedCullingBoundingBox>,
    /* kMM3DNodeSphereData */ &Make<MM3DDisplayTreeNodeSphereData>,
    /* kMM3DNodeInstancedMesh */ &Make<MM3DDisplayTreeNodeInstancedMesh>,
    /* kMM3DNodeIndexedMesh */ &Make<MM3DDisplayTreeNodeIndexedMesh>,
    /* kMM3DNodeIndexedSkin */ &Make<MM3DDisplayTreeNodeIndexedSkin>,
    /* kMM3DNodeIndexedBlendShapeArray */ &Make<MM3DDisplayTreeNodeIndexedBlendShapeArray>,
    /* kMM3DNodeIndexedBlendShape */ &Make<MM3DDisplayTreeNodeIndexedBlendShape>,
    /* kMM3DNodeIndexedShape */ &Make<MM3DDisplayTreeNodeIndexedShape>,
};

// How deep the node record being read lies; files are read one at a time.
int32_t sReadDepth = 0;

class ReadDepthScope {
 public:
  ReadDepthScope() { ++sReadDepth; }
  ~ReadDepthScope() { --sReadDepth; }
  ReadDepthScope(const ReadDepthScope&) = delete;
  ReadDepthScope& operator=(const ReadDepthScope&) = delete;
};

}  // namespace

MM3DDisplayTreeNode* MM3DMakeDisplayTreeNode(int32_t kind) {
  if (kind < 0 || kind >= kMM3DNodeKindCount || kMakers[kind] == nullptr) return nullptr;
  return kMakers[kind]();
}

bool MM3DReadDisplayTreeNode(UUReader& reader, MM3DModDatabase& database,
                             UUOwned<MM3DDisplayTreeNode>& holder) {
  ReadDepthScope depth;
  int32_t kind = 0;
  if (!MM3DDatabase::ReadInt32(reader, kind)) return false;
  MM3DDisplayTreeNode* node = MM3DMakeDisplayTreeNode(kind);
  if (node == nullptr || sReadDepth > kMM3DMaxDisplayTreeDepth) {
    delete node;
    return MM3DDatabase::RejectRecord(reader);
  }
  holder.Reset(node);
  return MM3DDatabase::LoadReference(reader, node, &node->mReferenceIndex) &&
         node->Read(reader, database);
}
