#pragma once
// A node placed by components: scale, rotation (radians, X applied first,
// then Y, then Z) and translation, from which each kind builds its local
// matrix. The setters change only what differs, so that an animation that
// holds one value costs one comparison; the local and world matrices are
// rebuilt when next asked for. Components at their neutral values skip
// their matrix products.

#include "foundation/uu/UUReader.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

#include <cstddef>
#include <cstdint>

class MM3DDisplayTreeNodeSRTBase : public MM3DDisplayTreeNodeWithVisibility {
 public:
  MM3DDisplayTreeNodeSRTBase();

  void GetWorldMatrix(MM3DMatrix& out) override;
  // Stops at a node already dirty: its subtree is dirty too.
  void InvalidateWorldMatrix() override;
  // Scale, rotation and translation (9 floats), the visible flag, the
  // child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;
  virtual void BuildLocalMatrix(MM3DMatrix& out) = 0;

  // On a joint, a new scale also becomes the parent scale of its child
  // joints.
  void SetScaleX(float value) { SetScaleComponent(0, value); }
  void SetScaleY(float value) { SetScaleComponent(1, value); }
  void SetScaleZ(float value) { SetScaleComponent(2, value); }
  void SetRotationX(float radians) { SetRotationComponent(0, radians); }
  void SetRotationY(float radians) { SetRotationComponent(1, radians); }
  void SetRotationZ(float radians) { SetRotationComponent(2, radians); }
  void SetTranslationX(float value) { SetTranslationComponent(0, value); }
  void SetTranslationY(float value) { SetTranslationComponent(1, value); }
  void SetTranslationZ(float value) { SetTranslationComponent(2, value); }
  // Stores x, y and z without comparing.
  void SetTranslation(const MM3DVector& translation);
  // Invalidates the world matrices once, when the local matrix is clean.
  void MarkLocalMatrixDirty();

  // The components as directions (w 0).
  MM3DVector GetScale() const { return ToVector(mScale); }
  MM3DVector GetRotation() const { return ToVector(mRotation); }
  MM3DVector GetTranslation() const { return ToVector(mTranslation); }

 protected:
  using Component = float[3];

  // Stores the value when it differs; true on a change.
  static bool ChangeComponent(float& component, float value);
  static bool AnyDiffers(const Component& values, float neutral);
  static MM3DVector ToVector(const Component& values) {
    return MM3DVector(values[0], values[1], values[2], 0.0f);
  }
  static void AddToTranslationRow(MM3DMatrix& matrix, const Component& offset);
  static bool WriteComponents(UUWriter& writer, const Component& values);
  // Reads one float per setter, in order, each applied through its setter
  // so that a value read is treated as a value set.
  template <typename Node, size_t N>
  static bool ReadThroughSetters(UUReader& reader, Node& node,
                                 void (Node::*const (&setters)[N])(float)) {
    for (auto setter : setters) {
      float value = 0.0f;
      if (!reader.ReadFloats(&value, 1)) return false;
      (node.*setter)(value);
    }
    return true;
  }

  bool HasScale() const { return mHasScale; }
  bool HasRotation() const { return mHasRotation; }
  const Component& Scale() const { return mScale; }
  const Component& Rotation() const { return mRotation; }
  const Component& Translation() const { return mTranslation; }

 private:
  void SetScaleComponent(int axis, float value);
  void SetRotationComponent(int axis, float radians);
  void SetTranslationComponent(int axis, float value);

  Component mScale = {1.0f, 1.0f, 1.0f};
  Component mRotation = {0.0f, 0.0f, 0.0f};
  Component mTranslation = {0.0f, 0.0f, 0.0f};
  bool mHasScale = false;
  bool mHasRotation = false;
  MM3DMatrix mLocal;
  bool mLocalDirty = true;
  MM3DMatrix mWorld;
  bool mWorldDirty = true;
};
