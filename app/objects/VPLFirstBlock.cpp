#include "app/objects/VPLFirstBlock.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"

VPLFirstBlock::VPLFirstBlock(const MM3DModelMolecule& molecule) {
  if (!molecule.HasDisplayTree()) return;
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(molecule.GetDisplayTreeRoot());
  if (meshes.Count() > 0) mMesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[0]);
}

MM3DIndexedMeshVertexData* VPLFirstBlock::Block() const {
  if (mMesh == nullptr || mMesh->GetPartCount() == 0) return nullptr;
  const MM3DVertexDataBlocks& blocks = mMesh->GetPart(0).mBlocks;
  return blocks.Count() > 0 ? blocks[0].Get() : nullptr;
}

MM3DMatrix VPLFirstBlock::WorldMatrix() const {
  MM3DMatrix world = MM3DMatrixIdentity;
  if (mMesh != nullptr) mMesh->GetWorldMatrix(world);
  return world;
}

bool VPLFirstBlock::Position(int32_t v, MM3DVector& out) const {
  const MM3DIndexedMeshVertexData* block = Block();
  if (block == nullptr || v < 0 || v >= block->mPositions.Count()) return false;
  const MM3DVector& p = block->mPositions[v];
  out = MM3DVector(p.mX, p.mY, p.mZ, 1.0f);
  return true;
}

bool VPLFirstBlock::HasTriangle(int32_t i) const {
  const MM3DIndexedMeshVertexData* block = Block();
  if (block == nullptr || i < 0 || i >= block->mIndices.Count() / 3) return false;
  for (int32_t k = 0; k < 3; ++k) {
    if (block->mIndices[3 * i + k] >= block->mPositions.Count()) return false;
  }
  return true;
}

int32_t VPLFirstBlock::PickTriangle(const MM3DModelMolecule& molecule,
                                    const VPLSegment& ray) const {
  const int32_t i = VPLPickTriangleIndex(molecule, ray.mStart, ray.mEnd);
  return HasTriangle(i) ? i : -1;
}

bool VPLFirstBlock::HitTriangle(int32_t i, const VPLSegment& ray, VPLBlockHit& hit) const {
  if (!HasTriangle(i)) return false;
  const MM3DIndexedMeshVertexData& block = *Block();
  MM3DMatrix inverse = WorldMatrix();
  inverse.InvertAffine();
  MM3DVector local[2];
  const MM3DVector ends[2] = {MM3DVector(ray.mStart.mX, ray.mStart.mY, ray.mStart.mZ, 1.0f),
                              MM3DVector(ray.mEnd.mX, ray.mEnd.mY, ray.mEnd.mZ, 1.0f)};
  inverse.TransformPoints(local, ends, 2);
  MM3DVector corners[3];
  for (int32_t k = 0; k < 3; ++k) {
    hit.mCorners[k] = block.mIndices[3 * i + k];
    Position(hit.mCorners[k], corners[k]);
  }
  return VPLIntersectSegmentTriangle(local[0], local[1], corners[0], corners[1], corners[2],
                                     hit.mPoint);
}
