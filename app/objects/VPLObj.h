#pragma once
// The application's 3D object: a molecule showing one model, with its own
// scale, rotation and translation nodes put into the model's tree, a
// bounding volume around its meshes, picking by a world segment (the
// volume first, then the triangles), colour, material, texture and
// transparency given to all its meshes, a player for its animation's frame
// ranges and placement from a button-definition table. Every interface
// element and every created object is one.

#include "app/objects/VPLBoundingVolume.h"
#include "app/objects/VPLPicking.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DTextureHandle.h"
#include "mm3d/MM3DVector.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

#include <cstdint>
#include <memory>

class MM3DDisplayTreeNodeIndexedMesh;
class MM3DDisplayTreeNodeTransform;
class VPLVertexHolder;
struct RU3DTextStyle;
struct UURect;

class VPLObj : public MM3DModelMolecule {
 public:
  // The mipmaps word of every texture handle the application asks for.
  static constexpr int32_t kTextureMipmaps = 1;
  // How the materials' textures are sampled: repeated and filtered.
  static constexpr MM3DTextureKey kTextureKey{
      .mClamp = 0, .mLinear = 1, .mMipmaps = kTextureMipmaps};
  // A face's texture is never taller than this.
  static constexpr float kMaxFaceRows = 2048.0f;

  // Bounds, transform nodes under the tree's root, and with a script id the
  // placement of that button definition.
  VPLObj(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId scriptId = kMMNoResource);
  // Leaves its scene's ticked list, takes back the callbacks it queued and
  // frees its text texture. The transform nodes stay in the model's tree.
  ~VPLObj() override;

  virtual bool IsSame(const VPLObj* object) const { return object == this; }
  bool IsNotSame(const VPLObj* object) const { return !IsSame(object); }

