#include "app/objects/VPLObj.h"

#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUOwned.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterialLambert.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int16_t kPositionTag = 2;
constexpr int16_t kScaleTag = 3;
constexpr int16_t kRotationTag = 4;
constexpr MM3DColor kNoColor{0.0f, 0.0f, 0.0f, 0.0f};
// The blend pair of the plain layer a coloured material gets when it has none.
constexpr MM3DBlendFactors kPlainLayerBlend{kMM3DBlendOne, kMM3DBlendZero};
const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

MM3DDisplayTreeNodeIndexedMesh& AsMesh(MM3DDisplayTreeNode* node) {
  return static_cast<MM3DDisplayTreeNodeIndexedMesh&>(*node);
}

// Calls visit(material) for the material of every part of every mesh that
// is of the kind M.
template <typename M, typename Visit>
void ForEachMaterial(const UUGrowableArray<MM3DDisplayTreeNode*>& meshes, Visit visit) {
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    const MM3DDisplayTreeNodeIndexedMesh& mesh = AsMesh(meshes[m]);
    for (int32_t i = 0; i < mesh.GetPartCount(); ++i) {
      if (auto* material = dynamic_cast<M*>(mesh.GetPart(i).mMaterial.Get())) visit(*material);
    }
  }
}

void EnsureLayer(MM3DMaterial& material) {
  if (material.GetLayerCount() == 0) {
    material.AddTextureLayer(MM3DMaterialTextureLayer(kPlainLayerBlend, MM3DTextureHandle()));
  }
}

MM3DVector ReadPlacement(const VPLScript& definition, int16_t tag, bool& found) {
  MM3DVector v(0.0f, 0.0f, 0.0f, 0.0f);
  found = definition.FindTag(tag) >= 0 && VPLReadVectorTable(definition.GetTagScriptId(tag), v);
  return v;
}

// A neutral transform node put between the parent and its children.
MM3DDisplayTreeNodeTransform* Interpose(MM3DDisplayTreeNodeWithChildren& parent) {
  auto* node = new MM3DDisplayTreeNodeTransform;
  parent.InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(node));
  return node;
}

void Remove(MM3DDisplayTreeNodeTransform*& node) {
  if (node == nullptr) return;
  node->MoveChildrenToParent();
  if (MM3DDisplayTreeNodeWithChildren* parent = node->GetParent()) parent->RemoveChild(node);
  node = nullptr;
}

void MultiplyInto(MM3DDisplayTreeNodeTransform* node, const MM3DMatrix& by) {
  if (node == nullptr) return;
  MM3DMatrix matrix = node->GetMatrix();
  matrix *= by;
  node->SetMatrix(matrix);
}

}  // namespace

VPLObj::VPLObj(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId scriptId)
    : MM3DModelMolecule(scene, model) {
  VPLObj::BuildBounds();
  VPLObj::CreateTransformNodes();
  if (scriptId != kMMNoResource) VPLObj::SetScriptId(scriptId);
}

VPLObj::~VPLObj() {
  ReleaseTextTexture();
  if (auto* scene = dynamic_cast<VPLSceneBase*>(GetScene())) scene->ForgetObject(this);
  if (MMTaskClient* client = GetTaskClient()) client->GetManager()->CancelOwner(this);
}

UUGrowableArray<MM3DDisplayTreeNode*> VPLObj::Meshes() const {
  return VPLFindMeshes(HasDisplayTree() ? GetDisplayTreeRoot() : nullptr);
}

void VPLObj::SetModel(const UURefCount<MM3DModel>& model, bool rebuild) {
  SetVisibility(kMMHidden);
  if (rebuild) {
    RemoveTransformNodes();
  } else {
    // The nodes belong to the old model's tree, which may go with it; the
    // new model may hold nodes of this object already.
    SetTransformNodes(NodesInModel(model));
  }
  ReplaceModel(model);
  RefreshBounds();
  if (rebuild) CreateTransformNodes();
  SetScriptId(mScriptId);
  SetVisibility(kMMShown);
}

void VPLObj::SetModelById(MMResourceId id, bool rebuild) {
  SetModel(LoadModel(GetScene(), id), rebuild);
}

void VPLObj::SetLocation(const MM3DVector& point) { SetPosition(point.mX, point.mY, point.mZ); }

void VPLObj::GetBounds(MM3DVector& min, MM3DVector& max) const {
  const MM3DVector low = mBounds->GetMin();
  const MM3DVector high = mBounds->GetMax();
  min = MM3DVector(low.mX, low.mY, low.mZ, min.mW);
  max = MM3DVector(high.mX, high.mY, high.mZ, max.mW);
}

