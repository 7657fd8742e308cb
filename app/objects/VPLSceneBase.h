#pragma once
// The base of the application's 3D scenes: a camera taken from a model
// (row n of the camera script names it), the view the camera drives, the
// objects that receive the clock every frame, and one positional sound
// channel for the scene's sounds, placed relative to the camera as it
// stood when the scene was built. The act passes input and activation to
// the scene through the operations below. Stage thread only.

#include "app/objects/RU3DLogicalSoundChannel.h"
#include "app/objects/VPLPicking.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MMEvents.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DCamera.h"

#include <cstdint>
#include <memory>
#include <vector>

class MMEnclosure;
class MMView;
class VPLObj;

class VPLSceneBase : public MMScene {
 public:
  // The script whose row n holds, at byte 8, the model of camera n.
  static constexpr MMResourceId kCameraScript = 23;
  static constexpr int32_t kSoundUpdateInterval = 500;

  // The view may be null (a scene without its own view keeps the camera).
  VPLSceneBase(MMSceneServices* host, MMEnclosure* enclosure, MMView* view, int32_t cameraIndex);
  // Stops the scene sound; the listed objects are not deleted.
  ~VPLSceneBase() override;

  // The scene's keys come to OnKey.
  bool HandleKey(const MMKeyEvent& event) final { return OnKey(event); }
  virtual bool OnKey(const MMKeyEvent& /*event*/) { return false; }
  // True when the scene keeps the mouse.
  virtual bool OnMouse(const MMMouseEvent& /*event*/) { return false; }
  // The mouse left the stage.
  virtual void OnSecondaryInput() {}
  virtual void Activate();
  virtual void Deactivate();
  // The act's close request; true when the scene lets it close.
  virtual bool OnQuitRequest(bool flag) = 0;
  virtual void ReleaseActiveControl() {}
  // The clock for every listed object, in list order.
  virtual void Tick(int32_t clock);

  void AddObject(VPLObj* object);
  // Removes the first entry holding the object.
  void RemoveObject(VPLObj* object);
  // Removes every entry holding the object: a deleted object is never ticked.
  void ForgetObject(const VPLObj* object);
  bool HasObject(const VPLObj* object) const;

  void PlaySoundAtObject(const VPLObj& object, MMResourceId sound, bool loop);
  // The entry of the sound list that the application's sound set chooses.
  void PlayListSoundAtObject(const VPLObj& object, MMResourceId soundList, bool loop);
  void PlayListSound(MMResourceId soundList, bool loop);
  void PlaySoundAt(const MM3DVector& position, MMResourceId sound, bool loop);
  bool IsSoundPlaying() const;
  void StopSound();
  // Counted: the first pause pauses, the last resume resumes.
  void PauseSound();
  void ResumeSound();
  bool IsSoundPaused() const;

  // The middle of the object's bounding box, a point.
  static MM3DVector ObjectCentre(const VPLObj& object);
  // The segment under the screen point, clamped into the view.
  static VPLSegment ScreenToWorldSegment(const MMView& view, int32_t x, int32_t y);

  MMView* GetView() const { return mView; }
  MMEnclosure* GetEnclosure() const { return static_cast<MMEnclosure*>(GetUserData()); }
  const UURefCount<MM3DCamera>& GetCamera() const { return mCamera; }
  int32_t GetCameraIndex() const { return mCameraIndex; }
  // Null while the stage has no sound system.
  RU3DGenericSoundChannel* GetSceneSound() const { return mSceneSound.get(); }

 private:
  void LoadCamera();
  void BuildSceneSound();
  // The sound id of the list's entry for the sound set; -1 for none.
  static MMResourceId ListSound(MMResourceId soundList);

  std::unique_ptr<RU3DGenericSoundChannel> mSceneSound;
  UURefCount<MM3DCamera> mCamera;
  int32_t mCameraIndex;
  MMView* mView;
  std::vector<VPLObj*> mObjects;
  // While ticking, removed entries are cleared and dropped afterwards.
  bool mTicking = false;
};
