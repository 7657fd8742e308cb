#pragma once
// How a layer's texture lies on a mesh: repeat, offset and rotation applied
// to texture-coordinate set 0. The placed coordinates go to a process-wide
// scratch array that only grows, shared by every placement.

#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"
#include "mm3d/MM3DSceneChanges.h"

#include <cstdint>

class UUReader;
class UUWriter;
struct MM3DVertexArrays;

class MM3DTexturePlacement : public MM3DIndexedMeshTextureCoordinateMapper {
 public:
  MM3DTexturePlacement() = default;
  // Takes the placement out of the object table of a file being read.
  ~MM3DTexturePlacement() override;
  // A copy is not in the table: only the entry that names the placement
  // itself is taken out.
  MM3DTexturePlacement(const MM3DTexturePlacement&) = default;
  MM3DTexturePlacement& operator=(const MM3DTexturePlacement&) = default;

  // Marks the placement active while a mesh part draws with it.
  void Begin() override { mActive = true; }
  // Replaces the block's set 0 by the placed coordinates; a block without
  // set 0 is left alone.
  void Generate(MM3DVertexArrays& arrays) const override;
  void End() override { mActive = false; }

  // The placement's position in the object table (int32), then repeat U
  // and V, offset U and V and the rotation; false at the first failure.
  bool Write(UUWriter& writer) const;
  // Puts the placement at the position read in the object table, then
  // reads the five values.
  bool Read(UUReader& reader);

  bool IsActive() const { return mActive; }
  float GetRepeatU() const { return mRepeatU; }
  float GetRepeatV() const { return mRepeatV; }
  float GetOffsetU() const { return mOffsetU; }
  float GetOffsetV() const { return mOffsetV; }
  // Radians.
  float GetRotation() const { return mRotation; }
  void SetRepeatU(float repeat) {
    mRepeatU = repeat;
    MM3DSceneChanges::Note();
  }
  void SetRepeatV(float repeat) {
    mRepeatV = repeat;
    MM3DSceneChanges::Note();
  }
  void SetOffsetU(float offset) {
    mOffsetU = offset;
    MM3DSceneChanges::Note();
  }
  void SetOffsetV(float offset) {
    mOffsetV = offset;
    MM3DSceneChanges::Note();
  }
  void SetRotation(float radians) {
    mRotation = radians;
    MM3DSceneChanges::Note();
  }

 private:
  static constexpr int32_t kValueCount = 5;

  bool mActive = false;
  float mRepeatU = 1.0f;
  float mRepeatV = 1.0f;
  float mOffsetU = 0.0f;
  float mOffsetV = 0.0f;
  float mRotation = 0.0f;
  // Where the placement was loaded in the object table, or -1.
  int32_t mReferenceIndex = -1;
};
