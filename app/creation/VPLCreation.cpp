#include "app/creation/VPLCreation.h"

#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUMemory.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"

#include <algorithm>
#include <cstdint>

namespace {

bool Erase(std::vector<VPLObjCreation*>& list, const VPLObjCreation* object) {
  const auto found = std::find(list.begin(), list.end(), object);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

bool Holds(const std::vector<VPLObjCreation*>& list, const VPLObjCreation* object) {
  return std::find(list.begin(), list.end(), object) != list.end();
}

VPLObjCreation* CharacterAmong(const VPLObjCreation* object) {
  const auto* group = dynamic_cast<const VPLObjCreationGroup*>(object);
  for (int32_t i = 0; group != nullptr && i < group->GetChildCount(); ++i) {
    VPLObjCreation* child = group->GetChild(i);
    VPLObjCreation* found = child->GetType() == kVPLObjCreationChar ? child : CharacterAmong(child);
    if (found != nullptr) return found;
  }
  return nullptr;
}

}  // namespace

VPLCreation::VPLCreation(VPLSceneBase* scene, const UURefCount<MM3DCamera>& camera)
    : mScene(scene),
      mCamera(std::make_unique<VPLCreationCamera>(scene != nullptr ? scene->GetView() : nullptr,
                                                  camera)),
      mWriteDatabase(std::make_unique<MM3DCompiledTextureModDatabase>()) {
  ReadSettings();
  NewWorkBuffer(kWorkBufferSize);
  UpdateBounds();
}

VPLCreation::~VPLCreation() {
  DeleteAll();
  if (mCharacter != nullptr) Delete(std::exchange(mCharacter, nullptr));
}

void VPLCreation::ReadSettings() {
  const VPLScript settings(kSettingsScript, kVPLUntaggedTable);
  mDefaultGround = settings.FindTag(kGroundTag) >= 0 && settings.GetTagInt16(kGroundTag) != 0;
  mDefaultBackground = settings.FindTag(kBackgroundTag) >= 0
                           ? static_cast<int16_t>(settings.GetTagInt32(kBackgroundTag))
                           : int16_t{0};
  mGround = mDefaultGround;
  mBackground = mDefaultBackground;
}

bool VPLCreation::IsEmpty() const {
  return mUserObjects.empty() && mGroups.empty() && mCharacter == nullptr;
}

std::vector<VPLObjCreation*> VPLCreation::AllObjects() const {
  std::vector<VPLObjCreation*> all(mUserObjects);
  all.insert(all.end(), mGroups.begin(), mGroups.end());
  if (mCharacter != nullptr) all.push_back(mCharacter);
  return all;
}

VPLObjCreation* VPLCreation::FindCharacter() const {
  if (mCharacter != nullptr) return mCharacter;
  for (const VPLObjCreation* group : mGroups) {
    if (VPLObjCreation* found = CharacterAmong(group)) return found;
  }
  return nullptr;
}

bool VPLCreation::AddObject(VPLObjCreation* object) {
  object->SetCreation(this);
  object->SetVisibility(kMMShown);
  switch (object->GetType()) {
    case kVPLObjCreationUser:
      mUserObjects.push_back(object);
      mModified = true;
      break;
    case kVPLObjCreationGroup:
      mGroups.push_back(object);
      mModified = true;
      break;
    default:
      if (mCharacter != nullptr) break;
      mCharacter = object;
      // Picking always tests the character's meshes: its parts move it.
      mCharacter->IncrementBusy();
      break;
  }
  UpdateBounds();
  return true;
}

bool VPLCreation::AddObjectAt(VPLObjCreation* object, const MM3DVector& position) {
  object->SetLocation(position);
  return AddObject(object);
}

bool VPLCreation::Unlink(VPLObjCreation* object) {
  Erase(mRemovalQueue, object);
  switch (object->GetType()) {
    case kVPLObjCreationUser:
      return Erase(mUserObjects, object);
    case kVPLObjCreationGroup:
      if (!Erase(mGroups, object)) return false;
      if (mCurrentGroup == object) mCurrentGroup = nullptr;
      return true;
    default:
      if (mCharacter != object) return false;
      mCharacter = nullptr;
      return true;
  }
}

void VPLCreation::Delete(VPLObjCreation* object) {
  object->Detach();
  delete object;
}

bool VPLCreation::RemoveObject(VPLObjCreation* object) {
  const VPLObjCreationType type = object->GetType();
  if (type != kVPLObjCreationUser && type != kVPLObjCreationGroup) {
    if (object != mCharacter) return false;
    Erase(mRemovalQueue, object);
    object->Reset();
  } else {
    const bool wasCurrent = object == mCurrentGroup;
    if (!Unlink(object)) return false;
    Delete(object);
    if (wasCurrent && !mGroups.empty()) mCurrentGroup = mGroups.back();
  }
  UpdateBounds();
  mModified = true;
  return true;
}

VPLObjCreation* VPLCreation::MakeCharacter(const UURefCount<MM3DModel>& model) {
  return new VPLObjCreationChar(mScene, model, this);
}

bool VPLCreation::IsQueued(const VPLObjCreation* object) const {
  return Holds(mRemovalQueue, object);
}

void VPLCreation::QueueRemoval(VPLObjCreation* object) {
  if (!IsQueued(object)) mRemovalQueue.push_back(object);
}

void VPLCreation::DetachObject(VPLObjCreation* object) { Unlink(object); }

void VPLCreation::SelectGroup(VPLObjCreation* group) {
  if (group->GetType() != kVPLObjCreationGroup || !Holds(mGroups, group)) return;
  for (VPLObjCreation* each : mGroups) each->SetHighlight(false, MM3DColor{0, 0, 0, 0});
  mCurrentGroup = group;
  group->SetHighlight(true, kGroupTint);
}

VPLObjCreation* VPLCreation::PickObject(const MM3DVector& start, const MM3DVector& end,
                                        MM3DVector* hit, VPLVertexHolder* vertex) const {
  VPLObjCreation* best = nullptr;
  float bestDistance = 0.0f;
  MM3DVector bestHit(0.0f, 0.0f, 0.0f, 1.0f);
  VPLVertexHolder bestVertex;
  for (VPLObjCreation* object : AllObjects()) {
    if (!object->IntersectsBounds(start, end)) continue;
    MM3DVector point(0.0f, 0.0f, 0.0f, 1.0f);
    VPLVertexHolder corner;
    if (!object->PickRay(start, end, point, &corner)) continue;
    const float distance = point.Direction(start).LengthSquared();
    if (best != nullptr && !(distance < bestDistance)) continue;
    best = object;
    bestDistance = distance;
    bestHit = point;
    bestVertex = corner;
  }
  if (best != nullptr && hit != nullptr) *hit = bestHit;
  if (best != nullptr && vertex != nullptr) *vertex = bestVertex;
  return best;
}

void VPLCreation::UpdateBounds() {
  MM3DVector low(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector high(0.0f, 0.0f, 0.0f, 1.0f);
  bool first = true;
  for (const VPLObjCreation* object : AllObjects()) {
    MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
    MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
    object->GetBounds(min, max);
    if (first) {
      low = min;
      high = max;
      first = false;
      continue;
    }
    low = MM3DVector(std::min(low.mX, min.mX), std::min(low.mY, min.mY), std::min(low.mZ, min.mZ),
                     low.mW);
    high = MM3DVector(std::max(high.mX, max.mX), std::max(high.mY, max.mY),
                      std::max(high.mZ, max.mZ), high.mW);
  }
  mBounds = std::make_unique<VPLBoundingBox>(low.mX, low.mY, low.mZ, high.mX, high.mY, high.mZ);
}

void VPLCreation::Tick(int32_t clock) {
  // Removing may queue nothing new, but take the queue first all the same.
  const std::vector<VPLObjCreation*> queued = std::move(mRemovalQueue);
  mRemovalQueue.clear();
  for (VPLObjCreation* object : queued) RemoveObject(object);
  for (VPLObjCreation* object : AllObjects()) object->Tick(clock);
}

void VPLCreation::DeleteAll() {
  mRemovalQueue.clear();
  for (VPLObjCreation* object : mUserObjects) Delete(object);
  for (VPLObjCreation* object : mGroups) Delete(object);
  mUserObjects.clear();
  mGroups.clear();
  mCurrentGroup = nullptr;
}

void VPLCreation::Clear() {
  DeleteAll();
  if (mCharacter != nullptr) mCharacter->Reset();
  SetGround(mDefaultGround);
  mBackground = mDefaultBackground;
  UpdateBounds();
  mCamera->ResetEye();
  NewWorkBuffer(kWorkBufferSize);
}

void VPLCreation::ClearModified() {
  Clear();
  mModified = false;
}

void VPLCreation::ClearAsModified() {
  Clear();
  mModified = true;
}

void VPLCreation::SetGround(bool on) {
  if (on != mGround) mModified = true;
  mGround = on;
}

void VPLCreation::SetBackground(int16_t index) {
  if (index != mBackground) mModified = true;
  mBackground = index;
}

template <typename Move>
void VPLCreation::MoveCamera(Move move) {
  move(*mCamera);
  mModified = true;
}

void VPLCreation::OrbitCameraNegative(float angle) {
  MoveCamera([angle](VPLCreationCamera& rig) { rig.Orbit(angle); });
}
void VPLCreation::OrbitCameraPositive(float angle) {
  MoveCamera([angle](VPLCreationCamera& rig) { rig.OrbitOpposite(angle); });
}
void VPLCreation::OrbitCameraQuarterNegative() {
  MoveCamera([](VPLCreationCamera& rig) { rig.QuarterTurnNegative(); });
}
void VPLCreation::OrbitCameraQuarterPositive() {
  MoveCamera([](VPLCreationCamera& rig) { rig.QuarterTurnPositive(); });
}
void VPLCreation::RaiseCamera(float amount) {
  MoveCamera([amount](VPLCreationCamera& rig) { rig.Raise(amount); });
}
void VPLCreation::LowerCamera(float amount) {
  MoveCamera([amount](VPLCreationCamera& rig) { rig.Lower(amount); });
}
void VPLCreation::ResetCamera() {
  MoveCamera([](VPLCreationCamera& rig) { rig.ResetEye(); });
}
void VPLCreation::ZoomCameraIn(float distance) {
  MoveCamera([distance](VPLCreationCamera& rig) { rig.Zoom(distance); });
}
void VPLCreation::ZoomCameraOut(float distance) {
  MoveCamera([distance](VPLCreationCamera& rig) { rig.ZoomOut(distance); });
}
