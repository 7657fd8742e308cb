#include "app/objects/VPLSceneBase.h"

#include "app/objects/VPLObj.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUOwned.h"
#include "media/sound/MMSoundGroup.h"
#include "mm/resources/MMScript.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMView.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>

namespace {

constexpr int16_t kCameraModelOffset = 8;
constexpr int16_t kListSoundOffset = 0;
const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

// What a scene whose camera model has no camera looks through: the eye at
// the origin looking along -z.
UURefCount<MM3DCamera> DefaultCamera() {
  return UURefCount<MM3DCamera>(
      new MM3DCamera(kOrigin, UUOwned<MM3DVector>(new MM3DVector(0.0f, 0.0f, -1.0f, 1.0f)), 0.0f));
}

// The camera's interest, or a point ahead of its eye when it has none.
MM3DVector FacingPoint(const MM3DCamera& camera) {
  if (camera.GetInterest() != nullptr) return *camera.GetInterest();
  return camera.GetPosition().Sum(camera.GetViewDirection());
}

}  // namespace

VPLSceneBase::VPLSceneBase(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                           int32_t cameraIndex)
    : MMScene(host, enclosure), mCameraIndex(cameraIndex), mView(view) {
  LoadCamera();
  BuildSceneSound();
}

VPLSceneBase::~VPLSceneBase() {
  StopSound();
  mSceneSound.reset();
  mObjects.clear();
}

void VPLSceneBase::LoadCamera() {
  const MMScript cameras(kCameraScript);
  const auto modelId =
      static_cast<MMResourceId>(cameras.GetUInt32(mCameraIndex, kCameraModelOffset));
  const UURefCount<MM3DModel> model = cameras.GetRowCount() > mCameraIndex && mCameraIndex >= 0
                                          ? MM3DGetModel(modelId, GetStage()->GetTextureMap())
                                          : UURefCount<MM3DModel>();
  mCamera = model && model->HasCameras() ? model->GetCameras().Front() : DefaultCamera();
  if (mView == nullptr) return;
  MM3DMatrix viewMatrix;
  mCamera->GetViewMatrix(viewMatrix);
  mView->UpdateViewMatrix(viewMatrix);
}

void VPLSceneBase::BuildSceneSound() {
  auto* group = dynamic_cast<MMSoundGroup*>(GetSoundGroup());
  if (group == nullptr) return;
  mSceneSound = std::make_unique<RU3DGenericSoundChannel>(
      group, mCamera->GetPosition(), FacingPoint(*mCamera), kOrigin, kSoundUpdateInterval);
}

void VPLSceneBase::Activate() {
  if (mView != nullptr) mView->SetVisibility(kMMShown);
}

void VPLSceneBase::Deactivate() {
  if (IsSoundPlaying()) StopSound();
  if (mView != nullptr) mView->SetVisibility(kMMHidden);
}

void VPLSceneBase::Tick(int32_t clock) {
  mTicking = true;
  for (size_t i = 0; i < mObjects.size(); ++i) {
    if (mObjects[i] != nullptr) mObjects[i]->Tick(clock);
  }
  mTicking = false;
  std::erase(mObjects, nullptr);
}

void VPLSceneBase::AddObject(VPLObj* object) { mObjects.push_back(object); }

void VPLSceneBase::RemoveObject(VPLObj* object) {
  const auto entry = std::find(mObjects.begin(), mObjects.end(), object);
  if (entry == mObjects.end()) return;
  if (mTicking) {
    *entry = nullptr;
  } else {
    mObjects.erase(entry);
  }
}

void VPLSceneBase::ForgetObject(const VPLObj* object) {
  if (mTicking) {
    std::replace(mObjects.begin(), mObjects.end(), const_cast<VPLObj*>(object),
                 static_cast<VPLObj*>(nullptr));
  } else {
    std::erase(mObjects, object);
  }
}

bool VPLSceneBase::HasObject(const VPLObj* object) const {
  return std::find(mObjects.begin(), mObjects.end(), object) != mObjects.end();
}

void VPLSceneBase::PlaySoundAtObject(const VPLObj& object, MMResourceId sound, bool loop) {
  PlaySoundAt(ObjectCentre(object), sound, loop);
}

MMResourceId VPLSceneBase::ListSound(MMResourceId soundList) {
  const MMScript list(soundList);
  const int32_t n = VPLGetServices().GetSoundSetIndex();
  if (n < 0 || list.GetRowCount() < n + 1) return kMMNoResource;
  return static_cast<MMResourceId>(list.GetUInt32(n, kListSoundOffset));
}

void VPLSceneBase::PlayListSoundAtObject(const VPLObj& object, MMResourceId soundList, bool loop) {
  const MMResourceId sound = ListSound(soundList);
  if (sound != kMMNoResource) PlaySoundAtObject(object, sound, loop);
}

void VPLSceneBase::PlayListSound(MMResourceId soundList, bool loop) {
  const MMResourceId sound = ListSound(soundList);
  if (sound != kMMNoResource) PlaySoundAt(kOrigin, sound, loop);
}

void VPLSceneBase::PlaySoundAt(const MM3DVector& position, MMResourceId sound, bool loop) {
  if (mSceneSound) mSceneSound->PlayAt(position, MMSoundReference(sound), loop);
}

bool VPLSceneBase::IsSoundPlaying() const {
  return mSceneSound && mSceneSound->GetChannel().IsPlaying();
}

void VPLSceneBase::StopSound() {
  if (mSceneSound) mSceneSound->Stop();
}

void VPLSceneBase::PauseSound() {
  if (mSceneSound) mSceneSound->GetChannel().Pause();
}

void VPLSceneBase::ResumeSound() {
  if (mSceneSound) mSceneSound->GetChannel().Resume();
}

bool VPLSceneBase::IsSoundPaused() const {
  return mSceneSound && mSceneSound->GetChannel().GetPauseCount() != 0;
}

MM3DVector VPLSceneBase::ObjectCentre(const VPLObj& object) {
  MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
  object.GetBounds(min, max);
  return MM3DVector((min.mX + max.mX) / 2, (min.mY + max.mY) / 2, (min.mZ + max.mZ) / 2, 1.0f);
}

VPLSegment VPLSceneBase::ScreenToWorldSegment(const MMView& view, int32_t x, int32_t y) {
  return VPLScreenToWorldSegment(view, x, y, false);
}
