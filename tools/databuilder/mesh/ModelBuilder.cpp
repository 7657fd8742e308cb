#include "tools/databuilder/mesh/ModelBuilder.h"

#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DNodeAnimations.h"

#include <algorithm>
#include <map>

namespace databuilder {

namespace {

MM3DColor Scaled(const Color& c, float s) { return MM3DColor{c.r * s, c.g * s, c.b * s, 1.0f}; }

MM3DVector Point(Vec3 p) { return MM3DVector(p.x, p.y, p.z, 1.0f); }

void AddBlockVertex(MM3DIndexedMeshVertexData& block, const Vertex& v, bool colors,
                    bool coordinates) {
  block.mPositions.Append(Point(v.position));
  block.mNormals.Append(MM3DVector(v.normal.x, v.normal.y, v.normal.z, 0.0f));
  if (colors) {
    MM3DPackedColor packed;
    packed.SetFromColor(MM3DColor{v.color.r, v.color.g, v.color.b, v.color.a});
    block.mColors.Append(packed);
  }
  if (coordinates) block.mTextureCoordinates[0].Append(MM3DTextureCoordinate{v.uv.x, v.uv.y});
}

}  // namespace

ModelBuilder::ModelBuilder(MM3DDriverTextureMap& textures)
    : mTextures(textures),
      mRoot(new MM3DDisplayTreeNodeRoot),
      mOwnedRoot(mRoot),
      mClip(std::make_unique<MM3DAnimationClip>()) {}

ModelBuilder::~ModelBuilder() = default;

MM3DDisplayTreeNodeSRTTransform* ModelBuilder::AddTransform(
    MM3DDisplayTreeNodeWithChildren* parent) {
  auto* node = new MM3DDisplayTreeNodeSRTTransform;
  (parent != nullptr ? parent : mRoot)->AddChild(UUOwned<MM3DDisplayTreeNode>(node));
  return node;
}

UURefCount<MM3DMaterial> ModelBuilder::MakeMaterial(const MaterialSpec& spec) {
  UURefCount<MM3DMaterial> material;
  if (spec.vertexColor) {
    material = UURefCount<MM3DMaterial>(new MM3DMaterialVertexColor);
  } else if (spec.unlit) {
    material = UURefCount<MM3DMaterial>(new MM3DMaterialConstant(Scaled(spec.color, 1.0f)));
  } else {
    const MM3DColor specular{spec.specular, spec.specular, spec.specular, 1.0f};
    material = UURefCount<MM3DMaterial>(new MM3DMaterialPhong(
        0.0f, Scaled(spec.color, 1.0f), 1.0f, Scaled(spec.color, 0.35f),
        Scaled(spec.color, spec.incandescence), specular, spec.specularPower));
  }
  MM3DTextureHandle texture;
  if (spec.texture >= 0) {
    const MM3DTextureKey key{.mClamp = spec.clampTexture ? 1 : 0, .mLinear = 1, .mMipmaps = 0};
    texture = mTextures.GetHandle(MMMakeResourceId(0, static_cast<uint16_t>(spec.texture)), key);
  }
  const MM3DBlendFactors blend{kMM3DBlendOne, spec.additive ? kMM3DBlendOne : kMM3DBlendZero};
  material->AddTextureLayer(MM3DMaterialTextureLayer(blend, texture));
  if (spec.transparency > 0.0f) material->SetTransparency(spec.transparency);
  return material;
}

MM3DVertexDataBlocks ModelBuilder::MakeBlocks(const Mesh& mesh, bool colors, bool coordinates) {
  MM3DVertexDataBlocks blocks;
  UURefCount<MM3DIndexedMeshVertexData> block;
  std::map<uint32_t, uint16_t> local;
  // A mesh that fits one block keeps its vertex order: the program reads
  // some vertices by their place (a slider's ends, a strip's white end).
  const bool whole =
      static_cast<int32_t>(mesh.mVertices.size()) <= MM3DIndexedMeshVertexData::kMaxVertexCount;
  for (size_t i = 0; i + 2 < mesh.mIndices.size(); i += 3) {
    if (block.IsEmpty() ||
        block->GetVertexCount() + 3 > MM3DIndexedMeshVertexData::kMaxVertexCount) {
      block = UURefCount<MM3DIndexedMeshVertexData>(new MM3DIndexedMeshVertexData);
      blocks.Append(block);
      local.clear();
      if (whole) {
        for (uint32_t v = 0; v < mesh.mVertices.size(); ++v) {
          local.emplace(v, static_cast<uint16_t>(v));
          AddBlockVertex(*block, mesh.mVertices[v], colors, coordinates);
        }
      }
    }
    // The engine's views are left-handed: a front it draws winds
    // counter-clockwise on screen, which in this library's right-handed
    // terms is clockwise. So each triangle is written reversed.
    for (size_t k : {size_t{0}, size_t{2}, size_t{1}}) {
      const uint32_t index = mesh.mIndices[i + k];
      auto [it, added] = local.try_emplace(index, static_cast<uint16_t>(block->GetVertexCount()));
      if (added) AddBlockVertex(*block, mesh.mVertices[index], colors, coordinates);
      block->mIndices.Append(it->second);
    }
  }
  return blocks;
}

MM3DDisplayTreeNodeIndexedMesh* ModelBuilder::AddMesh(std::vector<MeshPart> parts,
                                                      MM3DDisplayTreeNodeWithChildren* parent) {
  return AddNode(MakeMesh(std::move(parts)).Release(), parent);
}

UUOwned<MM3DDisplayTreeNodeIndexedMesh> ModelBuilder::MakeMesh(std::vector<MeshPart> parts) {
  UUOwned<MM3DDisplayTreeNodeIndexedMesh> node(new MM3DDisplayTreeNodeIndexedMesh);
  for (MeshPart& part : parts) {
    MM3DIndexedMeshPart meshPart;
    meshPart.mMaterial = MakeMaterial(part.material);
    meshPart.mBlocks = MakeBlocks(part.mesh, part.material.vertexColor || part.keepColors,
                                  part.material.texture >= 0 || part.keepCoordinates);
    node->AddPart(meshPart);
  }
  return node;
}

void ModelBuilder::AddLight(const UURefCount<MM3DLight>& light) {
  mRoot->AddChild(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeLight(light)));
  mLights.push_back(light);
}