  // Hidden meanwhile and shown at the end, whatever the visibility was.
  // With rebuild the transform nodes move into the new model; without it
  // they stay with the old one and the object has none.
  virtual void SetModel(const UURefCount<MM3DModel>& model, bool rebuild);
  virtual void SetModelById(MMResourceId id, bool rebuild);
  virtual void SetLocation(const MM3DVector& point);
  virtual MM3DVector GetWorldPosition() const { return mWorldPosition; }
  // x, y and z of the volume's corners; the w components are left alone.
  virtual void GetBounds(MM3DVector& min, MM3DVector& max) const;
  // A shown object whose volume and then one of whose visible triangles
  // the segment crosses.
  virtual bool HitTest(const VPLSegment& ray) const;
  virtual void RefreshBounds();
  virtual bool IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const;
  virtual bool PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
                       VPLVertexHolder* record) const;
  // Clip times in ms; equal start and end show that one frame.
  virtual void PlayAnimation(int32_t start, int32_t end, bool loop);
  // Layer 0 of every mesh's material.
  virtual void SetTexture(MM3DBlendFactors blend, const MM3DTextureHandle& texture);
  // The colour and its alpha as transparency of the plain coloured materials.
  virtual void SetColor(const MM3DColor& color);
  // The glow of the lit materials: incandescence, no ambient.
  virtual void SetMeshColor(const MM3DColor& color);
  // The colour of the last coloured (or lit) material; zeros without one.
  virtual MM3DColor GetColor() const;
  virtual MM3DColor GetLambertColor() const;
  // The hit part of the record's mesh, or else part 0 of every mesh.
  virtual void ApplyMaterial(const UURefCount<MM3DMaterial>& shader, const VPLVertexHolder* hit);
  virtual void Tick(int32_t /*clock*/) {}
  // The two colours of a materializer just applied: a created object pulses
  // between them, a preview shows the second. Nothing in the base.
  virtual void TakeMaterialColors(const MM3DColor& /*color*/, const MM3DColor& /*second*/) {}
  // Places the object by the button definition's tags 2 (position), 3
  // (scale) and 4 (rotation); -1 only stores the id.
  virtual void SetScriptId(MMResourceId id);

  virtual void SetScale(const float& x, const float& y, const float& z);
  virtual void ScaleBy(const float& x, const float& y, const float& z);
  // Radians, Rx x Ry x Rz.
  virtual void SetRotation(const float& x, const float& y, const float& z);
  virtual void RotateBy(const float& x, const float& y, const float& z);
  // Moving refreshes the bounds; scaling and rotating do not.
  virtual void SetPosition(const float& x, const float& y, const float& z);
  virtual void MoveBy(const float& x, const float& y, const float& z);
  // Where the translation node puts the object, and its position there.
  struct Placement {
    MM3DMatrix mTranslation = MM3DMatrixIdentity;
    MM3DVector mPosition{0.0f, 0.0f, 0.0f, 1.0f};
  };
  Placement GetPlacement() const;
  // Sets the translation and the position as a move does, and nothing else:
  // the bounds and whatever follows a move stay, so a placement held only
  // for a moment (a write at the origin) is cheap, and giving the old one
  // back leaves the object exactly as it was. Nothing without a
  // translation node.
  void SetPlacement(const Placement& placement);
  static Placement PlacementAt(const MM3DVector& point);
  // The vector forms use x, y and z; w is ignored.
  void SetScale(const MM3DVector& v) { SetScale(v.mX, v.mY, v.mZ); }
  void SetRotation(const MM3DVector& v) { SetRotation(v.mX, v.mY, v.mZ); }
  void RotateBy(const MM3DVector& v) { RotateBy(v.mX, v.mY, v.mZ); }
  void SetPosition(const MM3DVector& v) { SetPosition(v.mX, v.mY, v.mZ); }
  void MoveBy(const MM3DVector& v) { MoveBy(v.mX, v.mY, v.mZ); }

  // Missing nodes come between the anchor and its children; present ones stay.
  virtual void CreateTransformNodes();
  virtual void RemoveTransformNodes();
  virtual void BuildBounds();

  // Above 1 counts as 1; stored only when a coloured material takes it.
  void SetAlpha(float transparency);
  MM3DMatrix GetScaleMatrix() const;
  // Shows the text, drawn around the centre of the rectangle made as tall
  // as the object's face (FaceRect), as the texture of every mesh (the
  // application's string textures); the object keeps one text texture and
  // replaces it on the next call. False when the collection gives no
  // texture.
  bool RenderText(const UURect& rect, const char* text, const RU3DTextStyle& style);
  // The rectangle's width with the height that gives it the proportions of
  // the object's face (its width and height across x and y as shown), so
  // that a texture drawn in it is not stretched; the rectangle itself for
  // a face without extent.
  UURect FaceRect(const UURect& rect) const;
  // The same with the page of the credits script (the image textures).
  bool RenderImage(const UURect& rect, int16_t page);
  MMResourceId GetTextTextureId() const { return mTextTextureId; }

  MMResourceId GetScriptId() const { return mScriptId; }
  float GetAlpha() const { return mTransparency; }
  const MM3DColor& GetStoredColor() const { return mColor; }
  const VPLBoundingVolume& GetBoundingVolume() const { return *mBounds; }
  MM3DDisplayTreeNodeTransform* GetScaleNode() const { return mScaleNode; }
  MM3DDisplayTreeNodeTransform* GetRotationNode() const { return mRotationNode; }
  MM3DDisplayTreeNodeTransform* GetTranslationNode() const { return mTranslationNode; }

 protected:
  // The scale, rotation and translation nodes of one model's tree.
  struct TransformNodes {
    MM3DDisplayTreeNodeTransform* mScale = nullptr;
    MM3DDisplayTreeNodeTransform* mRotation = nullptr;
    MM3DDisplayTreeNodeTransform* mTranslation = nullptr;
  };
  TransformNodes GetTransformNodes() const { return {mScaleNode, mRotationNode, mTranslationNode}; }
  void SetTransformNodes(const TransformNodes& nodes);
  // Fills the missing nodes, put into the model's tree under the anchor.
  void CreateTransformNodesIn(const MM3DModel& model, TransformNodes& nodes) const;
  // Hands each node's children to its parent and deletes it.
  static void RemoveTransformNodesOf(TransformNodes& nodes);
  // The nodes a model about to be shown already holds for this object:
  // none, unless the object keeps several looks.
  virtual TransformNodes NodesInModel(const UURefCount<MM3DModel>& /*model*/) const { return {}; }

  // The model node the transform nodes go under (null: the tree's root);
  // the text is not copied.
  void SetAnchorName(const char* name) { mAnchorName = name; }
  void SetBoundingVolume(std::unique_ptr<VPLBoundingVolume> bounds) { mBounds = std::move(bounds); }
  // The corners of the box around every vertex of every mesh in world
  // space; the point (0, 0, 0) when there is none.
  void MeasureMeshes(MM3DVector& min, MM3DVector& max) const;
  // Posts the callback on this object's behalf: it is withdrawn if the
  // object goes before it runs.
  void PostOwned(const MMTaskCallback& callback) const { callback.Post(this); }

 private:
  MM3DDisplayTreeNodeWithChildren* TransformParent(const MM3DModel& model) const;
  // Every indexed mesh of the model, in walk order.
  UUGrowableArray<MM3DDisplayTreeNode*> Meshes() const;
  // Sets the translation node's matrix and follows it with the position.
  void PlaceAt(const MM3DMatrix& translation);
  // Loads the text texture at once and puts it on the meshes.
  bool ShowTextTexture();
  // Takes the text texture off the meshes and frees its item.
  void ReleaseTextTexture();

  const char* mAnchorName = nullptr;
  std::unique_ptr<VPLBoundingVolume> mBounds;
  MMResourceId mScriptId = kMMNoResource;
  MM3DDisplayTreeNodeTransform* mScaleNode = nullptr;
  MM3DDisplayTreeNodeTransform* mRotationNode = nullptr;
  MM3DDisplayTreeNodeTransform* mTranslationNode = nullptr;
  MM3DVector mWorldPosition{0.0f, 0.0f, 0.0f, 1.0f};
  float mTransparency = 0.0f;
  MM3DColor mColor{0.0f, 0.0f, 0.0f, 0.0f};
  MMResourceId mTextTextureId = kMMNoResource;
};
