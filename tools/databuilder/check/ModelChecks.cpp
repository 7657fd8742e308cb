#include "tools/databuilder/check/ModelChecks.h"

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DTextureResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/recipes/ModelRecipes.h"

#include <cmath>
#include <functional>

namespace content_check {

namespace {

constexpr float kUnitTolerance = 1e-3f;
constexpr int32_t kPombleBudget = 12000;

struct ModelScope {
  const std::string& name;
  int32_t textureCount;
  Findings& findings;
  int32_t triangles = 0;

  void Report(int32_t part, const std::string& what) {
    findings.push_back(name + ": part " + std::to_string(part) + " " + what);
  }
};

void ForEachMesh(MM3DDisplayTreeNode* node,
                 const std::function<void(const MM3DDisplayTreeNodeIndexedMesh&)>& visit) {
  if (node == nullptr) return;
  if (node->GetKind() == kMM3DNodeIndexedMesh) {
    visit(static_cast<const MM3DDisplayTreeNodeIndexedMesh&>(*node));
  }
  auto* parent = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(node);
  if (parent == nullptr) return;
  for (int32_t i = 0; i < parent->GetChildCount(); ++i) ForEachMesh(parent->GetChild(i), visit);
}

float Length(const MM3DVector& v) { return std::sqrt(v.mX * v.mX + v.mY * v.mY + v.mZ * v.mZ); }

void CheckBlock(const MM3DIndexedMeshVertexData& block, const MM3DMaterial& material,
                int32_t partIndex, ModelScope& scope) {
  const int32_t vertices = block.GetVertexCount();
  if (vertices > MM3DIndexedMeshVertexData::kMaxVertexCount) {
    scope.Report(partIndex, "has a block of " + std::to_string(vertices) + " vertices");
  }
  if (block.mIndices.Count() % 3 != 0) scope.Report(partIndex, "has a partial triangle");
  for (uint16_t index : block.mIndices) {
    if (index >= vertices) {
      scope.Report(partIndex, "has an index outside its block");
      return;
    }
  }
  scope.triangles += block.mIndices.Count() / 3;
  const bool textured =
      material.GetLayerCount() > 0 && !material.GetLayer(0).GetTexture().IsEmpty();
  if (textured && block.mTextureCoordinates[0].Count() != vertices) {
    scope.Report(partIndex, "is textured without texture coordinates");
  }
  if (!material.IsLit()) return;
  if (block.mNormals.Count() != vertices) {
    scope.Report(partIndex, "is lit without a normal per vertex");
    return;
  }
  for (const MM3DVector& normal : block.mNormals) {
    if (std::fabs(Length(normal) - 1.0f) > kUnitTolerance) {
      scope.Report(partIndex, "has a normal that is not of unit length");
      break;
    }
  }
  for (int32_t first = 0; first + 2 < block.mIndices.Count(); first += 3) {
    if (!WoundWithNormals(block, first)) {
      scope.Report(partIndex, "has a triangle wound against its normals");
      break;
    }
  }
}

void CheckMaterial(const MM3DMaterial& material, int32_t partIndex, ModelScope& scope) {
  const int32_t layers = material.GetLayerCount();
  if (material.GetTransparency() < 1.0f && (layers < 1 || layers > MM3DMaterial::kMaxLayers)) {
    scope.Report(partIndex, "has " + std::to_string(layers) + " layers");
  }
  for (int32_t i = 0; i < layers; ++i) {
    const MM3DTextureHandle& texture = material.GetLayer(i).GetTexture();
    if (texture.IsEmpty()) continue;
    const MMResourceId id = texture.GetTextureId();
    if (MMCollectionOf(id) != 0 || MMItemOf(id) < 0 || MMItemOf(id) >= scope.textureCount) {
      scope.Report(partIndex, "names texture " + std::to_string(MMItemOf(id)) +
                                  ", which the texture file lacks");
    }
  }
}

void CheckMesh(const MM3DDisplayTreeNodeIndexedMesh& mesh, ModelScope& scope) {
  for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
    const MM3DIndexedMeshPart& part = mesh.GetPart(p);
    if (part.mMaterial.IsEmpty()) {
      scope.Report(p, "has no material");
      continue;
    }
    CheckMaterial(*part.mMaterial, p, scope);
    for (const UURefCount<MM3DIndexedMeshVertexData>& block : part.mBlocks) {
      CheckBlock(*block, *part.mMaterial, p, scope);
    }
  }
}

int32_t TextureCount(const UUDirectory& directory) {
  MM3DTextureResourceFile file;
  if (!file.Open(directory, "vpl3d.MMX", false, false)) return 0;
  const int32_t count = file.GetSubfileCount();
  file.Close(false);
  return count;
}

}  // namespace

