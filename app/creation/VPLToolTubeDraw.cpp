#include "app/creation/VPLToolTubeDraw.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLEdge.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DSceneChanges.h"

#include <algorithm>
#include <cmath>

namespace {

const MM3DPackedColor kWhite{255, 255, 255, 255};
const MM3DVector kUp{0.0f, 1.0f, 0.0f, 0.0f};
const MM3DTextureCoordinate kOrigin{0.0f, 0.0f};
constexpr float kThird = 0.33333334f;

// Plain arithmetic in place: a ring runs these dozens of times.
float Length(const MM3DVector& v) { return std::sqrt(v.mX * v.mX + v.mY * v.mY + v.mZ * v.mZ); }

// A zero vector has no direction: the normal then points up.
MM3DVector Unit(const MM3DVector& v) {
  const float length = Length(v);
  if (!(length > 0.0f)) return kUp;
  const float inverse = 1.0f / length;
  return {v.mX * inverse, v.mY * inverse, v.mZ * inverse, 0.0f};
}

// (c - a) x (b - a): the face normal's direction.
MM3DVector FaceDirection(const MM3DVector& a, const MM3DVector& b, const MM3DVector& c) {
  const float ux = c.mX - a.mX, uy = c.mY - a.mY, uz = c.mZ - a.mZ;
  const float vx = b.mX - a.mX, vy = b.mY - a.mY, vz = b.mZ - a.mZ;
  return {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx, 0.0f};
}

// Every array as long as the positions: a profile without colours is
// white, without coordinates mapped at the origin, without normals facing
// up.
template <typename T>
void FillTo(UUGrowableArray<T>& array, int32_t count, const T& value) {
  while (array.Count() < count) array.Append(value);
  array.EraseRange(count, array.Count());
}

void AppendVertex(MM3DIndexedMeshVertexData& block, const MM3DVector& position,
                  const MM3DVector& normal, const MM3DPackedColor& color,
                  const MM3DTextureCoordinate& coordinate) {
  block.mPositions.Append(position);
  block.mNormals.Append(normal);
  block.mColors.Append(color);
  block.mTextureCoordinates[0].Append(coordinate);
}

int32_t SlotAt(const std::vector<int32_t>& slots, int32_t i) {
  return slots[static_cast<size_t>(i)];
}

MM3DDriverTextureMap* TextureMapOf(const VPLSceneCreationArea* area) {
  MMStage* stage = area != nullptr ? area->GetStage() : nullptr;
  return stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
}

}  // namespace

VPLToolTubeDraw::VPLToolTubeDraw(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                                 MMResourceId soundScript)
    : VPLTool(view, creation, area, soundScript) {
  SetCursors(kCursor, kCursor);
}

VPLToolTubeDraw::~VPLToolTubeDraw() = default;

int16_t VPLToolTubeDraw::ProfileRow() const {
  return static_cast<int16_t>(mArea->GetToolOption() * kSizesPerOption + mArea->GetDrawSize());
}

MM3DIndexedMeshVertexData* VPLToolTubeDraw::FirstBlock() const {
  if (mProfileMeshNode == nullptr || mProfileMeshNode->GetPartCount() == 0) return nullptr;
  const MM3DVertexDataBlocks& blocks = mProfileMeshNode->GetPart(0).mBlocks;
  return blocks.Count() > 0 ? blocks[0].Get() : nullptr;
}

bool VPLToolTubeDraw::OnMouse(const VPLPickEvent& event) {
  const bool alternate = event.Has(kVPLAlternate);
  UpdateCursor(alternate);
  const auto segment = [&] { return VPLScreenToWorldSegment(*mView, event.mX, event.mY, false); };
  if (event.Has(kVPLPress) && !mEngaged) {
    mEngaged = true;
    Begin(segment(), alternate);
  } else if (mEngaged && event.Has(kVPLRelease)) {
    mEngaged = false;
    End(segment(), alternate);
  } else if (mEngaged && event.Has(kVPLHeld)) {
    Drag(segment(), alternate);
  }
  return mEngaged;
}

