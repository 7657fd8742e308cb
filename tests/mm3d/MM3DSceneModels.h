#pragma once
// Models of a small 3D scene, for the framework's demonstration and the 3D
// act benchmark: a lit, textured cube turned to show two faces, one facing
// the model's directional light and one edge-on to it, and a square of
// vertex colours that the model's clip slides along x; a model of those
// lights alone, and a model of one mesh placed in the scene.

#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <cmath>
#include <cstdint>

namespace scene_models {

// The cube's centre, half its side and its turn about y; the camera looks
// along +z from the origin.
constexpr float kCubeDistance = 10.0f;
constexpr float kCubeHalfSide = 1.0f;
constexpr float kCubeTurn = 0.7853982f;  // 45 degrees
// The ambient light every face gets; the face that looks at the
// directional light gets all of it on top.
constexpr float kAmbient = 0.25f;
// The square: its height above the cube, half its side, and the x its clip
// moves it between, at 0 s and at the clip's end.
constexpr float kSquareHeight = 2.5f;
constexpr float kSquareHalfSide = 0.5f;
constexpr float kSquareStartX = -3.0f;
constexpr float kSquareEndX = 3.0f;
constexpr float kSquareClipEnd = 1.0f;
constexpr MM3DPackedColor kSquareColor{255, 0, 255, 255};
// The channel of an SRT node's translation x.
constexpr int32_t kTranslateX = 19;
constexpr MM3DBlendFactors kReplace{kMM3DBlendOne, kMM3DBlendZero};

// A face of four corners, two counter-clockwise triangles seen from
// outside (u x v points inward); texture v runs up the face.
inline void AddFace(MM3DIndexedMeshVertexData& block, const MM3DVector& centre, const MM3DVector& u,
                    const MM3DVector& v, const MM3DVector& normal, const MM3DPackedColor& color) {
  const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  const auto first = static_cast<uint16_t>(block.mPositions.Count());
  for (const auto& s : signs) {
    block.mPositions.Append(MM3DVector(centre.mX + s[0] * u.mX + s[1] * v.mX,
                                       centre.mY + s[0] * u.mY + s[1] * v.mY,
                                       centre.mZ + s[0] * u.mZ + s[1] * v.mZ, 1.0f));
    block.mNormals.Append(normal);
    block.mColors.Append(color);
    block.mTextureCoordinates[0].Append(
        MM3DTextureCoordinate{(s[0] + 1.0f) / 2.0f, (s[1] + 1.0f) / 2.0f});
  }
  for (const int corner : {0, 1, 2, 0, 2, 3}) {
    block.mIndices.Append(static_cast<uint16_t>(first + corner));
  }
}

inline UURefCount<MM3DIndexedMeshVertexData> CubeBlock(float half) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  const MM3DPackedColor white{255, 255, 255, 255};
  struct Face {
    MM3DVector mNormal, mU, mV;
  };
  const Face faces[] = {
      {{0, 0, -1, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}}, {{0, 0, 1, 0}, {-1, 0, 0, 0}, {0, 1, 0, 0}},
      {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}},  {{-1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}},
      {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}},  {{0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, -1, 0}},
  };
  for (const Face& face : faces) {
    MM3DVector centre = face.mNormal;
    centre.Scale(half);
    MM3DVector u = face.mU;
    MM3DVector v = face.mV;
    u.Scale(half);
    v.Scale(half);
    AddFace(*block, centre, u, v, face.mNormal, white);
  }
  return block;
}

inline MM3DDisplayTreeNodeIndexedMesh* Mesh(const UURefCount<MM3DMaterial>& material,
                                            const UURefCount<MM3DIndexedMeshVertexData>& block) {
  MM3DIndexedMeshPart part;
  part.mMaterial = material;
  part.mBlocks.Append(block);
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  mesh->AddPart(part);
  return mesh;
}

