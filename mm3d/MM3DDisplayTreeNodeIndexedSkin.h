#pragma once
// Bends the meshes below it by a skeleton: every vertex of every block is
// moved by the joints that influence it, each with its weight, and its
// normal follows. The joints live elsewhere in the same model; the skin
// reads their world matrices once per mesh drawn, at the start of its frame.
// Weights are used as stored: a vertex lands at the weighted sum of its
// transformed positions, and a vertex under no influence at the origin.
//
// The skin's own world matrix is the identity whatever its parents are, so
// the joints alone carry its meshes into the world. A skin whose joints are
// not all there (a reference the file did not resolve) draws its meshes
// undeformed.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DMatrix.h"

#include <cstdint>

struct MM3DSkinWeight {
  // The vertex's index in its block, an int16 in the record.
  uint16_t mVertexIndex;
  float mWeight;

  bool Write(UUWriter& writer) const;
};

// The vertices of one block that a joint moves.
struct MM3DSkinInfluence {
  // The joint's position in the skin's joint list.
  int32_t mJointIndex;
  UUGrowableArray<MM3DSkinWeight> mWeights;

  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);
};

// influences[part][block]: the joints that move vertices of that block.
using MM3DSkinInfluences = MM3DPerMeshBlock<UUGrowableArray<MM3DSkinInfluence>>;
using MM3DJointReference = MM3DDelayedReference<MM3DDisplayTreeNodeJoint>;

class MM3DDisplayTreeNodeIndexedSkin : public MM3DIndexedMeshDeformingNode {
 public:
  MM3DDisplayTreeNodeIndexedSkin() = default;
  // Joint j of the list is joints[j], with bind matrix j.
  MM3DDisplayTreeNodeIndexedSkin(MM3DSkinInfluences&& influences,
                                 const UUGrowableArray<MM3DDisplayTreeNodeJoint*>& joints,
                                 UUGrowableArray<MM3DMatrix>&& bindMatrices);

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedSkin; }
  void GetWorldMatrix(MM3DMatrix& out) override;
  // The influences per part and block (influence count, then per influence
  // the joint index and its weights: vertex index as int16 and weight), the
  // joint references, the bind matrices, then the child list. A joint index
  // outside the joint list is kept and skipped when drawing; with fewer
  // bind matrices than joints the meshes are drawn undeformed.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  // Computes every joint's skin matrix, bind x world, and its normal
  // matrix into the skin's own arrays.
  void BeginFrame() override;
  void DeformPositions(MM3DVertexArrays& arrays) override;
  void DeformNormals(MM3DVertexArrays& arrays) override;

  const MM3DSkinInfluences& GetInfluences() const { return mInfluences; }
  int32_t GetJointCount() const { return mJoints.Count(); }
  MM3DDisplayTreeNodeJoint* GetJoint(int32_t index) const { return mJoints[index]->Get(); }
  const UUGrowableArray<MM3DMatrix>& GetBindMatrices() const { return mBindMatrices; }

 private:
  // The selected block's influences when this frame's matrices are
  // usable, else null: the view is then left as it is.
  const UUGrowableArray<MM3DSkinInfluence>* FindDeformableBlock() const;
  bool ReadJoints(UUReader& reader);

  MM3DSkinInfluences mInfluences;
  UUGrowableArray<UUOwned<MM3DJointReference>> mJoints;
  UUGrowableArray<MM3DMatrix> mBindMatrices;
  // Whether BeginFrame found every joint and bind matrix.
  bool mMatricesReady = false;
  // This frame's matrices per joint, and the deformed block: they grow and
  // never shrink.
  UUGrowableArray<MM3DMatrix> mSkinMatrices;
  UUGrowableArray<MM3DMatrix> mNormalMatrices;
  UUGrowableArray<MM3DVector> mPositions;
  UUGrowableArray<MM3DVector> mNormals;
};