bool WoundWithNormals(const MM3DIndexedMeshVertexData& block, int32_t first) {
  const uint16_t* index = block.mIndices.Begin() + first;
  const MM3DVector& a = block.mPositions[index[0]];
  const MM3DVector& b = block.mPositions[index[1]];
  const MM3DVector& c = block.mPositions[index[2]];
  const float ux = b.mX - a.mX, uy = b.mY - a.mY, uz = b.mZ - a.mZ;
  const float vx = c.mX - a.mX, vy = c.mY - a.mY, vz = c.mZ - a.mZ;
  const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  if (nx * nx + ny * ny + nz * nz < 1e-14f) return true;
  float along = 0.0f;
  for (int32_t k = 0; k < 3; ++k) {
    const MM3DVector& n = block.mNormals[index[k]];
    along += nx * n.mX + ny * n.mY + nz * n.mZ;
  }
  // Views are left-handed: a front seen from outside turns counter-clockwise
  // on screen while the right-handed cross product of its edges points
  // against its outward normals.
  return along < 0.0f;
}

int32_t ModelBudget(const std::string& symbol) {
  const auto starts = [&symbol](const char* prefix) { return symbol.rfind(prefix, 0) == 0; };
  if (starts("primitive.")) return databuilder::kPrimitiveBudget;
  if (starts("ground.") || starts("sky.")) return databuilder::kBackdropBudget;
  if (starts("pomble")) return kPombleBudget;
  return databuilder::kInterfaceBudget;
}

Findings CheckModelRules(MM3DModel& model, const std::string& name, int32_t budget,
                         int32_t textureCount) {
  Findings findings;
  ModelScope scope{name, textureCount, findings};
  ForEachMesh(model.GetDisplayTree(),
              [&scope](const MM3DDisplayTreeNodeIndexedMesh& mesh) { CheckMesh(mesh, scope); });
  if (scope.triangles > budget) {
    findings.push_back(name + ": " + std::to_string(scope.triangles) +
                       " triangles, over the budget of " + std::to_string(budget));
  }
  return findings;
}

Findings CheckModels(const std::filesystem::path& folder, const databuilder::Manifest& manifest) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  const int32_t textureCount = TextureCount(directory);
  MM3DModelLoader* loader = MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false);
  if (loader == nullptr) return {"vpl3d.MMM does not open"};
  Findings findings;
  // The map gives materials their texture ids; nothing is loaded.
  MM3DDriverTextureMap textures;
  for (int16_t i = 0; i < loader->GetSubfileCount(); ++i) {
    const std::string symbol = manifest.GetSubfileName(databuilder::ItemKind::kModel, i);
    const std::string name = "m " + std::to_string(i) + " (" + symbol + ")";
    UURefCount<MM3DModel> model = loader->GetModel(i, &textures);
    if (model.IsEmpty()) {
      findings.push_back(name + " does not read");
      continue;
    }
    const Findings found = CheckModelRules(*model, name, ModelBudget(symbol), textureCount);
    findings.insert(findings.end(), found.begin(), found.end());
  }
  MM3DDestroyModelCollections();
  return findings;
}

}  // namespace content_check
