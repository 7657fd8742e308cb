#include "app/creation/VPLObjCreationChar.h"

#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <algorithm>
#include <cmath>

namespace {

MM3DMatrix LocalMatrix(const MM3DDisplayTreeNodeTransform* node) {
  MM3DMatrix matrix;
  matrix.SetIdentity();
  return node != nullptr ? node->GetMatrix() : matrix;
}

void SetLocalMatrix(MM3DDisplayTreeNodeTransform* node, const MM3DMatrix& matrix) {
  if (node != nullptr) node->SetMatrix(matrix);
}

// A place or turn that is not a number would carry into every later
// position of the character.
bool ReadFiniteMatrix(UUReader& reader, MM3DMatrix& matrix) {
  if (!matrix.Read(reader)) return false;
  const float* values = &matrix.mElement[0][0];
  return std::all_of(values, values + 16, [](float v) { return std::isfinite(v); });
}

// The preset every material record starts from.
VPLMaterializer MaterialBase(const VPLObj& object) {
  const MMStage* stage = object.GetStage();
  VPLMaterializer materializer(stage != nullptr ? stage->GetTextureMap()
                                                : VPLGetServices().mTextureMap);
  materializer.LoadPreset(VPLObjCreationChar::kBodyPreset);
  return materializer;
}

}  // namespace

bool VPLObjCreationChar::WriteRecord(UUWriter& writer, void* context) {
  const bool head = LocalMatrix(GetTranslationNode()).Write(writer) &&
                    LocalMatrix(GetRotationNode()).Write(writer) &&
                    writer.WriteInt16s(&mAnimationChoice, 1) && writer.WriteBooleans(&mRepeat, 1);
  if (!head) return false;
  const bool pose = mPoseVisual->WritePose(writer);
  if (!VPLObjCreation::WriteRecord(writer, nullptr)) return false;
  return WriteMaterials(writer, context, pose);
}

// Per mesh in walk order: its part count, then a material record per part.
bool VPLObjCreationChar::WriteMaterials(UUWriter& writer, void* /*context*/, bool result) {
  VPLMaterializer materializer = MaterialBase(*this);
  for (MM3DDisplayTreeNode* each : VPLFindMeshes(GetDisplayTreeRoot())) {
    auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(each);
    const auto count = static_cast<int16_t>(mesh->GetPartCount());
    result = writer.WriteInt16s(&count, 1);
    for (int16_t part = 0; part < count; ++part) {
      VPLVertexHolder holder;
      holder.mNode = mesh;
      holder.mPart = part;
      materializer.TakeTextureFrom(*this, &holder, true, true);
      materializer.Write(writer);
    }
  }
  return result;
}

bool VPLObjCreationChar::ReadRecord(UUReader& reader, void* context) {
  MM3DMatrix translation;
  MM3DMatrix rotation;
  if (!ReadFiniteMatrix(reader, translation) || !ReadFiniteMatrix(reader, rotation) ||
      !reader.ReadInt16s(&mAnimationChoice, 1) || !reader.ReadBooleans(&mRepeat, 1)) {
    return false;
  }
  if (!mPoseVisual->ReadPose(reader)) return false;
  if (!VPLObjCreation::ReadRecord(reader, nullptr)) return false;
  const ColorState colors = GetColorState();
  const bool result = ReadMaterials(reader, context, true);
  SetColorState(colors);
  SetLocalMatrix(GetTranslationNode(), translation);
  SetLocalMatrix(mHighlightNodes.mTranslation, translation);
  SetLocalMatrix(GetRotationNode(), rotation);
  SetLocalMatrix(mHighlightNodes.mRotation, rotation);
  if (colors.mPulsing) UpdatePulsePeriod();
  return result;
}

// A part count below 0 fails the read; records for parts the mesh does not
// have are read and left unapplied.
bool VPLObjCreationChar::ReadMaterials(UUReader& reader, void* /*context*/, bool result) {
  VPLMaterializer materializer = MaterialBase(*this);
  for (MM3DDisplayTreeNode* each : VPLFindMeshes(GetDisplayTreeRoot())) {
    auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(each);
    int16_t count = 0;
    result = reader.ReadInt16s(&count, 1) && count >= 0;
    if (!result) return false;
    for (int16_t part = 0; part < count; ++part) {
      if (!materializer.Read(reader)) return false;
      if (part >= mesh->GetPartCount()) continue;
      VPLVertexHolder holder;
      holder.mNode = mesh;
      holder.mPart = part;
      materializer.Apply(this, &holder);
    }
  }
  return result;
}