void VPLToolTubeDraw::Begin(const VPLSegment& segment, bool alternate) {
  mFirstRingPending = true;
  mCapped = false;
  mVRunning = 0.0f;
  mRingCount = 0;
  mTube.reset();
  ForgetProfile();
  MM3DVector hit;
  if (mArea == nullptr || !mPlane.Face(mArea->GetCamera()->GetPosition()) ||
      !mPlane.Intersect(segment, hit) || !LoadProfile()) {
    mEngaged = false;
    return;
  }
  mStartPoint = {hit.mX, hit.mY, hit.mZ, 1.0f};
  mLastRingPoint = mStartPoint;
  mTube->SetLocation(mStartPoint);
  if (VPLMaterializer* materializer = mArea->GetMaterializer()) materializer->Apply(mTube.get());
  mTube->SetVisibility(kMMHidden);
  SoundBegin(mStartPoint, alternate);
}

bool VPLToolTubeDraw::LoadProfile() {
  const VPLScript script(kProfileScript, kProfileScriptKind);
  const int16_t row = ProfileRow();
  if (row < 0 || row >= script.CountTag(kModelTag)) return false;
  const auto id = static_cast<MMResourceId>(script.GetTagUInt32(kModelTag, 0, row));
  if (script.FindTag(kSmoothTag, 0, row) >= 0) {
    mSmooth = script.GetTagInt16(kSmoothTag, 0, row) != 0;
  }
  const UURefCount<MM3DModel> model = MM3DGetModel(id, TextureMapOf(mArea));
  MM3DDisplayTreeNode* root = model ? model->GetDisplayTree() : nullptr;
  mProfileMeshNode = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
      root != nullptr ? root->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown) : nullptr);
  MM3DIndexedMeshVertexData* block = FirstBlock();
  // A profile must be one closed loop of at least three points that its
  // own vertices hold, and small enough to count its slots in 16 bits.
  const std::vector<int32_t> outline =
      block != nullptr ? VPLEdgeOutline(block->mIndices) : std::vector<int32_t>{};
  const int32_t count = block != nullptr ? block->GetVertexCount() : 0;
  if (outline.empty() || 3 * outline.size() > INT16_MAX ||
      std::any_of(outline.begin(), outline.end(), [count](int32_t v) { return v >= count; })) {
    ForgetProfile();
    return false;
  }
  mBlock = block;
  mSlotCount = static_cast<int16_t>(3 * outline.size());
  for (const int32_t vertex : outline) {
    for (int32_t s = 0; s < 3; ++s) {
      mSlotVertices.push_back(vertex);
      mProfile.push_back(block->mPositions[vertex]);
    }
  }
  mRing.assign(mProfile.size(), {});
  mPreviousCopies.assign(mProfile.size(), 0);
  mTube = std::make_unique<VPLObjCreationUser>(mArea, model, mCreation);
  return true;
}

void VPLToolTubeDraw::ForgetProfile() {
  mProfileMeshNode = nullptr;
  mBlock = nullptr;
  mSlotCount = 0;
  mProfile.clear();
  mRing.clear();
  mSlotVertices.clear();
  mPreviousCopies.clear();
}

float VPLToolTubeDraw::StrokeAngle(const MM3DVector& d) const {
  MM3DVector flat = mPlane.TurnOnto(d);
  flat.mZ = 0.0f;
  const MM3DVector unit = Unit(flat);
  // Rounding may carry the cosine a hair past 1.
  const float angle = std::acos(std::clamp(unit.mX, -1.0f, 1.0f));
  return unit.mY < 0.0f ? -angle : angle;
}

VPLToolTubeDraw::RingPlacement VPLToolTubeDraw::Placement(float angle, const MM3DVector& h) const {
  return {std::cos(angle), std::sin(angle), h.Direction(mStartPoint)};
}

MM3DVector VPLToolTubeDraw::PlaceOnRing(const MM3DVector& point,
                                        const RingPlacement& placement) const {
  const float c = placement.mCos;
  const float s = placement.mSin;
  const MM3DVector along{point.mX * c - point.mY * s, point.mX * s + point.mY * c, point.mZ,
                         point.mW};
  const MM3DVector unturned = mPlane.TurnBack(along);
  const MM3DVector& move = placement.mMove;
  return {unturned.mX + move.mX, unturned.mY + move.mY, unturned.mZ + move.mZ, 1.0f};
}

bool VPLToolTubeDraw::HasRoomForRing() const {
  // Copies and new slots for the ring, then the end cone's copies and tip.
  const int32_t needed = 2 * mSlotCount + mSlotCount + 1;
  return Block()->GetVertexCount() + needed <= MM3DIndexedMeshVertexData::kMaxVertexCount - 1;
}