void ModelBuilder::AddCamera(Vec3 eye, Vec3 interest) {
  mCameras.push_back(UURefCount<MM3DCamera>(
      new MM3DCamera(Point(eye), UUOwned<MM3DVector>(new MM3DVector(Point(interest))), 0.0f)));
}

void ModelBuilder::AddPath(const std::vector<Vec3>& points, bool closed) {
  UUGrowableArray<MM3DVector> array;
  for (Vec3 p : points) array.Append(Point(p));
  UURefCount<MM3DSpline> spline(new MM3DLinearSpline(array, closed));
  mRoot->AddChild(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeSpline(spline)));
}

void ModelBuilder::Animate(MM3DDisplayTreeNodeSRTTransform* node, int32_t channel,
                           const std::vector<CurveKey>& keys) {
  AddAnimation(UUOwned<MM3DAnimation>(new MM3DSRTAnimation(node, MakeCurve(keys), channel)));
}

UURefCount<MM3DFunctionCurve> ModelBuilder::MakeCurve(const std::vector<CurveKey>& keys) {
  UUGrowableArray<MM3DLinearCurveKey> array;
  for (const CurveKey& key : keys) {
    array.Append(MM3DLinearCurveKey(key.first, key.second));
    mClip->SetEndTime(std::max(mClip->GetEndTime(), key.first));
  }
  return UURefCount<MM3DFunctionCurve>(new MM3DLinearFunctionCurve(array, kMM3DPlainValue));
}

void ModelBuilder::AddAnimation(UUOwned<MM3DAnimation> animation) {
  mClip->AddAnimation(std::move(animation));
}

void ModelBuilder::AddNamedNode(const char* name, MM3DDisplayTreeNode* node) {
  mNames.emplace_back(name, node);
}

UURefCount<MM3DModel> ModelBuilder::Finish() {
  UUOwned<MM3DAnimationClip> clip;
  if (mClip->GetEndTime() > 0.0f) clip = UUOwned<MM3DAnimationClip>(mClip.release());
  UURefCount<MM3DModel> model(new MM3DModel(std::move(mOwnedRoot), std::move(clip)));
  for (const UURefCount<MM3DLight>& light : mLights) model->GetLights().PushBack(light);
  for (const UURefCount<MM3DCamera>& camera : mCameras) model->GetCameras().PushBack(camera);
  for (const auto& [name, node] : mNames) model->AddNamedNode(name.c_str(), node);
  return model;
}

}  // namespace databuilder
