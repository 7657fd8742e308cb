#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DSceneChanges.h"

MM3DDisplayTreeNodeTransform::MM3DDisplayTreeNodeTransform()
    : MM3DDisplayTreeNodeTransform(MM3DMatrixIdentity) {}

MM3DDisplayTreeNodeTransform::MM3DDisplayTreeNodeTransform(const MM3DMatrix& local)
    : mLocal(local), mWorld(MM3DMatrixIdentity) {}

void MM3DDisplayTreeNodeTransform::GetWorldMatrix(MM3DMatrix& out) {
  if (mWorldDirty) {
    if (GetParent() != nullptr) {
      MM3DMatrix parentWorld;
      GetParent()->GetWorldMatrix(parentWorld);
      MM3DMatrixMultiply(mWorld, mLocal, parentWorld);
    } else {
      mWorld = mLocal;
    }
    mWorldDirty = false;
  }
  out = mWorld;
}

void MM3DDisplayTreeNodeTransform::InvalidateWorldMatrix() {
  if (mWorldDirty) return;
  mWorldDirty = true;
  MM3DDisplayTreeNodeWithVisibility::InvalidateWorldMatrix();
}

bool MM3DDisplayTreeNodeTransform::Write(UUWriter& writer, MM3DModDatabase& database) {
  return mLocal.Write(writer) && MM3DDisplayTreeNodeWithVisibility::Write(writer, database);
}

bool MM3DDisplayTreeNodeTransform::Read(UUReader& reader, MM3DModDatabase& database) {
  const bool good =
      mLocal.Read(reader) && MM3DDisplayTreeNodeWithVisibility::Read(reader, database);
  InvalidateWorldMatrix();
  return good;
}

// The same matrix again is no change: objects place themselves every frame.
void MM3DDisplayTreeNodeTransform::SetMatrix(const MM3DMatrix& local) {
  if (local == mLocal) return;
  mLocal = local;
  InvalidateWorldMatrix();
  MM3DSceneChanges::Note();
}