void VPLToolTubeDraw::Drag(const VPLSegment& segment, bool alternate) {
  if (Block() == nullptr) {
    mEngaged = false;
    ForgetProfile();
    return;
  }
  MM3DVector hit;
  if (!mPlane.Intersect(segment, hit) || mCapped) return;
  const MM3DVector h{hit.mX, hit.mY, hit.mZ, 1.0f};
  const MM3DVector d = h.Direction(mLastRingPoint);
  if (!(Length(d) > kRingSpacing)) return;
  if (!mFirstRingPending && !HasRoomForRing()) {
    mCapped = true;
    return;
  }
  ++mRingCount;
  const RingPlacement placement = Placement(StrokeAngle(d), h);
  for (size_t s = 0; s < mProfile.size(); ++s) mRing[s] = PlaceOnRing(mProfile[s], placement);
  if (mFirstRingPending) {
    BuildFirstRing(placement, d);
  } else {
    BuildLaterRing();
    mTube->SetVisibility(kMMShown);
    mLastRingPoint = h;
  }
  if (mRingCount >= kMaxRings) mCapped = true;
  // The tube's block grew under its mesh: a new frame to draw.
  MM3DSceneChanges::Note();
  SoundDrag(h, alternate);
}

void VPLToolTubeDraw::BuildFirstRing(const RingPlacement& placement, const MM3DVector& d) {
  MM3DIndexedMeshVertexData& block = *Block();
  const int32_t count = block.GetVertexCount();
  // The profile's own face now closes the tube at its first ring.
  for (int32_t v = 0; v < count; ++v)
    block.mPositions[v] = PlaceOnRing(block.mPositions[v], placement);
  if (block.mColors.Count() == 0) FillTo(block.mColors, count, kWhite);
  mColor = block.mColors.Count() > 0 ? block.mColors[0] : kWhite;
  FillTo(block.mColors, count, mColor);
  FillTo(block.mNormals, count, kUp);
  FillTo(block.mTextureCoordinates[0], count, kOrigin);
  FillTo(block.mTextureCoordinates[1], 0, kOrigin);
  AppendVertex(block, {0.0f, 0.0f, 0.0f, 1.0f}, Unit({-d.mX, -d.mY, -d.mZ, 0.0f}), mColor,
               {0.5f, mVRunning + 0.5f});
  BuildStartCone(count);
  mFirstRingPending = false;
}

void VPLToolTubeDraw::BuildStartCone(int32_t tip) {
  const int32_t n = mSlotCount / 3;
  const float slots = static_cast<float>(mSlotCount);
  // A fan to every outline point but the last, closed from n - 2 to 0.
  for (int32_t k = 0; k <= n - 2; ++k) {
    const int32_t next = k == n - 2 ? mSlotVertices[0] : SlotAt(mSlotVertices, 3 * (k + 1));
    const int32_t here = SlotAt(mSlotVertices, 3 * k);
    AddFacet(next, tip, here, true, false, true);
    SetCorner(next, static_cast<float>(3 * k) / slots, mVRunning);
    SetCorner(here, static_cast<float>(3 * k + 3) / slots, mVRunning);
  }
}

void VPLToolTubeDraw::BuildLaterRing() {
  MM3DIndexedMeshVertexData& block = *Block();
  for (size_t s = 0; s < mSlotVertices.size(); ++s) {
    VPLDuplicateVertex(mSlotVertices[s], block, mPreviousCopies[s], 0);
  }
  const MM3DVector normal = block.mNormals[0];
  const MM3DTextureCoordinate coordinate = block.mTextureCoordinates[0][0];
  for (size_t s = 0; s < mSlotVertices.size(); ++s) {
    mSlotVertices[s] = block.GetVertexCount();
    AppendVertex(block, mRing[s], normal, mColor, coordinate);
  }
  const int32_t n = mSlotCount / 3;
  for (int32_t k = 0; k <= n - 2; ++k) BuildSides(k, k == n - 2 ? 0 : k + 1);
  mVRunning += 0.5f;
  if (!mSmooth) return;
  SmoothRing(mSlotVertices);
  SmoothRing(mPreviousCopies);
}

void VPLToolTubeDraw::BuildSides(int32_t k, int32_t next) {
  const auto prev = [&](int32_t point, int32_t s) {
    return SlotAt(mPreviousCopies, 3 * point + s);
  };
  const auto now = [&](int32_t point, int32_t s) { return SlotAt(mSlotVertices, 3 * point + s); };
  const float step = 3.0f / static_cast<float>(mSlotCount);
  const float u = static_cast<float>(3 * k + 1) * step;
  const float uNext = static_cast<float>(3 * k + 4) * step;
  const float va = mVRunning;
  const float vb = mVRunning + 0.5f;
  AddFacet(prev(k, 2), now(k, 1), prev(next, 0), true, true, true);
  SetCorner(prev(k, 2), u, va);
  SetCorner(now(k, 1), u, vb);
  SetCorner(prev(next, 0), uNext, va);
  AddFacet(prev(next, 1), now(k, 2), now(next, 0), true, true, true);
  SetCorner(prev(next, 1), uNext, va);
  SetCorner(now(k, 2), u, vb);
  SetCorner(now(next, 0), uNext, vb);
}