bool VPLObj::HitTest(const VPLSegment& ray) const {
  return GetVisibility() == kMMShown && mBounds->IntersectsSegment(ray.mStart, ray.mEnd) &&
         VPLHitsModel(*this, ray.mStart, ray.mEnd);
}

void VPLObj::RefreshBounds() {
  mBounds.reset();
  BuildBounds();
}

bool VPLObj::IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const {
  return mBounds->IntersectsSegment(a, b);
}

bool VPLObj::PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
                     VPLVertexHolder* record) const {
  return VPLPickModel(*this, a, b, hit, record);
}

void VPLObj::PlayAnimation(int32_t start, int32_t end, bool loop) {
  MM3DAnimationPlayer* player = GetAnimationPlayer();
  if (player == nullptr) return;
  if (player->IsPlaying()) player->Stop();
  player->Play(start, end, loop);
}

void VPLObj::SetTexture(MM3DBlendFactors blend, const MM3DTextureHandle& texture) {
  ForEachMaterial<MM3DMaterial>(Meshes(), [&](MM3DMaterial& material) {
    MM3DMaterialTextureLayer layer(blend, texture);
    if (!material.SetTextureLayer(0, std::move(layer))) {
      material.AddTextureLayer(MM3DMaterialTextureLayer(blend, texture));
    }
  });
}

void VPLObj::SetColor(const MM3DColor& color) {
  ForEachMaterial<MM3DMaterialWithColor>(Meshes(), [&](MM3DMaterialWithColor& material) {
    EnsureLayer(material);
    material.SetColor(color);
    material.SetTransparency(color.mA);
  });
  mColor = color;
}

void VPLObj::SetMeshColor(const MM3DColor& color) {
  ForEachMaterial<MM3DMaterialLambert>(Meshes(), [&](MM3DMaterialLambert& material) {
    EnsureLayer(material);
    material.SetAmbient(kNoColor);
    material.SetIncandescence(color);
    material.SetTransparency(color.mA);
  });
  mColor = color;
}

MM3DColor VPLObj::GetColor() const {
  MM3DColor color = kNoColor;
  ForEachMaterial<MM3DMaterialWithColor>(
      Meshes(), [&](const MM3DMaterialWithColor& material) { color = material.GetColor(); });
  return color;
}

MM3DColor VPLObj::GetLambertColor() const {
  MM3DColor color = kNoColor;
  ForEachMaterial<MM3DMaterialLambert>(
      Meshes(), [&](const MM3DMaterialLambert& material) { color = material.GetColor(); });
  return color;
}

void VPLObj::ApplyMaterial(const UURefCount<MM3DMaterial>& shader, const VPLVertexHolder* hit) {
  if (hit != nullptr && hit->mNode != nullptr) {
    if (hit->mPart >= 0 && hit->mPart < hit->mNode->GetPartCount()) {
      hit->mNode->SetPartShader(hit->mPart, shader);
    }
    return;
  }
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = Meshes();
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    if (AsMesh(meshes[m]).GetPartCount() > 0) AsMesh(meshes[m]).SetPartShader(0, shader);
  }
}

void VPLObj::SetScriptId(MMResourceId id) {
  mScriptId = id;
  if (id == kMMNoResource) return;
  const VPLScript definition(id, kVPLButtonDefinition);
  bool found = false;
  const MM3DVector position = ReadPlacement(definition, kPositionTag, found);
  if (found) SetPosition(position);
  const MM3DVector scale = ReadPlacement(definition, kScaleTag, found);
  if (found) SetScale(scale);
  const MM3DVector rotation = ReadPlacement(definition, kRotationTag, found);
  if (found) SetRotation(rotation);
}

void VPLObj::SetScale(const float& x, const float& y, const float& z) {
  if (mScaleNode == nullptr) return;
  MM3DMatrix matrix;
  MM3DMatrixScale(matrix, x, y, z);
  mScaleNode->SetMatrix(matrix);
}

void VPLObj::ScaleBy(const float& x, const float& y, const float& z) {
  MM3DMatrix by;
  MM3DMatrixScale(by, x, y, z);
  MultiplyInto(mScaleNode, by);
}

void VPLObj::SetRotation(const float& x, const float& y, const float& z) {
  if (mRotationNode == nullptr) return;
  MM3DMatrix matrix;
  MM3DMatrixRotationXYZ(matrix, x, y, z);
  mRotationNode->SetMatrix(matrix);
}

void VPLObj::RotateBy(const float& x, const float& y, const float& z) {
  MM3DMatrix by;
  MM3DMatrixRotationXYZ(by, x, y, z);
  MultiplyInto(mRotationNode, by);
}

