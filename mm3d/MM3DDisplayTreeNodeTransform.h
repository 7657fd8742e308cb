#pragma once
// A node placed by a matrix relative to its parent. Its world matrix is
// the local matrix times the parent's world matrix, computed when first
// asked for after a change above it and kept until the next one.

#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DMatrix.h"

class MM3DDisplayTreeNodeTransform : public MM3DDisplayTreeNodeWithVisibility {
 public:
  // The identity until Read or SetMatrix sets the local matrix.
  MM3DDisplayTreeNodeTransform();
  explicit MM3DDisplayTreeNodeTransform(const MM3DMatrix& local);

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeTransform; }
  void GetWorldMatrix(MM3DMatrix& out) override;
  // Stops at a node already dirty: its subtree is dirty too.
  void InvalidateWorldMatrix() override;
  // The local matrix (16 floats), the visible flag, the child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const MM3DMatrix& GetMatrix() const { return mLocal; }
  void SetMatrix(const MM3DMatrix& local);

 private:
  MM3DMatrix mLocal;
  MM3DMatrix mWorld;
  bool mWorldDirty = true;
};