void VPLToolTubeDraw::SmoothRing(const std::vector<int32_t>& slots) {
  MM3DIndexedMeshVertexData& block = *Block();
  for (size_t k = 0; k + 2 < slots.size(); k += 3) {
    MM3DVector sum{0.0f, 0.0f, 0.0f, 0.0f};
    for (size_t s = k; s < k + 3; ++s) {
      const MM3DVector& n = block.mNormals[slots[s]];
      sum = {sum.mX + n.mX, sum.mY + n.mY, sum.mZ + n.mZ, 0.0f};
    }
    const MM3DVector average = Unit({sum.mX * kThird, sum.mY * kThird, sum.mZ * kThird, 0.0f});
    for (size_t s = k; s < k + 3; ++s) block.mNormals[slots[s]] = average;
  }
}

void VPLToolTubeDraw::AddFacet(int32_t a, int32_t b, int32_t c, bool onFirst, bool onSecond,
                               bool onThird) {
  MM3DIndexedMeshVertexData& block = *Block();
  for (const int32_t v : {a, b, c}) block.mIndices.Append(static_cast<uint16_t>(v));
  const MM3DVector normal =
      Unit(FaceDirection(block.mPositions[a], block.mPositions[b], block.mPositions[c]));
  if (onFirst) block.mNormals[a] = normal;
  if (onSecond) block.mNormals[b] = normal;
  if (onThird) block.mNormals[c] = normal;
  block.mColors[a] = block.mColors[b] = block.mColors[c] = mColor;
}

void VPLToolTubeDraw::SetCorner(int32_t vertex, float u, float v) {
  Block()->mTextureCoordinates[0][vertex] = {u, v};
}

void VPLToolTubeDraw::BuildEndCone(const MM3DVector& r) {
  MM3DIndexedMeshVertexData& block = *Block();
  for (int32_t& slot : mSlotVertices) VPLDuplicateVertex(slot, block, slot, 0);
  const int32_t tip = block.GetVertexCount();
  const MM3DVector local = r.Direction(mStartPoint);
  AppendVertex(block, {local.mX, local.mY, local.mZ, 1.0f}, Unit(local), block.mColors[0],
               {0.5f, mVRunning + 0.5f});
  const int32_t n = mSlotCount / 3;
  const float slots = static_cast<float>(mSlotCount);
  for (int32_t k = 0; k <= n - 2; ++k) {
    const int32_t here = SlotAt(mSlotVertices, 3 * k + 2);
    const int32_t next = k == n - 2 ? mSlotVertices[0] : SlotAt(mSlotVertices, 3 * (k + 1));
    AddFacet(here, tip, next, true, false, true);
    SetCorner(here, static_cast<float>(9 * k) / slots, mVRunning);
    SetCorner(next, static_cast<float>(9 * k + 9) / slots, mVRunning);
  }
}

void VPLToolTubeDraw::End(const VPLSegment& segment, bool alternate) {
  MM3DVector hit;
  const bool onPlane = mPlane.Intersect(segment, hit);
  MM3DVector r = onPlane ? MM3DVector{hit.mX, hit.mY, hit.mZ, 1.0f} : mLastRingPoint;
  // No ring, or a release where the press was: nothing to keep, on the
  // plane or off it.
  const bool unmoved = onPlane && r.Equals(mStartPoint) && r.Equals(mLastRingPoint);
  if (unmoved || Block() == nullptr || mFirstRingPending) {
    mTube.reset();
  } else if (onPlane) {
    if (mCapped) r = mLastRingPoint;
    BuildEndCone(r);
  }
  SoundEnd(r, alternate);
  ForgetProfile();
  FinishTube();
}

void VPLToolTubeDraw::FinishTube() {
  if (!mTube) return;
  mTube->SetCreation(mCreation);
  mTube->RefreshBounds();
  MarkChanged();
  VPLObjCreationUser* tube = mTube.release();
  if (!mCreation->AddObject(tube)) delete tube;
}