void VPLObj::SetPosition(const float& x, const float& y, const float& z) {
  if (mTranslationNode == nullptr) return;
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  PlaceAt(matrix);
}

void VPLObj::MoveBy(const float& x, const float& y, const float& z) {
  if (mTranslationNode == nullptr) return;
  MM3DMatrix by;
  MM3DMatrixTranslation(by, x, y, z);
  MM3DMatrix matrix = mTranslationNode->GetMatrix();
  matrix *= by;
  PlaceAt(matrix);
}

void VPLObj::PlaceAt(const MM3DMatrix& translation) {
  mTranslationNode->SetMatrix(translation);
  translation.TransformPoint(mWorldPosition, kOrigin);
  RefreshBounds();
}

VPLObj::Placement VPLObj::GetPlacement() const {
  if (mTranslationNode == nullptr) return {.mPosition = mWorldPosition};
  return {.mTranslation = mTranslationNode->GetMatrix(), .mPosition = mWorldPosition};
}

void VPLObj::SetPlacement(const Placement& placement) {
  if (mTranslationNode == nullptr) return;
  mTranslationNode->SetMatrix(placement.mTranslation);
  mWorldPosition = placement.mPosition;
}

VPLObj::Placement VPLObj::PlacementAt(const MM3DVector& point) {
  Placement placement;
  MM3DMatrixTranslation(placement.mTranslation, point.mX, point.mY, point.mZ);
  placement.mTranslation.TransformPoint(placement.mPosition, kOrigin);
  return placement;
}

MM3DDisplayTreeNodeWithChildren* VPLObj::TransformParent(const MM3DModel& model) const {
  if (!model.HasDisplayTree()) return nullptr;
  if (mAnchorName != nullptr) {
    if (auto* anchor =
            dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(model.FindNamedNode(mAnchorName))) {
      return anchor;
    }
  }
  return dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(model.GetDisplayTree());
}

void VPLObj::CreateTransformNodesIn(const MM3DModel& model, TransformNodes& nodes) const {
  MM3DDisplayTreeNodeWithChildren* parent = TransformParent(model);
  if (parent == nullptr) return;
  for (MM3DDisplayTreeNodeTransform** node :
       {&nodes.mScale, &nodes.mRotation, &nodes.mTranslation}) {
    if (*node == nullptr) *node = Interpose(*parent);
  }
}

void VPLObj::RemoveTransformNodesOf(TransformNodes& nodes) {
  Remove(nodes.mScale);
  Remove(nodes.mRotation);
  Remove(nodes.mTranslation);
}

void VPLObj::CreateTransformNodes() {
  if (GetModel().Get() == nullptr) return;
  TransformNodes nodes = GetTransformNodes();
  CreateTransformNodesIn(*GetModel(), nodes);
  SetTransformNodes(nodes);
}

void VPLObj::RemoveTransformNodes() {
  TransformNodes nodes = GetTransformNodes();
  RemoveTransformNodesOf(nodes);
  SetTransformNodes(nodes);
}

void VPLObj::SetTransformNodes(const TransformNodes& nodes) {
  mScaleNode = nodes.mScale;
  mRotationNode = nodes.mRotation;
  mTranslationNode = nodes.mTranslation;
}

void VPLObj::MeasureMeshes(MM3DVector& min, MM3DVector& max) const {
  bool any = false;
  min = max = kOrigin;
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = Meshes();
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    MM3DMatrix world = MM3DMatrixIdentity;
    meshes[m]->GetWorldMatrix(world);
    const MM3DDisplayTreeNodeIndexedMesh& mesh = AsMesh(meshes[m]);
    for (int32_t i = 0; i < mesh.GetPartCount(); ++i) {
      const MM3DVertexDataBlocks& blocks = mesh.GetPart(i).mBlocks;
      for (int32_t j = 0; j < blocks.Count(); ++j) {
        if (!blocks[j]) continue;
        const UUGrowableArray<MM3DVector>& positions = blocks[j]->mPositions;
        for (int32_t v = 0; v < positions.Count(); ++v) {
          MM3DVector p;
          world.TransformPoint(p, positions[v]);
          if (!any) min = max = p;
          any = true;
          min = MM3DVector(std::min(min.mX, p.mX), std::min(min.mY, p.mY), std::min(min.mZ, p.mZ),
                           1.0f);
          max = MM3DVector(std::max(max.mX, p.mX), std::max(max.mY, p.mY), std::max(max.mZ, p.mZ),
                           1.0f);
        }
      }
    }
  }
}