// White and fully diffuse, giving no light of its own, with the texture
// (none when the handle is empty) as its one layer.
inline UURefCount<MM3DMaterial> LitMaterial(const MM3DTextureHandle& texture) {
  const MM3DColor white{1.0f, 1.0f, 1.0f, 1.0f};
  const MM3DColor none{0.0f, 0.0f, 0.0f, 1.0f};
  UURefCount<MM3DMaterial> material(new MM3DMaterialLambert(0.0f, white, 1.0f, none, none));
  material->AddTextureLayer(MM3DMaterialTextureLayer(kReplace, texture));
  return material;
}

inline UURefCount<MM3DMaterial> VertexColorMaterial() {
  UURefCount<MM3DMaterial> material(new MM3DMaterialVertexColor);
  material->AddTextureLayer(MM3DMaterialTextureLayer(kReplace, MM3DTextureHandle()));
  return material;
}

// The direction toward the light: straight along the outward normal of the
// cube's face that its turn shows on the left.
inline MM3DVector TowardTheLight() {
  return MM3DVector(-std::sin(kCubeTurn), 0.0f, -std::cos(kCubeTurn), 0.0f);
}

// A white directional light toward TowardTheLight and the ambient light.
inline void AddLights(MM3DModel& model) {
  const MM3DColor white{1.0f, 1.0f, 1.0f, 1.0f};
  model.GetLights().PushBack(
      UURefCount<MM3DLight>(new MM3DInfiniteLightSource(white, 1.0f, TowardTheLight())));
  model.GetLights().PushBack(UURefCount<MM3DLight>(new MM3DAmbientLightSource(white, kAmbient)));
}

inline UURefCount<MM3DModel> MakeCubeAndSquare(const MM3DTextureHandle& texture) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  MM3DDisplayTreeNodeSRTTransform* cube = model_fixtures::AddPart(*root, 0.0f, 0.0f);
  cube->SetTranslationZ(kCubeDistance);
  cube->SetRotationY(kCubeTurn);
  cube->AddChild(
      UUOwned<MM3DDisplayTreeNode>(Mesh(LitMaterial(texture), CubeBlock(kCubeHalfSide))));

  MM3DDisplayTreeNodeSRTTransform* square =
      model_fixtures::AddPart(*root, kSquareStartX, kSquareHeight);
  square->SetTranslationZ(kCubeDistance);
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  AddFace(*block, MM3DVector(0, 0, 0, 1), MM3DVector(kSquareHalfSide, 0, 0, 0),
          MM3DVector(0, kSquareHalfSide, 0, 0), MM3DVector(0, 0, -1, 0), kSquareColor);
  square->AddChild(UUOwned<MM3DDisplayTreeNode>(Mesh(VertexColorMaterial(), block)));

  auto* clip = new MM3DAnimationClip;
  clip->SetEndTime(kSquareClipEnd);
  clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DSRTAnimation(
      square, model_fixtures::Curve({{0.0f, kSquareStartX}, {kSquareClipEnd, kSquareEndX}}),
      kTranslateX)));
  UURefCount<MM3DModel> model(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>(clip)));
  AddLights(*model);
  return model;
}

inline UURefCount<MM3DModel> MakeLights() {
  UURefCount<MM3DModel> model(new MM3DModel);
  AddLights(*model);
  return model;
}

// The mesh of one part, moved to the point.
inline UURefCount<MM3DModel> MakePlacedMesh(const UURefCount<MM3DIndexedMeshVertexData>& block,
                                            const UURefCount<MM3DMaterial>& material, float x,
                                            float y, float z) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  MM3DDisplayTreeNodeSRTTransform* place = model_fixtures::AddPart(*root, x, y);
  place->SetTranslationZ(z);
  place->AddChild(UUOwned<MM3DDisplayTreeNode>(Mesh(material, block)));
  return UURefCount<MM3DModel>(new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), {}));
}

}  // namespace scene_models
