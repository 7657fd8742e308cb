#include "tests/playthrough/SketchReport.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr const char* kPartNames[kVPLBodyPartCount] = {"head",      "torso",     "left-arm",
                                                       "right-arm", "left-foot", "right-foot"};
constexpr const char* kMaterialKinds[] = {"vertex-colour", "constant", "lambert", "phong"};

// A value to so many decimals, never "-0.0".
std::string Rounded(float value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
  std::string result = text;
  if (result.find_first_not_of("-0.") == std::string::npos) result.erase(0, result[0] == '-');
  return result;
}

std::string Values(const float* values, int count, int decimals) {
  std::string result;
  for (int i = 0; i < count; ++i) result += (i > 0 ? " " : "") + Rounded(values[i], decimals);
  return result;
}

std::string Point(const MM3DVector& v) {
  const float values[3] = {v.mX, v.mY, v.mZ};
  return Values(values, 3, 1);
}

std::string Colour(const MM3DColor& c) {
  const float values[3] = {c.mR, c.mG, c.mB};
  return Values(values, 3, 2);
}

std::string Flag(bool on) { return on ? "yes" : "no"; }

// The upper 3x3 of a node's matrix, row by row.
std::string Turn(const MM3DDisplayTreeNodeTransform* node) {
  if (node == nullptr) return "none";
  const MM3DMatrix matrix = node->GetMatrix();
  std::string result;
  for (int row = 0; row < 3; ++row) {
    result += (row > 0 ? " / " : "") + Values(matrix.mElement[row], 3, 2);
  }
  return result;
}

void WriteMesh(const std::string& name, const VPLObjCreation& object, std::ostream& out) {
  int32_t meshes = 0;
  int32_t parts = 0;
  int32_t vertices = 0;
  for (MM3DDisplayTreeNode* each : VPLFindMeshes(object.GetDisplayTreeRoot())) {
    const auto* mesh = static_cast<const MM3DDisplayTreeNodeIndexedMesh*>(each);
    ++meshes;
    parts += mesh->GetPartCount();
    for (int32_t part = 0; part < mesh->GetPartCount(); ++part) {
      for (const auto& block : mesh->GetPart(part).mBlocks) vertices += block->GetVertexCount();
    }
  }
  out << name << " mesh meshes " << meshes << " parts " << parts << " vertices " << vertices
      << "\n";
}

void WriteMaterial(const std::string& name, const VPLObjCreation& object,
                   MM3DDriverTextureMap* textureMap, std::ostream& out) {
  VPLMaterializer material(textureMap);
  material.TakeTextureFrom(object, nullptr, true, true);
  const int32_t kind = material.GetKind();
  const bool known = kind >= 0 && kind < static_cast<int32_t>(std::size(kMaterialKinds));
  out << name << " material " << (known ? kMaterialKinds[kind] : "other") << " colour "
      << Colour(material.GetColor()) << " texture ";
  if (material.GetLayerCount() > 0 && material.GetTextureId() != kMMNoResource) {
    out << material.GetTextureId();
  } else {
    out << "none";
  }
  out << "\n";
  out << name << " colour " << Colour(object.GetBaseColor());
  if (object.IsPulsing()) out << " pulse " << Colour(object.GetSecondColor());
  out << "\n";
}

// The place, turn and size, or "moving" for what changes by itself.
void WritePlacement(const std::string& name, const VPLObjCreation& object, std::ostream& out) {
  const bool onPath = object.IsPathPlaying();
  out << name << " position " << (onPath ? "moving" : Point(object.GetWorldPosition())) << "\n";
  out << name << " turn " << (object.IsSpinning() ? "moving" : Turn(object.GetRotationNode()))
      << "\n";
  out << name << " scale " << (object.IsJiggling() ? "moving" : Turn(object.GetScaleNode()))
      << "\n";
  if (!object.IsSpinning() && !object.IsJiggling() && !onPath) {
    MM3DVector low;
    MM3DVector high;
    object.GetBounds(low, high);
    const MM3DVector size(high.mX - low.mX, high.mY - low.mY, high.mZ - low.mZ, 0.0f);
    out << name << " size " << Point(size) << "\n";
  }
}

void WriteMotions(const std::string& name, const VPLObjCreation& object, std::ostream& out) {
  out << name << " spin " << Flag(object.IsSpinning()) << "\n";
  out << name << " jiggle " << Flag(object.IsJiggling()) << "\n";
  out << name << " path ";
  if (object.GetPathId() < 0) {
    out << "none\n";
  } else {
    out << object.GetPathId() << " playing " << Flag(object.IsPathPlaying()) << "\n";
  }
}

void WriteObject(const std::string& name, const VPLObjCreation& object,
                 MM3DDriverTextureMap* textureMap, std::ostream& out) {
  WriteMesh(name, object, out);
  WritePlacement(name, object, out);
  WriteMaterial(name, object, textureMap, out);
  WriteMotions(name, object, out);
}

void WriteGroup(const std::string& name, const VPLObjCreation& object,
                MM3DDriverTextureMap* textureMap, std::ostream& out) {
  const auto* group = dynamic_cast<const VPLObjCreationGroup*>(&object);
  out << name << " members " << (group != nullptr ? group->GetChildCount() : 0) << "\n";
  WriteObject(name, object, textureMap, out);
}

void WritePomble(const VPLObjCreation& object, std::ostream& out) {
  const auto* pomble = dynamic_cast<const VPLObjCreationChar*>(&object);
  const VPLPombleVisual* visual = pomble != nullptr ? pomble->GetPoseVisual() : nullptr;
  if (visual == nullptr) {
    out << "pomble none\n";
    return;
  }
  out << "pomble parts";
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    if (visual->IsPartOn(part)) out << " " << kPartNames[part];
  }
  out << "\npomble pose";
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    out << " " << kPartNames[part] << " " << Rounded(visual->GetPartPose(part), 2);
  }
  out << "\npomble position " << Point(object.GetWorldPosition()) << "\n";
  out << "pomble turn " << Turn(object.GetRotationNode()) << "\n";
  out << "pomble dance " << pomble->GetAnimationChoice() << " repeat " << Flag(pomble->GetRepeat())
      << "\n";
}

}  // namespace

void VPLWriteCreationReport(const VPLCreation& creation, MM3DDriverTextureMap* textureMap,
                            std::ostream& out) {
  out << "creation camera " << Point(creation.GetCamera().GetEye()) << "\n";
  out << "creation ground " << Flag(creation.GetGround()) << "\n";
  out << "creation background " << creation.GetBackground() << "\n";
  const auto& objects = creation.GetUserObjects();
  out << "creation objects " << objects.size() << "\n";
  for (size_t i = 0; i < objects.size(); ++i) {
    WriteObject("object " + std::to_string(i + 1), *objects[i], textureMap, out);
  }
  const auto& groups = creation.GetGroups();
  out << "creation groups " << groups.size() << "\n";
  for (size_t i = 0; i < groups.size(); ++i) {
    WriteGroup("group " + std::to_string(i + 1), *groups[i], textureMap, out);
    if (groups[i] == creation.GetCurrentGroup()) out << "group " << i + 1 << " current\n";
  }
  if (creation.FindCharacter() != nullptr) {
    WritePomble(*creation.FindCharacter(), out);
  } else {
    out << "pomble none\n";
  }
}