void VPLObj::BuildBounds() {
  MM3DVector min;
  MM3DVector max;
  MeasureMeshes(min, max);
  mBounds = std::make_unique<VPLBoundingBox>(min.mX, min.mY, min.mZ, max.mX, max.mY, max.mZ);
}

void VPLObj::SetAlpha(float transparency) {
  const float t = std::min(transparency, 1.0f);
  bool taken = false;
  ForEachMaterial<MM3DMaterialWithColor>(Meshes(), [&](MM3DMaterialWithColor& material) {
    material.SetTransparency(t);
    taken = true;
  });
  if (taken) mTransparency = t;
}

MM3DMatrix VPLObj::GetScaleMatrix() const {
  return mScaleNode != nullptr ? mScaleNode->GetMatrix() : MM3DMatrixIdentity;
}

namespace {

// Text textures are not repeated across the meshes, and are shown at
// about their own size: smaller mip levels would only blur the letters.
constexpr MM3DTextureKey kTextTextureKey{.mClamp = 1, .mLinear = 1, .mMipmaps = 0};

// Whether the id names an item of the collection.
bool Belongs(MMResourceId id, const MM3DTextureCollection& collection) {
  return id != kMMNoResource && MMCollectionOf(id) == collection.GetCollectionNumber();
}

UUPoint CentreOf(const UURect& rect) {
  return UUPoint{rect.mLeft + rect.GetWidth() / 2, rect.mTop + rect.GetHeight() / 2};
}

}  // namespace

UURect VPLObj::FaceRect(const UURect& rect) const {
  MM3DVector min;
  MM3DVector max;
  MeasureMeshes(min, max);
  const float width = max.mX - min.mX;
  const float height = max.mY - min.mY;
  if (!(width > 0.0f && height > 0.0f)) return rect;
  const float side = static_cast<float>(rect.GetWidth()) * height / width;
  const auto rows = static_cast<int32_t>(std::lround(std::clamp(side, 1.0f, kMaxFaceRows)));
  return UURect(rect.mLeft, rect.mTop, rect.mRight, rect.mTop + rows);
}

bool VPLObj::RenderText(const UURect& rect, const char* text, const RU3DTextStyle& style) {
  RU3DTextureCollectionFromString* strings = VPLGetServices().mStringTextures;
  if (strings == nullptr) return false;
  const UURect face = FaceRect(rect);
  if (Belongs(mTextTextureId, *strings)) {
    // The old texture goes from the meshes first, so that the map loads
    // the new text rather than keeping the old one.
    SetTexture(RU3DTextureCollectionFromString::kTextBlend, MM3DTextureHandle());
    strings->ReplaceText(mTextTextureId, face, text, CentreOf(face), style);
  } else {
    mTextTextureId = strings->AddText(face, text, CentreOf(face), style);
  }
  return ShowTextTexture();
}

bool VPLObj::RenderImage(const UURect& rect, int16_t page) {
  RU3DTextureCollectionFromCreditsScript* images = VPLGetServices().mImageTextures;
  if (images == nullptr) return false;
  if (Belongs(mTextTextureId, *images)) {
    SetTexture(RU3DTextureCollectionFromString::kTextBlend, MM3DTextureHandle());
    images->SetEntry(mTextTextureId, rect, page);
  } else {
    mTextTextureId = images->AddEntry(rect, page);
  }
  return ShowTextTexture();
}

void VPLObj::ReleaseTextTexture() {
  if (mTextTextureId == kMMNoResource) return;
  // Off the meshes first: the map forgets the texture with its last
  // handle, so a text that takes the freed place is drawn anew.
  SetTexture(RU3DTextureCollectionFromString::kTextBlend, MM3DTextureHandle());
  const VPLServices& services = VPLGetServices();
  for (RU3DTextureCollectionFromSurface* collection :
       {static_cast<RU3DTextureCollectionFromSurface*>(services.mStringTextures),
        static_cast<RU3DTextureCollectionFromSurface*>(services.mImageTextures)}) {
    if (collection != nullptr) collection->ReleaseEntry(mTextTextureId);
  }
  mTextTextureId = kMMNoResource;
}

bool VPLObj::ShowTextTexture() {
  MM3DDriverTextureMap* map = VPLGetServices().mTextureMap;
  if (mTextTextureId == kMMNoResource || map == nullptr) return false;
  MM3DTextureHandle texture = map->GetHandle(mTextTextureId, kTextTextureKey);
  map->LoadAll();
  SetTexture(RU3DTextureCollectionFromString::kTextBlend, texture);
  return true;
}
