#pragma once
// Turns meshes into a model of the engine's own nodes: a root, transform
// nodes, indexed meshes whose parts carry Phong (or vertex-colour)
// materials, lights, cameras, splines and a clip of linear keys. Materials
// name textures by their ids in the texture file, through handles of a
// texture map that has no driver: nothing is loaded, only the ids are
// written.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DFunctionCurve.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/mesh/Mesh.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace databuilder {

struct MaterialSpec {
  Color color;
  // The texture's item in the texture file, or -1.
  int32_t texture = -1;
  bool clampTexture = false;
  // The vertices' own colours, unlit.
  bool vertexColor = false;
  // The colour (times the texture) whatever the lights: skies.
  bool unlit = false;
  float transparency = 0.0f;
  float specular = 0.6f;
  float specularPower = 32.0f;
  float incandescence = 0.0f;
  // The layer adds its light to what lies behind (blend (1, 1)): a glow
  // that a black colour leaves invisible.
  bool additive = false;
};

struct MeshPart {
  Mesh mesh;
  MaterialSpec material;
  // Colours and texture coordinates are written when the material uses
  // them, or when these ask for them (meshes the program copies).
  bool keepColors = false;
  bool keepCoordinates = false;
};

// One key of an animated channel: seconds and value.
using CurveKey = std::pair<float, float>;

class ModelBuilder {
 public:
  explicit ModelBuilder(MM3DDriverTextureMap& textures);
  ~ModelBuilder();

  MM3DDisplayTreeNodeRoot& GetRoot() { return *mRoot; }
  // A transform node under the parent (the root when null).
  MM3DDisplayTreeNodeSRTTransform* AddTransform(MM3DDisplayTreeNodeWithChildren* parent);
  // One mesh node of the parts, in order, under the parent (the root when
  // null); blocks are split at the engine's vertex limit.
  MM3DDisplayTreeNodeIndexedMesh* AddMesh(std::vector<MeshPart> parts,
                                          MM3DDisplayTreeNodeWithChildren* parent = nullptr);
  // The mesh node of the parts, in order, not yet in the tree: deformers
  // read its blocks before they take it as their child.
  UUOwned<MM3DDisplayTreeNodeIndexedMesh> MakeMesh(std::vector<MeshPart> parts);
  // Any node under the parent (the root when null); the tree owns it.
  template <typename Node>
  Node* AddNode(Node* node, MM3DDisplayTreeNodeWithChildren* parent) {
    (parent != nullptr ? parent : mRoot)->AddChild(UUOwned<MM3DDisplayTreeNode>(node));
    return node;
  }
  void AddLight(const UURefCount<MM3DLight>& light);
  void AddCamera(Vec3 eye, Vec3 interest);
  // A polyline spline below the root; closed repeats its first point.
  void AddPath(const std::vector<Vec3>& points, bool closed);
  // A channel of a transform node (the engine's channel codes), keys in
  // seconds; the clip ends at the latest key of all.
  void Animate(MM3DDisplayTreeNodeSRTTransform* node, int32_t channel,
               const std::vector<CurveKey>& keys);
  // A linear curve of the keys, which the clip then lasts at least to the
  // end of; for animations of any target, added with AddAnimation.
  UURefCount<MM3DFunctionCurve> MakeCurve(const std::vector<CurveKey>& keys);
  void AddAnimation(UUOwned<MM3DAnimation> animation);
  void AddNamedNode(const char* name, MM3DDisplayTreeNode* node);

  // The finished model; the builder is left empty.
  UURefCount<MM3DModel> Finish();

  UURefCount<MM3DMaterial> MakeMaterial(const MaterialSpec& spec);
  // The mesh's blocks: positions and normals always, colours and texture
  // coordinates when asked; triangles reversed for the engine's left-handed
  // views.
  static MM3DVertexDataBlocks MakeBlocks(const Mesh& mesh, bool colors, bool coordinates);

 private:
  MM3DDriverTextureMap& mTextures;
  MM3DDisplayTreeNodeRoot* mRoot;
  UUOwned<MM3DDisplayTreeNode> mOwnedRoot;
  std::unique_ptr<MM3DAnimationClip> mClip;
  std::vector<UURefCount<MM3DLight>> mLights;
  std::vector<UURefCount<MM3DCamera>> mCameras;
  std::vector<std::pair<std::string, MM3DDisplayTreeNode*>> mNames;
};

}  // namespace databuilder
